// Speed of maze generation, level setup and game frames; "--one-level-9 [SEED]" builds one level 9
// and exits.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>

#include "bench/copy_yardstick.h"
#include "core/globals.h"
#include "core/random.h"
#include "game/game_frame.h"
#include "game/level.h"
#include "game/maze.h"

constexpr int LastSizeStep =
    8;  // 0-based level from which every maze is 100 x 100 (shown as level 9)

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

// One game frame at level 9 with all 150 spiders roaming; range(0) 1 shows the map. A spider that
// starts a fight is let go again at once, so every frame draws, tests and moves all 150.
static void BM_GameFrameLevel9(benchmark::State& state) {
    Srand(1);
    G.Level = LastSizeStep;
    BuildLevel();
    G.TapConsumed = 1;
    for (auto _ : state) {
        G.MapView = int16_t(state.range(0));
        GameFrame();
        if (G.FightPhase != 0) G.SpiderTable[G.FightSpider].active = 1, G.FightPhase = 0;
        G.ScreenState = ScreenGame;
        benchmark::DoNotOptimize(G.BackBuffer);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GameFrameLevel9)->Arg(0)->Arg(1);

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
