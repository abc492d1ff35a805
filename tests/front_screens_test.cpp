// Main menu, level list, level complete and help: tap bands and the swing.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/globals.h"
#include "gfx/font.h"
#include "screens/help.h"
#include "screens/level_screens.h"
#include "screens/main_menu.h"

namespace {

const GameGlobals Blank{};  // the record as the process starts

constexpr uint16_t RedInk = 0x100;  // + cell: every pixel of a red font cell

// A fresh record with a red font a test can read back: one colour per cell, black elsewhere.
void PlainPictures() {
    G = Blank;
    for (int i = 0; i < RedFontWidth * RedFontHeight; i++)
        G.RedFontImage[i] = uint16_t(RedInk + i / 2560 * 10 + i % 160 / 16);
    BuildRedFontCharMap();
    G.TapConsumed = 1;
    G.SoundOn = 1;
}

// The red text whose glyphs have their top row at y, from x, n characters; '#' where none starts.
std::string RedTextAt(int x, int y, int n) {
    std::string text;
    for (int at = y * ScreenWidth + x; n-- > 0; at += 16) {
        const unsigned cell = unsigned(G.BackBuffer[at] - RedInk);
        const bool glyphTop = cell < unsigned(RedFontCells) && G.BackBuffer[at - ScreenWidth] == 0;
        text += glyphTop ? RedFontCharset[cell] : '#';
    }
    return text;
}

// Random draws between two generator states (up to 9).
int DrawsBetween(uint32_t from, uint32_t to) {
    int n = 0;
    for (; from != to && n < 10; n++) from = from * 214013u + 2531011u;
    return n;
}

// What a tap did, in words: the screen it opened, the level it built, the help page, quitting,
// muting.
std::string Effect(int8_t screen, int page) {
    static const char* const names[] = {"game", "high scores", "menu",          "name entry",
                                        "help", "level list",  "level complete"};
    std::string effect;
    if (G.ScreenState != screen) effect += std::string("screen ") + names[G.ScreenState] + "; ";
    if (G.MazeWidth != 0) effect += "built level " + std::to_string(G.Level + 1) + "; ";
    if (G.HelpPage != page) effect += "page " + std::to_string(G.HelpPage) + "; ";
    if (G.QuitRequested != 0) effect += "quit; ";
    if (G.SoundOn == 0) effect += "mute; ";
    return effect;
}

}  // namespace

TEST(FrontScreens, EveryTapBoundary) {
    struct Case {
        void (*screen)();
        int page, x, y;
        const char* effect;
    };
    auto M = MainMenuScreen, L = LevelSelectScreen, C = LevelCompleteScreen, H = HelpScreen;
    const Case cases[] = {
        {M, 0, 10, 195, ""},
        {M, 0, 10, 196, "screen level list; built level 1; "},
        {M, 0, 10, 228, "screen high scores; "},
        {M, 0, 0, 260, "screen help; "},
        {M, 0, 10, 292, "quit; "},
        {M, 0, 219, 319, "quit; "},
        {M, 0, 220, 300, ""},
        {M, 0, 224, 303, "mute; "},
        {M, 0, 223, 319, ""},
        {M, 0, 230, 302, ""},
        {L, 0, 100, 31, ""},
        {L, 0, 100, 32, "screen game; built level 1; "},
        {L, 0, 0, 64, "screen game; built level 2; "},
        {L, 0, 219, 319, "screen game; built level 9; "},
        {L, 0, 220, 200, ""},
        {L, 0, 224, 303, "mute; "},
        {C, 0, 100, 291, ""},
        {C, 0, 100, 292, "screen game; built level 8; "},
        {C, 0, 219, 319, "screen game; built level 8; "},
        {C, 0, 220, 300, ""},
        {C, 0, 224, 303, "mute; "},
        {H, 0, 100, 300, "page 1; "},
        {H, 1, 100, 300, "page 2; "},
        {H, 2, 100, 300, "screen menu; page 0; "},
        {H, 0, 219, 292, "page 1; "},
        {H, 1, 100, 291, ""},
        {H, 0, 220, 319, ""},
        {H, 2, 224, 303, "mute; "},
    };
    for (const Case& c : cases) {
        const int8_t screen = c.screen == M   ? ScreenMainMenu
                              : c.screen == L ? ScreenLevelSelect
                              : c.screen == C ? ScreenLevelComplete
                                              : ScreenHelp;
        SCOPED_TRACE(testing::Message()
                     << int(screen) << " page " << c.page << " tap " << c.x << "," << c.y);
        PlainPictures();
        G.ScreenState = screen;
        G.HelpPage = int16_t(c.page);
        G.Level = 7;
        G.TapConsumed = 0;
        G.TapPosX = int16_t(c.x);
        G.TapPosY = int16_t(c.y);
        const uint32_t randomBefore = G.RandomState;
        c.screen();
        EXPECT_EQ(Effect(screen, c.page), c.effect);
        if (G.MazeWidth == 0) {
            EXPECT_EQ(DrawsBetween(randomBefore, G.RandomState),
                      c.screen == H && c.page == 1 ? 2 : 0)
                << "no draw but the help legend's two";
        }
    }
}

TEST(FrontScreens, TheLevelLinesSwingAcrossVisits) {
    struct Case {
        int16_t angle, level;
        int prepareRow, levelRow;
        const char* levelText;
        int16_t angleAfter;
    };
    const Case cases[] = {
        {0, 1, 140, 170, "LEVEL 2", 3},
        {90, 8, 229, 259, "LEVEL 9", 93},
        {270, 9, 50, 80, "LEVEL 10", 273},
        {357, 10, 135, 165, "LEVEL 11", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "angle " << c.angle);
        PlainPictures();
        G.TransitionAngle = c.angle;
        G.Level = c.level;
        LevelCompleteScreen();
        EXPECT_EQ(RedTextAt(30, c.prepareRow, 11), "PREPARE FOR");
        EXPECT_EQ(RedTextAt(62, c.levelRow, int(strlen(c.levelText))), c.levelText);
        EXPECT_EQ(G.TransitionAngle, c.angleAfter);
    }
    G.TransitionAngle = 0;
    for (int frame = 0; frame < 3; frame++) LevelCompleteScreen();
    LevelSelectScreen();
    LevelCompleteScreen();
    EXPECT_EQ(RedTextAt(30, 154, 11), "PREPARE FOR") << "a later visit goes on at angle 9";
}
