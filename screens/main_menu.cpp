// The main menu: the title picture, four items, the dog-and-spider chase, and the item taps.
#include "screens/main_menu.h"

#include <cstring>

#include "core/globals.h"
#include "core/input.h"
#include "core/random.h"
#include "core/sound.h"
#include "game/level.h"
#include "gfx/blit.h"
#include "gfx/font.h"
#include "screens/highlight.h"

constexpr int MenuBackRows = 192;     // rows of the title picture
constexpr int PanelRows = 32;         // rows of one panel strip
constexpr int ChasePassLength = 400;  // MenuChasePos counts 0 .. 398 in steps of 2
constexpr int ChaseSpiderGap = 70;    // the spider runs this far behind the dog
constexpr int ChaseDogY = 176;        // top row of the dog
constexpr int ChaseSpiderY = 174;     // top row of the spider
constexpr int MenuItemRight = 220;    // item bands span x 0..219
constexpr int SpeakerHotX = 224;      // the speaker corner: x >= 224 ...
constexpr int SpeakerHotY = 303;      // ... and y >= 303

// One item: its label and where the label stands; its tap band begins 4 rows above the label.
struct MenuItem {
    const char* label;
    int x, y;
};
static const MenuItem MenuItems[4] = {
    {"PLAY GAME", 50, 200},
    {"HIGH SCORES", 34, 232},
    {"HELP", 90, 264},
    {"EXIT", 90, 296},
};
constexpr int MenuFirstBand = 196;  // top row of the PLAY GAME band; each band is 32 rows
constexpr int MenuBandRows = 32;    // rows of one item band

// The title picture over rows 0..191, then the panel strip four times down to the bottom.
static void DrawMenuBackground() {
    memcpy(G.BackBuffer, G.MenuBackImage, sizeof G.MenuBackImage);
    for (int strip = 0; strip < 4; strip++)
        memcpy(G.BackBuffer + (MenuBackRows + strip * PanelRows) * ScreenWidth, G.BottomPanelImage,
               sizeof G.BottomPanelImage);
}

// A sprite of width 16 or 18 is drawn only when -16 < x < 240.
static bool ChaseSpriteShown(int x) { return x > -16 && x < ScreenWidth; }

// The dog and, 70 pixels behind it, the spider; then one step along the pass.
static void DrawChase() {
    int p = G.MenuChasePos;
    int dogX = G.MenuChaseDirection == 0 ? p : ScreenWidth - p;
    int spiderX = G.MenuChaseDirection == 0 ? p - ChaseSpiderGap : ScreenWidth + ChaseSpiderGap - p;
    if (ChaseSpriteShown(dogX))
        DrawDogSprite(G.MenuDogFrame, dogX, ChaseDogY, G.MenuChaseDirection == 0 ? 1 : 0);
    if (ChaseSpriteShown(spiderX)) DrawSpiderSprite(Rand() % 5, spiderX, ChaseSpiderY);
    p = (p + 2) % ChasePassLength;
    G.MenuChasePos = int16_t(p);
    G.MenuDogFrame = int16_t(p / 3 % 2);
    if (p == 0) G.MenuChaseDirection = int16_t(1 - G.MenuChaseDirection);
}

// Acts on the item whose band holds row y (x is already left of 220).
static void ChooseMenuItem(int y) {
    int item = (y - MenuFirstBand) / MenuBandRows;
    if (item > 3) item = 3;  // EXIT's band runs on to the bottom edge
    Bark();
    if (item == 0) {
        NewGame();
        G.ScreenState = ScreenLevelSelect;
        SwitchMusic(G.GameMusic);
    } else if (item == 1) {
        G.ScreenState = ScreenHighScores;
    } else if (item == 2) {
        G.ScreenState = ScreenHelp;
    } else {
        G.QuitRequested = 1;
    }
}

// At most one tap a frame: an item band, the speaker corner, or nothing.
static void HandleMenuTap() {
    if (!StylusTapped()) return;
    int x = int16_t(TapX()), y = int16_t(TapY());
    if (x < MenuItemRight) {
        if (y >= MenuFirstBand) ChooseMenuItem(y);
    } else if (x >= SpeakerHotX && y >= SpeakerHotY) {
        ToggleMute();
    }
}

void MainMenuScreen() {
    DrawMenuBackground();
    for (const MenuItem& item : MenuItems) DrawRedText(item.label, item.x, item.y);
    DrawChase();
    PadHighlight();
    HandleMenuTap();
}
