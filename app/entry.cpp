// The program's entry: options, scripted input, single instance, host, main loop and shut-down.
#include "app/entry.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "app/input_events.h"
#include "app/main_loop.h"
#include "app/options.h"
#include "app/recording.h"
#include "app/script.h"
#include "app/state_dump.h"
#include "core/globals.h"
#include "platform/host.h"

void FinishRun() {
    if (!Options.dumpFile.empty() && !WriteStateDump(Options.dumpFile.c_str()))
        fprintf(stderr, "murko: cannot write the state dump %s\n", Options.dumpFile.c_str());
    if (!Options.screenshotFile.empty() &&
        !HostWritePng(Options.screenshotFile.c_str(), G.BackBuffer, ScreenWidth, ScreenHeight))
        fprintf(stderr, "murko: cannot write the screenshot %s\n", Options.screenshotFile.c_str());
}

// Reads --input or --play; false (after a message) stops the program.
static bool LoadInputScript() {
    char message[ScriptMessageSize];
    ClearScript();
    const std::string& script = Options.playFile.empty() ? Options.inputFile : Options.playFile;
    if (!script.empty() &&
        !LoadScriptFile(script.c_str(), !Options.playFile.empty(), message, sizeof message)) {
        fprintf(stderr, "murko: %s\n", message);
        return false;
    }
    if (ScriptHasSeed) {
        Options.haveSeed = true;
        Options.seed = ScriptSeed;
    }
    return true;
}

int MurkoMain(int argc, char** argv, const HostBackend* windowBackend) {
    int exitCode = ParseOptions(argc, argv);
    if (exitCode >= 0) return exitCode;
    if (!LoadInputScript()) return 2;
    HostUse(Options.headless ? HeadlessBackend() : windowBackend);
    if (!Options.headless && !HostClaimSingleInstance()) return 0;
    if (!OpenRecording()) return 2;
    if (!HostOpen(Options.host)) {
        fprintf(stderr, "murko: cannot open the display\n");
        DropRecording();
        return 1;
    }
    int16_t keys[8];
    HostGetDefaultKeys(keys);
    for (int i = 0; i < 8; i++) G.KeyList[i] = KeyListEntry{keys[i], 0, 0};
    HostDisplayProperties display = HostGetDisplayProperties();
    G.DisplayBpp = display.bpp;
    G.DisplayXPitch = display.xPitch;
    G.DisplayYPitch = display.yPitch;
    G.TapConsumed = 1;
    G.ALatch = 0;
    StartRecording();
    BeginScriptedInput(!Options.playFile.empty());
    StartFrameTimer();
    MainLoop();
    FinishRecording();
    HostClose();
    return 0;
}
