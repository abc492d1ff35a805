// Whole headless runs inside one process, for the fuzzer and the soak: start-up once, then
// any number of runs, each from the state the start-up left.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "app/frame_timer.h"
#include "app/shell.h"
#include "core/globals.h"
#include "core/random.h"

inline GameGlobals* StartState = nullptr;  // the state after start-up, restored before each run

// Start-up through the shell: the pictures and tunes of dataDir (a build folder holding Graph/
// and Sound/), sound silent, the score file in scoreFolder, which gets links to both folders.
inline void StartHeadless(const std::string& dataDir, const std::string& scoreFolder) {
    std::string folder = scoreFolder;
    std::string data = std::filesystem::absolute(dataDir).string();
    mkdir(folder.c_str(), 0700);
    for (const char* sub : {"Graph", "Sound"})
        symlink((data + "/" + sub).c_str(), (folder + "/" + sub).c_str());
    char* argv[] = {(char*)"murko",  (char*)"--headless", (char*)"--mute",
                    (char*)"--data", folder.data(),       nullptr};
    GameStart(5, argv, nullptr);
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

// One frame through the shell's loop; false once the run has quit.
inline bool RunOneFrame() {
    for (uint32_t start = G.FrameCount; G.FrameCount == start; GameRest())
        if (!GameStep()) return false;
    return G.QuitRequested == 0;
}
