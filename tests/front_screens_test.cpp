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

namespace {

constexpr uint16_t DogInk = 0x2000, DogEdge = 0x3000;  // + frame: the dog, and its left-facing first column
constexpr uint16_t SpiderInk = 0x4000, RedInk = 0x100;  // every spider pixel; + cell: red font cell

// Pictures a test can read back: black backgrounds, one colour per red font cell, plain sprites.
void PlainPictures() {
    std::fill_n(G.MenuBackImage, std::size(G.MenuBackImage), 0);
    std::fill_n(G.BottomPanelImage, std::size(G.BottomPanelImage), 0);
    std::fill_n(G.BackdropImage, std::size(G.BackdropImage), 0);
    for (int i = 0; i < RedFontWidth * RedFontHeight; i++) G.RedFontImage[i] = uint16_t(RedInk + i / 2560 * 10 + i % 160 / 16);
    BuildRedFontCharMap();
    for (int p = 0; p < 6 * 256; p++) G.HeroFrames[p / 256][p % 256] = uint16_t((p % 16 ? DogInk : DogEdge) + p / 256);
    std::fill_n(G.SpiderFrames[0], 5 * 18 * 18, SpiderInk);
    std::tie(G.TapConsumed, G.SoundOn, G.QuitRequested) = std::tuple(1, 1, 0);
}

// The red text whose glyphs have their top row at y, from x, n characters; '#' where none starts.
std::string RedTextAt(int x, int y, int n) {
    std::string text;
    for (int at = y * ScreenWidth + x; n-- > 0; at += 16) {
        unsigned cell = unsigned(G.BackBuffer[at] - RedInk);
        text += cell < unsigned(RedFontCells) && G.BackBuffer[at - ScreenWidth] == 0 ? RedFontCharset[cell] : '#';
    }
    return text;
}

// Pixels of the chase strip (rows 174..191) with a value in lo..hi.
int StripPixels(uint16_t lo, uint16_t hi) {
    return int(std::count_if(G.BackBuffer + 174 * ScreenWidth, G.BackBuffer + 192 * ScreenWidth,
                             [&](uint16_t v) { return v >= lo && v <= hi; }));
}

// Random draws between two generator states (up to 9).
int DrawsBetween(uint32_t from, uint32_t to) {
    int n = 0;
    for (; from != to && n < 10; n++) from = from * 214013u + 2531011u;
    return n;
}

}  // namespace

