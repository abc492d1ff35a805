// The level list after PLAY GAME, and the level-complete screen with its swinging "PREPARE FOR".
#include "screens/level_screens.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/globals.h"
#include "core/sound.h"
#include "game/level.h"
#include "gfx/font.h"
#include "screens/highlight.h"
#include "screens/items.h"

constexpr double SwingFactor = 0.01745;  // degrees to radians, as the swing has always used it
constexpr int SwingHeight = 90;          // rows either side of the middle
constexpr int SwingMiddle = 140;         // row of "PREPARE FOR" at angle 0
constexpr int SwingLevelMiddle = 170;    // row of the level line at angle 0
constexpr int SwingStep = 3;             // degrees a frame

// The nine levels always offered: bands of 32 rows from row 32, each label 8 rows below its top,
// the last band to the bottom edge. The action is the level chosen, 0-based.
static const ScreenItem LevelItems[] = {
    RedBand("LEVEL 1", 60, 40, 32, 63, 0, 0),
    RedBand("LEVEL 2", 60, 72, 64, 95, 1, 1),
    RedBand("LEVEL 3", 60, 104, 96, 127, 2, 2),
    RedBand("LEVEL 4", 60, 136, 128, 159, 3, 3),
    RedBand("LEVEL 5", 60, 168, 160, 191, 4, 4),
    RedBand("LEVEL 6", 60, 200, 192, 223, 5, 5),
    RedBand("LEVEL 7", 60, 232, 224, 255, 6, 6),
    RedBand("LEVEL 8", 60, 264, 256, 287, 7, 7),
    RedBand("LEVEL 9", 60, 296, 288, ScreenHeight - 1, 8, 8),
};

void LevelSelectScreen() {
    memcpy(G.BackBuffer, G.BackdropImage, sizeof G.BackdropImage);
    DrawRedText("SELECT LEVEL", 22, 4);
    for (const ScreenItem& item : LevelItems) DrawRedText(item.label, item.x, item.y);
    ScreenTap tap;
    if (!TakeScreenTap(LevelItems, &tap)) return;
    if (tap.item >= 0) {
        G.ScreenState = ScreenGame;
        G.Level = LevelItems[tap.item].action;
        BuildLevel();
        Bark();
    } else if (InSpeakerCorner(tap.x, tap.y)) {
        ToggleMute();
    }
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
    DrawBottomButton(OkButton[0]);
    ScreenTap tap;
    if (!TakeScreenTap(OkButton, &tap)) return;
    if (tap.item >= 0) {
        G.ScreenState = ScreenGame;
        BuildLevel();
        Bark();
    } else if (InSpeakerCorner(tap.x, tap.y)) {
        ToggleMute();
    }
}
