// The shell every host drives: start-up, one pass of the frame loop at a time, shut-down.
#include "app/shell.h"

#include <cstdio>

#include "app/data.h"
#include "app/frame_timer.h"
#include "app/input_events.h"
#include "app/main_loop.h"
#include "app/options.h"
#include "app/pause.h"
#include "app/recording.h"
#include "app/script.h"
#include "app/sound_startup.h"
#include "app/state_dump.h"
#include "app/suspend.h"
#include "core/globals.h"
#include "core/input.h"
#include "core/sound.h"
#include "gfx/draw.h"
#include "platform/host.h"

constexpr uint32_t FeedStepMs = 2;  // longest rest while the sound driver must be fed from here

static std::string SuspendPath;     // where a run is put away and found again; "" for nowhere
static bool SuspendOnDisk = false;  // that file holds this session's run, taken up or saved

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
    const char* why = nullptr;
    if (ScriptResumeSize && !CheckRunBytes(ScriptResume, ScriptResumeSize, &why)) {
        fprintf(stderr, "murko: %s: the run it resumes cannot be taken up: %s\n",
                Options.playFile.c_str(), why);
        return false;
    }
    return true;
}

// A windowed game keeps its run beside the score file; a headless run, or a replay, only in the
// file --resume names; --no-resume leaves every suspend file alone.
static void FindSuspendedRun() {
    SuspendPath.clear();
    SuspendOnDisk = false;
    if (Options.noResume || ScriptResumeSize) return;
    if (!Options.resumeFile.empty())
        SuspendPath = Options.resumeFile;
    else if (!Options.headless && Options.playFile.empty())
        SuspendPath = G.ProgramFolder + SuspendFileName;
    SuspendOnDisk = !SuspendPath.empty() && LoadRunFile(SuspendPath);
}

// The run found at start-up comes back where it was, with its music; a window shows it paused.
static void TakeUpSuspendedRun() {
    if (!RunPending()) return;
    TakeUpRun();
    SwitchMusic(G.GameMusic);
    if (PauseAllowed()) PauseGame();
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
    BuildDataPaths();
    FindSuspendedRun();
    StartRecording();
    BeginScriptedInput(!Options.playFile.empty());
    StartFrameTimer();
    LoadGame();
    AllowPause(!Options.headless);
    TakeUpSuspendedRun();
    return -1;
}

static bool FrameLimitReached() {
    return Options.frames >= 0 && long(G.FrameCount) >= Options.frames;
}

// While paused no frame runs: the input is taken (a key or a tap may end the pause), nothing
// else. A window closed meanwhile ends the pause, and the run at the next frame start.
static void StepPaused() {
    PumpMessages(0);
    if (GamePaused() && G.QuitRequested == 1) ResumeGame();
}

bool GameStep() {
    UpdateSound();
    if (GamePaused()) {
        StepPaused();
        return true;
    }
    if (FrameElapsedMs() <= FrameGateMs) return true;
    StartFrameTimer();
    if (G.QuitRequested == 1 || FrameLimitReached()) return false;
    RunFrame();
    if (SuspendOnDisk && !RunInProgress()) {  // the run ended: nothing is left to take up
        ForgetRunFile(SuspendPath);
        SuspendOnDisk = false;
    }
    return true;
}

void GameSuspend() {
    if (!SuspendPath.empty() && RunInProgress()) SuspendOnDisk = SaveRunFile(SuspendPath);
}

// Not due: rest until the frame is, waking often enough to feed a mixer that needs it.
uint32_t GameRestMs() {
    if (GamePaused()) return SoundNeedsFeeding() ? FeedStepMs : FrameGateMs + 1;
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
    if (GamePaused()) ResumeGame();
    AllowPause(false);
    GameSuspend();
    WriteRunOutputs();
    ShutdownSound();
    FreeResources();
    FinishRecording();
    HostClose();
    return 0;
}