TEST(FrontScreens, EveryTapBandAndItsEdges) {
    struct Case {
        void (*screen)();
        int page, x, y;                          // x < 0: no tap
        int state, level, pageAfter, quit, sound, draws;  // level -1: nothing built
    };
    auto M = MainMenuScreen, L = LevelSelectScreen, C = LevelCompleteScreen, H = HelpScreen;
    const Case cases[] = {
        {M, 0, 10, 195, 2, -1, 0, 0, 1, 0},   {M, 0, 10, 196, 5, 0, 0, 0, 1, 0},    {M, 0, 219, 227, 5, 0, 0, 0, 1, 0},
        {M, 0, 10, 228, 1, -1, 0, 0, 1, 0},   {M, 0, 219, 259, 1, -1, 0, 0, 1, 0},  {M, 0, 0, 260, 4, -1, 0, 0, 1, 0},
        {M, 0, 10, 291, 4, -1, 0, 0, 1, 0},   {M, 0, 10, 292, 2, -1, 0, 1, 1, 0},   {M, 0, 219, 319, 2, -1, 0, 1, 1, 0},
        {M, 0, 230, 310, 2, -1, 0, 0, 0, 0},  {M, 0, 224, 303, 2, -1, 0, 0, 0, 0},  {M, 0, 221, 300, 2, -1, 0, 0, 1, 0},
        {M, 0, 223, 319, 2, -1, 0, 0, 1, 0},  {M, 0, 230, 302, 2, -1, 0, 0, 1, 0},  {L, 0, 100, 31, 5, -1, 0, 0, 1, 0},
        {L, 0, 100, 32, 0, 0, 0, 0, 1, 0},    {L, 0, 100, 63, 0, 0, 0, 0, 1, 0},    {L, 0, 0, 64, 0, 1, 0, 0, 1, 0},
        {L, 0, 100, 100, 0, 2, 0, 0, 1, 0},   {L, 0, 219, 319, 0, 8, 0, 0, 1, 0},   {L, 0, 220, 200, 5, -1, 0, 0, 1, 0},
        {L, 0, 230, 310, 5, -1, 0, 0, 0, 0},  {L, 0, 230, 302, 5, -1, 0, 0, 1, 0},  {C, 0, 100, 291, 6, -1, 0, 0, 1, 0},
        {C, 0, 100, 292, 0, 7, 0, 0, 1, 0},   {C, 0, 219, 319, 0, 7, 0, 0, 1, 0},   {C, 0, 220, 300, 6, -1, 0, 0, 1, 0},
        {C, 0, 230, 310, 6, -1, 0, 0, 0, 0},  {H, 0, 100, 300, 4, -1, 1, 0, 1, 0},  {H, 1, 100, 300, 4, -1, 2, 0, 1, 2},
        {H, 2, 100, 300, 2, -1, 0, 0, 1, 0},  {H, 0, 219, 292, 4, -1, 1, 0, 1, 0},  {H, 1, 100, 291, 4, -1, 1, 0, 1, 2},
        {H, 2, 230, 310, 4, -1, 2, 0, 0, 0},  {H, 0, 220, 319, 4, -1, 0, 0, 1, 0},  {H, 1, -1, 0, 4, -1, 1, 0, 1, 2},
    };
    const int8_t own[] = {ScreenMainMenu, ScreenLevelSelect, ScreenLevelComplete, ScreenHelp};
    for (const Case& c : cases) {
        PlainPictures();
        const int8_t state = own[c.screen == M ? 0 : c.screen == L ? 1 : c.screen == C ? 2 : 3];
        std::tie(G.ScreenState, G.HelpPage, G.Level, G.MazeWidth, G.MenuChasePos, G.MenuChaseDirection) = std::tuple(state, c.page, 7, 0, 0, 0);
        std::tie(G.TapConsumed, G.TapPosX, G.TapPosY) = std::tuple(c.x < 0, c.x, c.y);
        const uint32_t randomBefore = G.RandomState;
        c.screen();
        SCOPED_TRACE("screen " + std::to_string(state) + " page " + std::to_string(c.page) + " tap " + std::to_string(c.x) + "," + std::to_string(c.y));
        EXPECT_EQ(G.ScreenState, c.state);
        EXPECT_EQ(G.MazeWidth ? G.Level : -1, c.level);
        EXPECT_EQ(G.HelpPage, c.pageAfter);
        EXPECT_EQ(G.QuitRequested, c.quit);
        EXPECT_EQ(G.SoundOn, c.sound);
        if (c.level < 0) {  // a build draws many
            EXPECT_EQ(DrawsBetween(randomBefore, G.RandomState), c.draws) << "no draw but the help legend's two";
        }
    }
}

