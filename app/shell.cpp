// The shell every host drives: start-up, one pass of the frame loop at a time, shut-down.
#include "app/shell.h"

#include <cstdio>

#include "app/data.h"
#include "app/frame_timer.h"
#include "app/input_events.h"
#include "app/main_loop.h"
#include "app/options.h"
#include "app/recording.h"
#include "app/script.h"
#include "app/sound_startup.h"
#include "app/state_dump.h"
#include "core/globals.h"
#include "core/input.h"
#include "core/sound.h"
#include "gfx/draw.h"
#include "platform/host.h"

constexpr uint32_t FeedStepMs = 2;  // longest rest while the sound driver must be fed from here

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

// The panel's layout and the host's keys, once the host is open.
static void TakeDisplayProperties() {
    HostDisplayProperties display = HostGetDisplayProperties();
    G.DisplayBpp = display.bpp;
    G.DisplayXPitch = display.xPitch;
    G.DisplayYPitch = display.yPitch;
}

// The sound start-up's rest between two tries of a driver: the frame goes on being shown.
static void PresentAndPump() { PumpMessages(1); }

// Loading, the first level and the menu; then the taps that came meanwhile are thrown away.
static void LoadGame() {
    BuildDataPaths();
    InitSound(PresentAndPump);
    LoadResources();
    ClearBackBuffer(0);
    while (StylusTapped()) PumpMessages(1);
}

int GameStart(int argc, char** argv, const HostBackend* windowBackend) {
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
    LoadKeyList();
    TakeDisplayProperties();
    G.TapConsumed = 1;
    G.ALatch = 0;
    StartRecording();
    BeginScriptedInput(!Options.playFile.empty());
    StartFrameTimer();
    LoadGame();
    return -1;
}

static bool FrameLimitReached() {
    return Options.frames >= 0 && long(G.FrameCount) >= Options.frames;
}

bool GameStep() {
    UpdateSound();
    if (FrameElapsedMs() <= FrameGateMs) return true;
    StartFrameTimer();
    if (G.QuitRequested == 1 || FrameLimitReached()) return false;
    RunFrame();
    return true;
}

// Not due: rest until the frame is, waking often enough to feed a mixer that needs it.
uint32_t GameRestMs() {
    int32_t elapsed = FrameElapsedMs();
    if (elapsed > FrameGateMs) return 0;
    uint32_t due = uint32_t(elapsed < 0 ? 1 : FrameGateMs + 1 - elapsed);
    return SoundNeedsFeeding() && due > FeedStepMs ? FeedStepMs : due;
}

void GameRest() {
    uint32_t rest = GameRestMs();
    if (rest) HostIdle(rest);
}

// The last frame as the run left it: the state dump and the screenshot that were asked for.
static void WriteRunOutputs() {
    if (!Options.dumpFile.empty() && !WriteStateDump(Options.dumpFile.c_str()))
        fprintf(stderr, "murko: cannot write the state dump %s\n", Options.dumpFile.c_str());
    if (!Options.screenshotFile.empty() &&
        !HostWritePng(Options.screenshotFile.c_str(), G.BackBuffer, ScreenWidth, ScreenHeight))
        fprintf(stderr, "murko: cannot write the screenshot %s\n", Options.screenshotFile.c_str());
}

int GameStop() {
    WriteRunOutputs();
    ShutdownSound();
    FreeResources();
    FinishRecording();
    HostClose();
    return 0;
}
