// The level list after PLAY GAME, and the level-complete screen with its swinging "PREPARE FOR".
#include "screens/level_screens.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/globals.h"
#include "core/input.h"
#include "core/sound.h"
#include "game/level.h"
#include "gfx/font.h"
#include "screens/highlight.h"

constexpr int LevelsOffered = 9;         // the list always offers levels 1..9
constexpr int LevelBandTop = 32;         // top row of the LEVEL 1 band
constexpr int LevelBandRows = 32;        // rows of one level band; its label stands 8 rows lower
constexpr int ButtonRight = 220;         // bands and the bottom button span x 0..219
constexpr int BottomButtonTop = 292;     // the OK button takes taps from this row down
constexpr int PanelTop = 288;            // the bottom panel strip covers rows 288..319
constexpr int SpeakerHotX = 224;         // the speaker corner: x >= 224 ...
constexpr int SpeakerHotY = 303;         // ... and y >= 303
constexpr double SwingFactor = 0.01745;  // degrees to radians, as the swing has always used it
constexpr int SwingHeight = 90;          // rows either side of the middle
constexpr int SwingMiddle = 140;         // row of "PREPARE FOR" at angle 0
constexpr int SwingLevelMiddle = 170;    // row of the level line at angle 0
constexpr int SwingStep = 3;             // degrees a frame

// The speaker corner toggles the sound on either screen.
static void ToggleOnSpeakerCorner(int x, int y) {
    if (x >= SpeakerHotX && y >= SpeakerHotY) ToggleMute();
}

void LevelSelectScreen() {
    memcpy(G.BackBuffer, G.BackdropImage, sizeof G.BackdropImage);
    DrawRedText("SELECT LEVEL", 22, 4);
    char label[16];
    for (int k = 0; k < LevelsOffered; k++) {
        snprintf(label, sizeof label, "LEVEL %d", k + 1);
        DrawRedText(label, 60, LevelBandTop + 8 + LevelBandRows * k);
    }
    PadHighlight();
    if (!StylusTapped()) return;
    int x = int16_t(TapX()), y = int16_t(TapY());
    if (y >= LevelBandTop && x < ButtonRight) {
        G.ScreenState = ScreenGame;
        G.Level = int16_t((y - LevelBandTop) / LevelBandRows);
        BuildLevel();
        Bark();
    }
    ToggleOnSpeakerCorner(x, y);
}

// Row of a swinging line whose middle is row middle, for the angle now in TransitionAngle.
static int SwingRow(int middle) {
    double s = sin(G.TransitionAngle * SwingFactor);
    return int(s * SwingHeight + middle);
}

void LevelCompleteScreen() {
    memcpy(G.BackBuffer, G.BackdropImage, sizeof G.BackdropImage);
    DrawRedText("WELLDONE!!!", 30, 4);
    DrawRedText("PREPARE FOR", 30, SwingRow(SwingMiddle));
    char label[24];
    snprintf(label, sizeof label, "LEVEL %d", G.Level + 1);
    DrawRedText(label, 62, SwingRow(SwingLevelMiddle));
    G.TransitionAngle = int16_t((G.TransitionAngle + SwingStep) % 360);
    memcpy(G.BackBuffer + PanelTop * ScreenWidth, G.BottomPanelImage, sizeof G.BottomPanelImage);
    DrawRedText("OK", 106, 296);
    PadHighlight();
    if (!StylusTapped()) return;
    int x = int16_t(TapX()), y = int16_t(TapY());
    if (y >= BottomButtonTop && x < ButtonRight) {
        G.ScreenState = ScreenGame;
        BuildLevel();
        Bark();
    }
    ToggleOnSpeakerCorner(x, y);
}
