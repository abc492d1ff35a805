// Main menu, level list, level complete and help: tap bands, the chase, the swing, whole runs.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <tuple>

#include "core/globals.h"
#include "gfx/font.h"
#include "screens/help.h"
#include "screens/level_screens.h"
#include "screens/main_menu.h"

namespace fs = std::filesystem;

namespace {

constexpr uint16_t DogInk = 0x2000;     // + frame: the dog's pixels
constexpr uint16_t DogEdge = 0x3000;    // + frame: the dog's first column (the one facing left)
constexpr uint16_t SpiderInk = 0x4000;  // every spider pixel
constexpr uint16_t RedInk = 0x100;      // + cell: every pixel of red font cell

// Pictures a test can read back: black backgrounds, one colour per red font cell, plain sprites.
void PlainPictures() {
    memset(G.MenuBackImage, 0, sizeof G.MenuBackImage);
    memset(G.BottomPanelImage, 0, sizeof G.BottomPanelImage);
    memset(G.BackdropImage, 0, sizeof G.BackdropImage);
    for (int i = 0; i < RedFontWidth * RedFontHeight; i++)
        G.RedFontImage[i] = uint16_t(RedInk + i / RedFontWidth / 16 * 10 + i % RedFontWidth / 16);
    BuildRedFontCharMap();
    for (int f = 0; f < 6; f++)
        for (int p = 0; p < 256; p++) G.HeroFrames[f][p] = uint16_t((p % 16 == 0 ? DogEdge : DogInk) + f);
    for (auto& frame : G.SpiderFrames) std::fill(std::begin(frame), std::end(frame), SpiderInk);
    G.TapConsumed = 1;
    G.SoundOn = 1;
    G.QuitRequested = 0;
}

// The red text whose glyphs start at (x, y), n characters; '#' where no glyph's top-left row is.
std::string RedTextAt(int x, int y, int n) {
    std::string text;
    for (int i = 0; i < n; i++) {
        unsigned cell = unsigned(G.BackBuffer[y * ScreenWidth + x + 16 * i] - RedInk);
        text += cell < unsigned(RedFontCells) && G.BackBuffer[(y - 1) * ScreenWidth + x + 16 * i] == 0 ? RedFontCharset[cell] : '#';
    }
    return text;
}

// Pixels of the chase strip (rows 174..191) with a value in lo..hi.
int StripPixels(uint16_t lo, uint16_t hi) {
    int n = 0;
    for (int i = 174 * ScreenWidth; i < 192 * ScreenWidth; i++) n += G.BackBuffer[i] >= lo && G.BackBuffer[i] <= hi;
    return n;
}

void TapAndRun(void (*screen)(), int x, int y) {
    G.TapConsumed = 0;
    G.TapPosX = x;
    G.TapPosY = y;
    screen();
}

}  // namespace

