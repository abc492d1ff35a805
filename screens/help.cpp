// The three help pages: rules and controls, the legend of pictures, and the closing page.
#include "screens/help.h"

#include <cstring>

#include "core/globals.h"
#include "core/random.h"
#include "core/sound.h"
#include "gfx/blit.h"
#include "gfx/font.h"
#include "screens/highlight.h"
#include "screens/items.h"

constexpr int HelpPages = 3;          // pages 0, 1 and 2; the last one leads back to the menu
constexpr int HelpTextX = 4;          // left edge of the lines of pages 0 and 2
constexpr int HelpFirstRow = 30;      // row of the first line of pages 0 and 2
constexpr int HelpLineRows = 15;      // rows from one line to the next
constexpr int LegendTextX = 50;       // left edge of the legend texts on page 1
constexpr uint16_t HelpInk = 0xFFFF;  // white text
constexpr int NormalWidth = 1;        // the raster font at 8 pixels a character

// Page 0: the rules and the controls, one line every 15 rows from row 30.
static const char* const RulesLines[15] = {
    "Help murko-dog to collect all",
    "the bones in the spider maze.",
    "Fight the spiders on your way",
    "but save your energy as well.",
    "Eat the dog food to increase",
    "your energy.",
    "Use poison on the spiders to",
    "reduce their strength.",
    "",
    "CONTROLS:",
    "*Use the joypad to move",
    " Murko-Dog up/down/left/right",
    "*Press button A to display a",
    " small map of the surrounding",
    " maze",
};

// Page 2: the farewell and, from row 135, ten lines on this edition's controls (29 characters at
// most).
static const char* const ClosingLines[17] = {
    "",
    "",
    "      ENJOY THE GAME !",
    "     Look out for more",
    "   Murko-Dog adventures !!",
    "",
    "",
    "   - THE DESKTOP EDITION -",
    "*Arrow keys move Murko-Dog",
    "*Space or Enter is button A:",
    " it shows the small map",
    "*P or Esc pauses the game;",
    " P, Esc or A goes on",
    "*F11 switches full screen",
    "*F12 saves a picture",
    "*Click or tap the menus",
    "*Free to share: MIT licence",
};

// One legend line of page 1: a text at x 50 and row y.
struct LegendLine {
    int y;
    const char* text;
};
static const LegendLine BoneLines[] = {{50, "Collect all 6 bones."}};
static const LegendLine FoodLines[] = {{90, "Food that will boost"}, {105, "your energy."}};
static const LegendLine PoisonLines[] = {
    {130, "Poison that will make"}, {145, "a spider weaker when"}, {160, "fighting with him."}};
static const LegendLine SpiderLines[] = {{190, "Nasty spiders."}};
static const LegendLine HeroLines[] = {{230, "Murko-Dog the hero."}};

template <int N>
static void DrawLegendLines(const LegendLine (&lines)[N]) {
    for (const LegendLine& line : lines)
        DrawFontText(line.text, LegendTextX, line.y, NormalWidth, HelpInk);
}

template <int N>
static void DrawPageLines(const char* const (&lines)[N]) {
    for (int i = 0; i < N; i++)
        DrawFontText(lines[i], HelpTextX, HelpFirstRow + HelpLineRows * i, NormalWidth, HelpInk);
}

// Page 1: each picture, then its lines; the spider and the dog take a fresh random frame every
// frame.
static void DrawLegendPage() {
    DrawTile(CellBone, 15, 50);
    DrawLegendLines(BoneLines);
    DrawTile(CellFood, 15, 90);
    DrawLegendLines(FoodLines);
    DrawTile(CellPoison, 15, 130);
    DrawLegendLines(PoisonLines);
    DrawSpiderSprite(Rand() % 5, 16, 190);
    DrawLegendLines(SpiderLines);
    DrawDogSprite(Rand() % 2, 16, 230, 0);
    DrawLegendLines(HeroLines);
}

static const ScreenItem NextPageButton[] = {BottomButton("NEXT PAGE", 48)};  // pages 0 and 1

// The bottom button turns the page; on the last page it reads OK and leads back to the menu.
static void HandleHelpTap(std::span<const ScreenItem> button) {
    ScreenTap tap;
    if (!TakeScreenTap(button, &tap)) return;
    if (tap.item >= 0) {
        Bark();
        if (G.HelpPage == HelpPages - 1) G.ScreenState = ScreenMainMenu;
        G.HelpPage = int16_t(G.HelpPage == HelpPages - 1 ? 0 : G.HelpPage + 1);
    } else if (InSpeakerCorner(tap.x, tap.y)) {
        ToggleMute();
    }
}

void HelpScreen() {
    memcpy(G.BackBuffer, G.BackdropImage, sizeof G.BackdropImage);
    DrawRedText("HELP", 80, 4);
    if (G.HelpPage == 0) DrawPageLines(RulesLines);
    if (G.HelpPage == 1) DrawLegendPage();
    if (G.HelpPage == 2) DrawPageLines(ClosingLines);
    std::span<const ScreenItem> button = G.HelpPage == HelpPages - 1 ? OkButton : NextPageButton;
    DrawBottomButton(button[0]);
    HandleHelpTap(button);
}
