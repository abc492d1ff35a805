// The main menu: the title picture, four items, the dog-and-spider chase, and the item taps.
#include "screens/main_menu.h"

#include <cstring>

#include "core/directions.h"
#include "core/globals.h"
#include "core/random.h"
#include "core/sound.h"
#include "game/level.h"
#include "gfx/blit.h"
#include "gfx/font.h"
#include "screens/highlight.h"
#include "screens/items.h"

constexpr int MenuBackRows = 192;     // rows of the title picture
constexpr int ChasePassLength = 400;  // MenuChasePos counts 0 .. 398 in steps of 2
constexpr int ChaseSpiderGap = 70;    // the spider runs this far behind the dog
constexpr int ChaseDogY = 176;        // top row of the dog
constexpr int ChaseSpiderY = 174;     // top row of the spider

enum : int8_t { MenuPlay, MenuHighScores, MenuHelp, MenuExit };  // what the items do

// The four items: bands of 32 rows beginning 4 rows above each label, EXIT's to the bottom edge.
static const ScreenItem MenuItems[] = {
    RedBand("PLAY GAME", 50, 200, 196, 227, 0, MenuPlay),
    RedBand("HIGH SCORES", 34, 232, 228, 259, 1, MenuHighScores),
    RedBand("HELP", 90, 264, 260, 291, 2, MenuHelp),
    RedBand("EXIT", 90, 296, 292, ScreenHeight - 1, 3, MenuExit),
};

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
    bool right = G.MenuChaseDirection == ChaseRight;
    int dogX = right ? p : ScreenWidth - p;
    int spiderX = right ? p - ChaseSpiderGap : ScreenWidth + ChaseSpiderGap - p;
    if (ChaseSpriteShown(dogX)) DrawDogSprite(G.MenuDogFrame, dogX, ChaseDogY, right ? 1 : 0);
    if (ChaseSpriteShown(spiderX)) DrawSpiderSprite(Rand() % 5, spiderX, ChaseSpiderY);
    p = (p + 2) % ChasePassLength;
    G.MenuChasePos = int16_t(p);
    G.MenuDogFrame = int16_t(p / 3 % 2);
    if (p == 0) G.MenuChaseDirection = right ? ChaseLeft : ChaseRight;
}

static void ChooseMenuItem(int action) {
    Bark();
    if (action == MenuPlay) {
        NewGame();
        G.ScreenState = ScreenLevelSelect;
        SwitchMusic(G.GameMusic);
    } else if (action == MenuHighScores) {
        G.ScreenState = ScreenHighScores;
    } else if (action == MenuHelp) {
        G.ScreenState = ScreenHelp;
    } else {
        G.QuitRequested = 1;
    }
}

// At most one tap a frame: an item band, the speaker corner, or nothing.
static void HandleMenuTap() {
    ScreenTap tap;
    if (!TakeScreenTap(MenuItems, &tap)) return;
    if (tap.item >= 0)
        ChooseMenuItem(MenuItems[tap.item].action);
    else if (InSpeakerCorner(tap.x, tap.y))
        ToggleMute();
}

void MainMenuScreen() {
    DrawMenuBackground();
    for (const ScreenItem& item : MenuItems) DrawRedText(item.label, item.x, item.y);
    DrawChase();
    HandleMenuTap();
}
