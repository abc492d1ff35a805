// Cost of presenting one frame on each kind of panel, beside a plain copy of the back buffer.
#include <benchmark/benchmark.h>

#include <cstring>

#include "app/present.h"
#include "core/globals.h"
#include "platform/host.h"
#include "platform/panel.h"

static uint8_t CopyTarget[sizeof G.BackBuffer];  // where the reference copy goes

// A back buffer with every bit pattern in it, so no path gets an easy picture.
static void FillBackBuffer() {
    uint32_t s = 12345;
    for (uint16_t& p : G.BackBuffer) {
        s = s * 1103515245u + 12345u;
        p = uint16_t(s >> 16);
    }
}

static void BM_Copy(benchmark::State& state) {
    FillBackBuffer();
    for (auto _ : state) {
        memcpy(CopyTarget, G.BackBuffer, sizeof G.BackBuffer);
        benchmark::DoNotOptimize(CopyTarget);
        benchmark::ClobberMemory();
    }
}

static void BM_Present(benchmark::State& state, HostDisplayMode mode) {
    HostUse(HeadlessBackend());
    HostOpen(HostConfig{mode, 1, false, true});
    HostDisplayProperties p = HostGetDisplayProperties();
    G.DisplayBpp = p.bpp;
    G.DisplayXPitch = p.xPitch;
    G.DisplayYPitch = p.yPitch;
    FillBackBuffer();
    for (auto _ : state) {
        PresentFrame();
        benchmark::DoNotOptimize(PanelMemory());
        benchmark::ClobberMemory();
    }
    HostClose();
}

BENCHMARK(BM_Copy);
BENCHMARK_CAPTURE(BM_Present, rgb565, DisplayRgb565);
BENCHMARK_CAPTURE(BM_Present, rgb565_512, DisplayRgb565Row512);
BENCHMARK_CAPTURE(BM_Present, gray2, DisplayGray2);
BENCHMARK_CAPTURE(BM_Present, rotated, DisplayRotated);
BENCHMARK_CAPTURE(BM_Present, flipped, DisplayFlipped);
BENCHMARK_CAPTURE(BM_Present, gray4, DisplayGray4);

BENCHMARK_MAIN();
