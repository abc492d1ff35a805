// One frame of the loop: the screen's handler, the speaker corner, the present and the input.
#include "app/main_loop.h"

#include "app/input_events.h"
#include "app/present.h"
#include "core/layout.h"
#include "game/game_frame.h"
#include "gfx/draw.h"
#include "screens/help.h"
#include "screens/high_scores.h"
#include "screens/level_screens.h"
#include "screens/main_menu.h"
#include "screens/name_entry.h"

// In ScreenState order.
ScreenHandler ScreenHandlers[ScreenCount] = {
    GameFrame,  HighScoreScreen,   MainMenuScreen,      NewHighScoreScreen,
    HelpScreen, LevelSelectScreen, LevelCompleteScreen,
};

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
    if (G.ScreenState >= 0 && G.ScreenState < ScreenCount && ScreenHandlers[G.ScreenState])
        ScreenHandlers[G.ScreenState]();
}

void RunFrame() {
    RunScreenHandler();
    DrawSpeakerIcon(SpeakerIconX, SpeakerIconY);
    DrawMuteCross();
    G.FrameCount++;
    PumpMessages(1);
}