TEST(FrontScreens, TheChaseRunsRightThenLeftAndDrawsOnlyWhatIsOnScreen) {
    struct Case {
        int16_t dir, pos, frame;
        int dogX, dogPixel;  // a column of the dog's left edge at row 180 and what shows there (-1: not checked)
        int dogShown, spiderShown;
        int16_t dirAfter, posAfter, frameAfter;
    };
    const Case cases[] = {
        {0, 0, 0, 0, DogInk, 1, 0, 0, 2, 0},          {0, 2, 0, 2, DogInk, 1, 0, 0, 4, 1},     {0, 4, 1, 4, DogInk + 1, 1, 0, 0, 6, 0},
        {0, 54, 0, 54, DogInk, 1, 0, 0, 56, 0},       {0, 56, 0, 56, DogInk, 1, 1, 0, 58, 1},  {0, 238, 1, 238, DogInk + 1, 1, 1, 0, 240, 0},
        {0, 240, 0, -1, -1, 0, 1, 0, 242, 0},         {0, 308, 0, -1, -1, 0, 1, 0, 310, 1},    {0, 310, 1, -1, -1, 0, 0, 0, 312, 0},
        {0, 398, 0, -1, -1, 0, 0, 1, 0, 0},           {1, 0, 0, -1, -1, 0, 0, 1, 2, 0},        {1, 2, 0, 238, DogEdge, 1, 0, 1, 4, 1},
        {1, 72, 0, 168, DogEdge, 1, 1, 1, 74, 0},     {1, 254, 1, -1, -1, 1, 1, 1, 256, 1},    {1, 256, 1, -1, -1, 0, 1, 1, 258, 0},
        {1, 324, 0, -1, -1, 0, 1, 1, 326, 0},         {1, 326, 0, -1, -1, 0, 0, 1, 328, 1},    {1, 398, 0, -1, -1, 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        PlainPictures();
        std::tie(G.MenuChaseDirection, G.MenuChasePos, G.MenuDogFrame) = std::tuple(c.dir, c.pos, c.frame);
        MainMenuScreen();
        SCOPED_TRACE("direction " + std::to_string(c.dir) + " at " + std::to_string(c.pos));
        EXPECT_EQ(c.dogX < 0 ? -1 : G.BackBuffer[180 * ScreenWidth + c.dogX], c.dogPixel);
        EXPECT_EQ(StripPixels(DogInk, DogEdge + 5) > 0, c.dogShown == 1);
        EXPECT_EQ(StripPixels(SpiderInk, SpiderInk) > 0, c.spiderShown == 1);
        EXPECT_EQ(std::tuple(G.MenuChaseDirection, G.MenuChasePos, G.MenuDogFrame), std::tuple(c.dirAfter, c.posAfter, c.frameAfter));
    }
    EXPECT_EQ(RedTextAt(50, 200, 9) + RedTextAt(34, 232, 11) + RedTextAt(90, 264, 4) + RedTextAt(90, 296, 4), "PLAY GAMEHIGH SCORESHELPEXIT");
}

TEST(FrontScreens, TheLevelLinesSwingWithTheAngleAndTheListShowsNineLevels) {
    struct Case {
        int16_t angle, level;
        int prepareRow, levelRow;
        const char* levelText;
        int16_t angleAfter;
    };
    const Case cases[] = {
        {0, 1, 140, 170, "LEVEL 2", 3},    {3, 1, 144, 174, "LEVEL 2", 6},      {90, 8, 229, 259, "LEVEL 9", 93},
        {270, 9, 50, 80, "LEVEL 10", 273}, {357, 10, 135, 165, "LEVEL 11", 0},
    };
    for (const Case& c : cases) {
        PlainPictures();
        std::tie(G.TransitionAngle, G.Level) = std::tuple(c.angle, c.level);
        LevelCompleteScreen();
        SCOPED_TRACE("angle " + std::to_string(c.angle));
        EXPECT_EQ(RedTextAt(30, c.prepareRow, 11), "PREPARE FOR");
        EXPECT_EQ(RedTextAt(62, c.levelRow, int(strlen(c.levelText))), c.levelText);
        EXPECT_EQ(G.TransitionAngle, c.angleAfter);
    }
    G.TransitionAngle = 0;  // a later visit goes on from where the last one stopped
    for (int frame = 0; frame < 3; frame++) LevelCompleteScreen();
    LevelSelectScreen();
    LevelCompleteScreen();
    EXPECT_EQ(RedTextAt(30, 154, 11), "PREPARE FOR") << "the next visit shows angle 9";
    LevelSelectScreen();
    std::string list = RedTextAt(22, 4, 12);
    for (int k = 0; k < 9; k++) list.append(",").append(RedTextAt(60, 40 + 32 * k, 7));
    EXPECT_EQ(list, "SELECT LEVEL,LEVEL 1,LEVEL 2,LEVEL 3,LEVEL 4,LEVEL 5,LEVEL 6,LEVEL 7,LEVEL 8,LEVEL 9");
}

// Whole runs through the headless game: the menu, the level list, high scores, three help pages, EXIT.
TEST(FrontScreens, ScriptedRunsThroughEveryFrontScreen) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("murko-front-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    auto run = [&](const std::string& name, const std::string& script, int frames) {
        std::ofstream(dir / (name + ".txt")) << script;
        const std::string command = "'" MURKO_EXECUTABLE "' --headless --audio nosound --seed 3 --data '" MURKO_BINARY_DIR "' --input '" +
                                    (dir / name).string() + ".txt' --frames " + std::to_string(frames) + " --dump-state '" +
                                    (dir / name).string() + ".json' >/dev/null 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << name;
        std::stringstream dump;
        dump << std::ifstream(dir / (name + ".json")).rdbuf();
        return dump.str();
    };
    // PLAY GAME in frame 4, LEVEL 3 in frame 7; the game's own frames are not run.
    const std::string play = run("play", "3 tap 10 200\n6 tap 100 100\n", 8);
    for (const char* field : {"\"ScreenState\": 0,", "\"Level\": 2,", "\"MenuChasePos\": 10,"})
        EXPECT_NE(play.find(field), std::string::npos) << field;
    // HIGH SCORES in frame 6, OK in 9, HELP in 13, the pages in 16, 18 and 20, EXIT in 26: 17 menu frames.
    const std::string tour = run("tour", "5 tap 10 240\n8 tap 100 300\n12 tap 100 270\n15 tap 100 300\n17 tap 100 300\n"
                                         "19 tap 100 300\n25 tap 100 310\n", 100);
    for (const char* field : {"\"FrameCount\": 27,", "\"QuitRequested\": 1,", "\"ScreenState\": 2,", "\"HelpPage\": 0,",
                              "\"MenuChaseDirection\": 0,", "\"MenuChasePos\": 34,", "\"MenuDogFrame\": 1,"})
        EXPECT_NE(tour.find(field), std::string::npos) << field;
    std::filesystem::remove_all(dir);
}
