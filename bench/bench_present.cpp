// Cost of presenting one frame on each kind of panel, beside a plain copy of the back buffer;
// "--frames PANEL N" presents N frames on that panel ("rgb565", "gray4", ...) and exits.
#include <benchmark/benchmark.h>

#include <cstdlib>
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

// The headless panel of a mode, as the game sets it up, and a busy back buffer.
static void OpenPanel(HostDisplayMode mode) {
    HostUse(HeadlessBackend());
    HostOpen(HostConfig{mode, 1, false, true});
    HostDisplayProperties p = HostGetDisplayProperties();
    G.DisplayBpp = p.bpp;
    G.DisplayXPitch = p.xPitch;
    G.DisplayYPitch = p.yPitch;
    FillBackBuffer();
}

static void BM_Present(benchmark::State& state, HostDisplayMode mode) {
    OpenPanel(mode);
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

int main(int argc, char** argv) {
    HostDisplayMode mode;
    if (argc == 4 && strcmp(argv[1], "--frames") == 0 && PanelParseMode(argv[2], &mode)) {
        OpenPanel(mode);
        for (long i = strtol(argv[3], nullptr, 10); i > 0; i--) PresentFrame();
        HostClose();
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
