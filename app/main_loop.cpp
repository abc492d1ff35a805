// The frame loop: a frame starts when more than 30 ms have passed since the last one began.
#include "app/main_loop.h"

#include "app/data.h"
#include "app/entry.h"
#include "app/input_events.h"
#include "app/options.h"
#include "app/present.h"
#include "app/sound_startup.h"
#include "core/globals.h"
#include "core/input.h"
#include "core/sound.h"
#include "game/game_frame.h"
#include "gfx/draw.h"
#include "platform/host.h"
#include "screens/help.h"
#include "screens/high_scores.h"
#include "screens/level_screens.h"
#include "screens/main_menu.h"
#include "screens/name_entry.h"

constexpr int32_t FrameGateMs = 30;  // a frame starts once more than this has elapsed
constexpr uint32_t FeedStepMs =
    2;  // longest rest while the sound driver must be fed from this loop

// In ScreenState order.
ScreenHandler ScreenHandlers[7] = {
    GameFrame,  HighScoreScreen,   MainMenuScreen,      NewHighScoreScreen,
    HelpScreen, LevelSelectScreen, LevelCompleteScreen,
};

uint32_t StartFrameTimer() {
    G.FrameStartTick = HostTicks();
    return G.FrameStartTick;
}

int32_t FrameElapsedMs() { return int32_t(HostTicks() - G.FrameStartTick); }

int PumpMessages(uint8_t present) {
    if (present) PresentFrame();
    int any = 0;
    HostEvent event;
    while (TakeInputEvent(&event)) {
        HandleInputEvent(event);
        any = 1;
    }
    return any;
}

void RunScreenHandler() {
    if (G.ScreenState >= 0 && G.ScreenState < 7 && ScreenHandlers[G.ScreenState])
        ScreenHandlers[G.ScreenState]();
}

void RunFrame() {
    RunScreenHandler();
    DrawSpeakerIcon(224, 304);
    DrawMuteCross();
    G.FrameCount++;
    PumpMessages(1);
}

static bool FrameLimitReached() {
    return Options.frames >= 0 && long(G.FrameCount) >= Options.frames;
}

void RunFrames() {
    for (;;) {
        UpdateSound();
        int32_t elapsed = FrameElapsedMs();
        if (elapsed <= FrameGateMs) {
            // Not due: rest instead of spinning, waking often enough to feed a mixer that needs it.
            uint32_t due = uint32_t(elapsed < 0 ? 1 : FrameGateMs + 1 - elapsed);
            HostIdle(SoundNeedsFeeding() && due > FeedStepMs ? FeedStepMs : due);
            continue;
        }
        StartFrameTimer();
        if (G.QuitRequested == 1 || FrameLimitReached()) return;
        RunFrame();
    }
}

void MainLoop() {
    BuildDataPaths();
    InitSound();
    LoadResources();
    ClearBackBuffer(0);
    while (StylusTapped()) PumpMessages(1);
    G.FrameStartTick = HostTicks() - FrameGateMs - 1;  // the first frame is due once loaded
    RunFrames();
    FinishRun();
    ShutdownSound();
    FreeResources();
}
