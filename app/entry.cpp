// The program's entry: options, single instance, host, main loop and shut-down.
#include "app/entry.h"

#include <cstdio>

#include "app/globals.h"
#include "app/main_loop.h"
#include "app/options.h"
#include "app/state_dump.h"
#include "platform/host.h"

void FinishRun() {
    if (!Options.dumpFile.empty() && !WriteStateDump(Options.dumpFile.c_str()))
        fprintf(stderr, "murko: cannot write the state dump %s\n", Options.dumpFile.c_str());
    if (!Options.screenshotFile.empty() &&
        !HostWritePng(Options.screenshotFile.c_str(), G.BackBuffer, ScreenWidth, ScreenHeight))
        fprintf(stderr, "murko: cannot write the screenshot %s\n", Options.screenshotFile.c_str());
}

int MurkoMain(int argc, char** argv, const HostBackend* windowBackend) {
    int exitCode = ParseOptions(argc, argv);
    if (exitCode >= 0) return exitCode;
    HostUse(Options.headless ? HeadlessBackend() : windowBackend);
    if (!Options.headless && !HostClaimSingleInstance()) return 0;
    if (!HostOpen(Options.host)) {
        fprintf(stderr, "murko: cannot open the display\n");
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
    StartFrameTimer();
    MainLoop();
    HostClose();
    return 0;
}
