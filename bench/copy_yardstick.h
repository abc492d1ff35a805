// The yardstick of a frame's cost, shared by the frame benchmarks: one copy of the whole
// 153,600-byte back buffer.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>

#include "core/globals.h"

static void BM_CopyBackBuffer(benchmark::State& state) {
    static uint16_t copy[BackBufferPixels];
    for (auto _ : state) {
        memcpy(copy, G.BackBuffer, sizeof copy);
        benchmark::DoNotOptimize(copy);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(sizeof copy));
}
BENCHMARK(BM_CopyBackBuffer);