TEST(FrontScreens, EveryTapBandAndItsEdges) {
    struct Case {
        void (*screen)();
        int8_t state;
        int page, x, y;
        int8_t stateAfter;
        int levelAfter, built, pageAfter, quit, soundAfter;
    };
    const Case cases[] = {
        {MainMenuScreen, 2, 0, 10, 195, 2, 7, 0, 0, 0, 1},    {MainMenuScreen, 2, 0, 10, 196, 5, 0, 1, 0, 0, 1},
        {MainMenuScreen, 2, 0, 219, 227, 5, 0, 1, 0, 0, 1},  {MainMenuScreen, 2, 0, 10, 228, 1, 7, 0, 0, 0, 1},
        {MainMenuScreen, 2, 0, 219, 259, 1, 7, 0, 0, 0, 1},  {MainMenuScreen, 2, 0, 0, 260, 4, 7, 0, 0, 0, 1},
        {MainMenuScreen, 2, 0, 10, 291, 4, 7, 0, 0, 0, 1},   {MainMenuScreen, 2, 0, 10, 292, 2, 7, 0, 0, 1, 1},
        {MainMenuScreen, 2, 0, 219, 319, 2, 7, 0, 0, 1, 1},  {MainMenuScreen, 2, 0, 230, 310, 2, 7, 0, 0, 0, 0},
        {MainMenuScreen, 2, 0, 224, 303, 2, 7, 0, 0, 0, 0},  {MainMenuScreen, 2, 0, 221, 300, 2, 7, 0, 0, 0, 1},
        {MainMenuScreen, 2, 0, 223, 319, 2, 7, 0, 0, 0, 1},  {MainMenuScreen, 2, 0, 230, 302, 2, 7, 0, 0, 0, 1},
        {LevelSelectScreen, 5, 0, 100, 31, 5, 7, 0, 0, 0, 1},    {LevelSelectScreen, 5, 0, 100, 32, 0, 0, 1, 0, 0, 1},
        {LevelSelectScreen, 5, 0, 100, 63, 0, 0, 1, 0, 0, 1},    {LevelSelectScreen, 5, 0, 0, 64, 0, 1, 1, 0, 0, 1},
        {LevelSelectScreen, 5, 0, 100, 100, 0, 2, 1, 0, 0, 1},   {LevelSelectScreen, 5, 0, 219, 319, 0, 8, 1, 0, 0, 1},
        {LevelSelectScreen, 5, 0, 220, 200, 5, 7, 0, 0, 0, 1},   {LevelSelectScreen, 5, 0, 230, 310, 5, 7, 0, 0, 0, 0},
        {LevelSelectScreen, 5, 0, 230, 302, 5, 7, 0, 0, 0, 1},   {LevelCompleteScreen, 6, 0, 100, 291, 6, 7, 0, 0, 0, 1},
        {LevelCompleteScreen, 6, 0, 100, 292, 0, 7, 1, 0, 0, 1}, {LevelCompleteScreen, 6, 0, 219, 319, 0, 7, 1, 0, 0, 1},
        {LevelCompleteScreen, 6, 0, 220, 300, 6, 7, 0, 0, 0, 1}, {LevelCompleteScreen, 6, 0, 230, 310, 6, 7, 0, 0, 0, 0},
        {HelpScreen, 4, 0, 100, 300, 4, 7, 0, 1, 0, 1},  {HelpScreen, 4, 1, 100, 300, 4, 7, 0, 2, 0, 1},
        {HelpScreen, 4, 2, 100, 300, 2, 7, 0, 0, 0, 1},  {HelpScreen, 4, 0, 219, 292, 4, 7, 0, 1, 0, 1},
        {HelpScreen, 4, 1, 100, 291, 4, 7, 0, 1, 0, 1},  {HelpScreen, 4, 2, 230, 310, 4, 7, 0, 2, 0, 0},
        {HelpScreen, 4, 0, 220, 319, 4, 7, 0, 0, 0, 1},  {HelpScreen, 4, 1, 230, 302, 4, 7, 0, 1, 0, 1},
    };
    for (const Case& c : cases) {
        PlainPictures();
        std::tie(G.ScreenState, G.HelpPage, G.Level, G.MazeWidth) = std::tuple(c.state, c.page, 7, 0);
        TapAndRun(c.screen, c.x, c.y);
        const std::string where = "screen " + std::to_string(c.state) + " page " + std::to_string(c.page) + " tap " +
                                  std::to_string(c.x) + "," + std::to_string(c.y);
        EXPECT_EQ(G.ScreenState, c.stateAfter) << where;
        EXPECT_EQ(G.Level, c.levelAfter) << where;
        EXPECT_EQ(G.MazeWidth != 0, c.built == 1) << where;
        EXPECT_EQ(G.HelpPage, c.pageAfter) << where;
        EXPECT_EQ(G.QuitRequested, c.quit) << where;
        EXPECT_EQ(G.SoundOn, c.soundAfter) << where;
        EXPECT_EQ(G.TapConsumed, 1) << where;
    }
}

