// Speed of one frame of each front-end screen, with the real pictures and font, beside a
// 153,600-byte copy; run from the build folder (the pictures are looked for beside the program).
// "--frames SCREEN PAGE N" draws N frames of one screen (a ScreenState number) and exits.
#include <benchmark/benchmark.h>

#include <cstdlib>
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

// One frame of a screen (a ScreenState) with no input; page is the help page.
static void DrawScreen(int screen, int page) {
    G.TapConsumed = 1;
    G.HelpPage = int16_t(page);
    G.ScreenState = int8_t(screen);
    RunScreenHandler();
}

static void BM_ScreenFrame(benchmark::State& state) {
    LoadOnce();
    for (auto _ : state) {
        DrawScreen(int(state.range(0)), int(state.range(1)));
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

int main(int argc, char** argv) {
    if (argc == 5 && strcmp(argv[1], "--frames") == 0) {
        LoadOnce();
        for (long i = strtol(argv[4], nullptr, 10); i > 0; i--)
            DrawScreen(atoi(argv[2]), atoi(argv[3]));
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
