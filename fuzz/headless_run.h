// Whole headless runs inside one process, for the fuzzer and the soak: start-up once, then
// any number of runs, each from the state the start-up left.
#pragma once

#include <cstdint>
#include <string>

#include "app/data.h"
#include "app/main_loop.h"
#include "app/options.h"
#include "app/sound_startup.h"
#include "core/globals.h"
#include "core/random.h"
#include "platform/host.h"

inline GameGlobals* StartState = nullptr;  // the state after start-up, restored before each run

// Start-up: pictures and tunes from dataDir (a build folder holding Graph/ and Sound/), sound
// silent, the score file in scoreFolder.
inline void StartHeadless(const std::string& dataDir, const std::string& scoreFolder) {
    std::string data = dataDir;
    char* argv[] = {(char*)"murko",  (char*)"--headless", (char*)"--mute",
                    (char*)"--data", data.data(),         nullptr};
    ParseOptions(5, argv);
    HostUse(HeadlessBackend());
    HostOpen(Options.host);
    int16_t keys[8];
    HostGetDefaultKeys(keys);
    for (int i = 0; i < 8; i++) G.KeyList[i] = KeyListEntry{keys[i], 0, 0};
    G.TapConsumed = 1;
    G.DisplayBpp = 16;
    G.DisplayXPitch = 2;
    G.DisplayYPitch = 480;
    BuildDataPaths();
    G.ProgramFolder = scoreFolder;
    InitSound();
    LoadResources();
    StartState = new GameGlobals(G);
}

// A new run from the start-up state, with the game's random sequence seeded.
inline void RestartRun(uint32_t seed) {
    G = *StartState;
    Srand(seed);
    G.FrameCount = 0;
    G.QuitRequested = 0;
    StartFrameTimer();
}

// One frame through the real frame loop; false once the run has quit.
inline bool RunOneFrame() {
    Options.frames = long(G.FrameCount) + 1;
    RunFrames();
    return G.QuitRequested == 0;
}