TEST(FrontScreens, TheChaseRunsRightThenLeftAndDrawsOnlyWhatIsOnScreen) {
    struct Case {
        int16_t dir, pos, frame;
        int dogX;          // column of the dog's left edge checked at row 180, -1 when not checked
        uint16_t dogPixel; // what that column shows: the facing side tells mirrored from not
        int dogShown, spiderShown;
        int16_t dirAfter, posAfter, frameAfter;
    };
    const Case cases[] = {
        {0, 0, 0, 0, DogInk, 1, 0, 0, 2, 0},        {0, 2, 0, 2, DogInk, 1, 0, 0, 4, 1},
        {0, 4, 1, 4, DogInk + 1, 1, 0, 0, 6, 0},    {0, 54, 0, 54, DogInk, 1, 0, 0, 56, 0},
        {0, 56, 0, 56, DogInk, 1, 1, 0, 58, 1},     {0, 238, 1, 238, DogInk + 1, 1, 1, 0, 240, 0},
        {0, 240, 0, -1, 0, 0, 1, 0, 242, 0},        {0, 308, 0, -1, 0, 0, 1, 0, 310, 1},
        {0, 310, 1, -1, 0, 0, 0, 0, 312, 0},        {0, 398, 0, -1, 0, 0, 0, 1, 0, 0},
        {1, 0, 0, -1, 0, 0, 0, 1, 2, 0},            {1, 2, 0, 238, DogEdge, 1, 0, 1, 4, 1},
        {1, 72, 0, 168, DogEdge, 1, 1, 1, 74, 0},   {1, 254, 1, -1, 0, 1, 1, 1, 256, 1},
        {1, 256, 1, -1, 0, 0, 1, 1, 258, 0},        {1, 324, 0, -1, 0, 0, 1, 1, 326, 0},
        {1, 326, 0, -1, 0, 0, 0, 1, 328, 1},        {1, 398, 0, -1, 0, 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        PlainPictures();
        std::tie(G.MenuChaseDirection, G.MenuChasePos, G.MenuDogFrame) = std::tuple(c.dir, c.pos, c.frame);
        const uint32_t randomBefore = G.RandomState;
        MainMenuScreen();
        const std::string where = "direction " + std::to_string(c.dir) + " at " + std::to_string(c.pos);
        if (c.dogX >= 0) {
            EXPECT_EQ(G.BackBuffer[180 * ScreenWidth + c.dogX], c.dogPixel) << where;
        }
        EXPECT_EQ(StripPixels(DogInk, DogEdge + 5) > 0, c.dogShown == 1) << where;
        EXPECT_EQ(StripPixels(SpiderInk, SpiderInk) > 0, c.spiderShown == 1) << where;
        EXPECT_EQ(G.RandomState != randomBefore, c.spiderShown == 1) << where << ": a draw only for a shown spider";
        EXPECT_EQ(G.MenuChaseDirection, c.dirAfter) << where;
        EXPECT_EQ(G.MenuChasePos, c.posAfter) << where;
        EXPECT_EQ(G.MenuDogFrame, c.frameAfter) << where;
    }
    EXPECT_EQ(RedTextAt(50, 200, 9) + RedTextAt(34, 232, 11) + RedTextAt(90, 264, 4) + RedTextAt(90, 296, 4),
              "PLAY GAMEHIGH SCORESHELPEXIT");
}

TEST(FrontScreens, TheLevelLinesSwingWithTheAngleAndTheListShowsNineLevels) {
    struct Case {
        int16_t angle, level;
        int prepareRow, levelRow;
        const char* levelText;
        int16_t angleAfter;
    };
    const Case cases[] = {
        {0, 1, 140, 170, "LEVEL 2", 3},  {3, 1, 144, 174, "LEVEL 2", 6},   {90, 8, 229, 259, "LEVEL 9", 93},
        {270, 9, 50, 80, "LEVEL 10", 273}, {357, 10, 135, 165, "LEVEL 11", 0},
    };
    for (const Case& c : cases) {
        PlainPictures();
        std::tie(G.TransitionAngle, G.Level) = std::tuple(c.angle, c.level);
        LevelCompleteScreen();
        const std::string where = "angle " + std::to_string(c.angle);
        EXPECT_EQ(RedTextAt(30, c.prepareRow, 11), "PREPARE FOR") << where;
        EXPECT_EQ(RedTextAt(62, c.levelRow, int(strlen(c.levelText))), c.levelText) << where;
        EXPECT_EQ(G.TransitionAngle, c.angleAfter) << where;
    }
    EXPECT_EQ(RedTextAt(30, 4, 11) + RedTextAt(106, 296, 2), "WELLDONE!!!OK");
    G.TransitionAngle = 0;  // a later visit goes on from where the last one stopped
    for (int frame = 0; frame < 3; frame++) LevelCompleteScreen();
    LevelSelectScreen();
    LevelCompleteScreen();
    EXPECT_EQ(RedTextAt(30, 154, 11), "PREPARE FOR") << "the next visit shows angle 9";
    LevelSelectScreen();
    std::string list = RedTextAt(22, 4, 12);
    for (int k = 0; k < 9; k++) list += "," + RedTextAt(60, 40 + 32 * k, 7);
    EXPECT_EQ(list, "SELECT LEVEL,LEVEL 1,LEVEL 2,LEVEL 3,LEVEL 4,LEVEL 5,LEVEL 6,LEVEL 7,LEVEL 8,LEVEL 9");
}

TEST(FrontScreens, HelpPagesShowTheirButtonAndOnlyTheLegendDrawsRandomFrames) {
    const char* buttons[3] = {"NEXT PAGE", "NEXT PAGE", "OK"};
    const int buttonX[3] = {48, 48, 106}, draws[3] = {0, 2, 0};
    for (int page = 0; page < 3; page++) {
        PlainPictures();
        G.HelpPage = int16_t(page);
        const uint32_t before = G.RandomState;
        HelpScreen();
        uint32_t state = before;
        for (int i = 0; i < draws[page]; i++) state = state * 214013u + 2531011u;
        EXPECT_EQ(G.RandomState, state) << "page " << page;
        EXPECT_EQ(RedTextAt(80, 4, 4) + RedTextAt(buttonX[page], 296, int(strlen(buttons[page]))),
                  std::string("HELP") + buttons[page]) << "page " << page;
    }
}

// Whole runs: the menu, the level list, three help pages, then EXIT.
TEST(FrontScreens, ScriptedRunsThroughEveryFrontScreen) {
    const fs::path dir = fs::temp_directory_path() / ("murko-front-" + std::to_string(getpid()));
    fs::create_directories(dir);
    auto run = [&](const std::string& name, const std::string& script, int frames) {
        std::ofstream(dir / (name + ".txt")) << script;
        const std::string command = "'" MURKO_EXECUTABLE "' --headless --audio nosound --seed 3 --data '" MURKO_BINARY_DIR
                                    "' --input '" + (dir / (name + ".txt")).string() + "' --frames " +
                                    std::to_string(frames) + " --dump-state '" + (dir / name).string() + ".json' >/dev/null 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << name;
        std::stringstream dump;
        dump << std::ifstream(dir / (name + ".json")).rdbuf();
        return dump.str();
    };
    // PLAY GAME in frame 4, LEVEL 3 in frame 7; the game's own frames are not run.
    const std::string play = run("play", "3 tap 10 200\n6 tap 100 100\n", 8);
    for (const char* field : {"\"ScreenState\": 0,", "\"Level\": 2,", "\"MenuChasePos\": 10,"})
        EXPECT_NE(play.find(field), std::string::npos) << field;
    // HELP in frame 6, the pages in 9, 11 and 13, EXIT in 19: 13 menu frames, the loop ends before frame 20.
    const std::string tour = run("tour", "5 tap 10 270\n8 tap 100 300\n10 tap 100 300\n12 tap 100 300\n18 tap 100 310\n", 100);
    for (const char* field : {"\"FrameCount\": 20,", "\"QuitRequested\": 1,", "\"ScreenState\": 2,", "\"HelpPage\": 0,",
                              "\"MenuChaseDirection\": 0,", "\"MenuChasePos\": 26,", "\"MenuDogFrame\": 0,"})
        EXPECT_NE(tour.find(field), std::string::npos) << field;
    fs::remove_all(dir);
}
