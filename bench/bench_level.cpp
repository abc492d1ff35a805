// Speed of maze generation and level setup; "--one-level-9 [SEED]" builds one level 9 and exits.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>

#include "core/globals.h"
#include "core/random.h"
#include "game/level.h"
#include "game/maze.h"

constexpr int LastSizeStep = 8;  // 0-based level from which every maze is 100 x 100 (shown as level 9)

// One maze of range(0) x range(0) cells, a new seed each time.
static void BM_GenerateMaze(benchmark::State& state) {
    G.MazeWidth = int16_t(state.range(0));
    G.MazeHeight = int16_t(state.range(0));
    uint32_t seed = 1;
    for (auto _ : state) {
        Srand(seed++);
        GenerateMaze();
        benchmark::DoNotOptimize(G.MazeGrid);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GenerateMaze)->Arg(20)->Arg(100);

// A whole level 9: maze, 381 items, 150 spiders and the hero.
static void BM_BuildLevel9(benchmark::State& state) {
    uint32_t seed = 1;
    for (auto _ : state) {
        Srand(seed++);
        G.Level = LastSizeStep;
        BuildLevel();
        benchmark::DoNotOptimize(G.SpiderTable);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_BuildLevel9);

int main(int argc, char** argv) {
    if (argc >= 2 && strcmp(argv[1], "--one-level-9") == 0) {
        Srand(argc >= 3 ? uint32_t(strtoul(argv[2], nullptr, 10)) : 1u);
        G.Level = LastSizeStep;
        BuildLevel();
        return G.MazeWidth == 100 ? 0 : 1;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
