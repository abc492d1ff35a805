// Speed of one frame of each front-end screen, with the real pictures and font, beside a
// 153,600-byte copy; run from the build folder (the pictures are looked for beside the program).
#include <benchmark/benchmark.h>

#include <cstring>

#include "app/main_loop.h"
#include "app/shell.h"
#include "bench/copy_yardstick.h"
#include "core/globals.h"
#include "platform/host.h"

// Loads the pictures, the font and the score table once, for every screen.
static void LoadOnce() {
    static bool loaded = false;
    if (loaded) return;
    char* argv[] = {(char*)"murko", (char*)"--headless", (char*)"--mute", nullptr};
    GameStart(3, argv, nullptr);
    loaded = true;
}

// One frame of the screen range(0) names (a ScreenState), no input; range(1) is the help page.
static void BM_ScreenFrame(benchmark::State& state) {
    LoadOnce();
    G.TapConsumed = 1;
    G.HelpPage = int16_t(state.range(1));
    for (auto _ : state) {
        G.ScreenState = int8_t(state.range(0));
        RunScreenHandler();
        benchmark::DoNotOptimize(G.BackBuffer);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ScreenFrame)
    ->ArgNames({"screen", "page"})
    ->Args({ScreenMainMenu, 0})
    ->Args({ScreenLevelSelect, 0})
    ->Args({ScreenLevelComplete, 0})
    ->Args({ScreenHighScores, 0})
    ->Args({ScreenNewHighScore, 0})
    ->Args({ScreenHelp, 0})
    ->Args({ScreenHelp, 1})
    ->Args({ScreenHelp, 2});

BENCHMARK_MAIN();
