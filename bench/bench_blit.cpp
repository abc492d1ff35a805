// Speed of the maze views and a line of raster text beside a plain 115,200-byte copy; prints
// ratios.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "core/globals.h"
#include "gfx/blit.h"
#include "gfx/font.h"

constexpr int ViewBytes = 240 * 240 * 2;  // the maze view, 115,200 bytes
constexpr int ScrollX = 437;              // unaligned scroll: neither axis a multiple of 20
constexpr int ScrollY = 291;

static uint8_t CopySource[ViewBytes];  // the reference copy's source
static uint8_t CopyTarget[ViewBytes];  // and its target

// Tiles with busy pixels, a 60 x 60 maze of every tile, the raster font all ink in a checker.
static void FillScene() {
    uint32_t s = 12345;
    for (auto& tile : G.TileImages)
        for (uint16_t& p : tile) {
            s = s * 1103515245u + 12345u;
            p = uint16_t(s >> 16);
        }
    G.MazeWidth = 60;
    G.MazeHeight = 60;
    for (int cx = 0; cx < 60; cx++)
        for (int cy = 0; cy < 60; cy++)
            G.MazeGrid[cx * MazeStride + cy] = int8_t((cx * 7 + cy * 3) % 8);
    for (int i = 0; i < 4096; i++) G.FontGlyphs[i] = i % 2 ? 0xAA : 0x55;
    memset(CopySource, 0x5A, sizeof CopySource);
}

static void BM_Copy115200(benchmark::State& state) {
    FillScene();
    for (auto _ : state) {
        memcpy(CopyTarget, CopySource, sizeof CopyTarget);
        benchmark::DoNotOptimize(CopyTarget);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * ViewBytes);
}
BENCHMARK(BM_Copy115200);

static void BM_DrawMazeView(benchmark::State& state) {
    FillScene();
    for (auto _ : state) {
        DrawMazeView(ScrollX, ScrollY);
        benchmark::DoNotOptimize(G.BackBuffer);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * ViewBytes);
}
BENCHMARK(BM_DrawMazeView);

static void BM_DrawMazeViewHalf(benchmark::State& state) {
    FillScene();
    for (auto _ : state) {
        DrawMazeViewHalf(ScrollX, ScrollY);
        benchmark::DoNotOptimize(G.BackBuffer);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * ViewBytes);
}
BENCHMARK(BM_DrawMazeViewHalf);

// 29 narrow characters with their shadows: the widest line that stays on screen.
static void BM_DrawFontTextLine(benchmark::State& state) {
    FillScene();
    const char* line = "The quick brown dog jumps 123";
    for (auto _ : state) {
        DrawFontText(line, 4, 150, 1, 0xFFFF);
        benchmark::DoNotOptimize(G.BackBuffer);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawFontTextLine);

// Keeps the console output and notes each benchmark's time per iteration for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double>
        nanoseconds;  // name -> CPU time per iteration (the machine may be shared)
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && run.iterations > 0)
                nanoseconds[run.benchmark_name()] =
                    run.GetAdjustedCPUTime() * ToNanoseconds(run.time_unit);
        ConsoleReporter::ReportRuns(runs);
    }
    static double ToNanoseconds(benchmark::TimeUnit unit) {
        switch (unit) {
            case benchmark::kSecond: return 1e9;
            case benchmark::kMillisecond: return 1e6;
            case benchmark::kMicrosecond: return 1e3;
            default: return 1;
        }
    }
};

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    auto copy = reporter.nanoseconds.find("BM_Copy115200");
    if (copy == reporter.nanoseconds.end() || copy->second <= 0) return 0;
    printf("\nRatios to a 115,200-byte memcpy (%.0f ns):\n", copy->second);
    for (const auto& [name, ns] : reporter.nanoseconds)
        if (name != copy->first)
            printf("  %-22s %6.2fx%s\n", name.c_str(), ns / copy->second,
                   name == "BM_DrawMazeView" ? "  (target <= 4x)" : "");
    return 0;
}
