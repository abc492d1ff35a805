// What a player, a test or a replay asks of one run: the command line and the settings file.
#pragma once

#include <cstdint>
#include <string>

#include "platform/host.h"

struct LaunchOptions {
    bool headless = false;       // --headless: no window, virtual clock
    bool haveSeed = false;       // --seed given
    uint32_t seed = 0;           // --seed N: random seed instead of the tick count
    std::string inputFile;       // --input FILE: input script to play
    std::string recordFile;      // --record FILE: write seed and input of this run
    std::string playFile;        // --play FILE: replay a recording
    long frames = -1;            // --frames N: stop after N frames (-1: never)
    std::string dumpFile;        // --dump-state FILE: JSON of the state after the last frame
    std::string screenshotFile;  // --screenshot FILE: PNG of the last frame
    std::string dataDir;         // --data DIR: folder holding Graph/ and Sound/
    std::string audioDriver;     // --audio DRIVER: libmikmod driver alias
    bool mute = false;           // --mute: start with sound off
    std::string resumeFile;      // --resume FILE: the suspend file (a headless run has none else)
    bool noResume = false;       // --no-resume: start at the menu, the suspend file untouched
    HostConfig host = {DisplayRgb565, 0, false,
                       false};  // --display, --scale, --fullscreen, --windowed
};

extern LaunchOptions Options;  // this run's options
