// The game frame: walking and pickups, fights from contact to game over, and the map's spider
// pass.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>

#include "core/globals.h"
#include "core/random.h"
#include "game/game_frame.h"
#include "game/level.h"

namespace {

const GameGlobals Blank{};  // the record as the process starts

// A hand-made row of a level: # wall . floor f food b bone p poison, H the hero, 0-9 a spider's
// slot (strength 2); full energy, one bone needed, the table's last score 10.
void Build(const char* row, uint32_t seed = 1) {
    static const char codes[] = ".#fbp";  // position = cell code
    G = Blank;
    G.TapConsumed = 1;
    G.SoundOn = 1;
    G.Energy = MaxEnergy;
    G.BonesNeeded = 1;
    G.HighScoreTable[HighScoreEntries - 1].score = 10;
    G.MazeWidth = int16_t(strlen(row));
    G.MazeHeight = 1;
    for (int x = 0; row[x]; x++) {
        const char* code = strchr(codes, row[x]);
        G.MazeGrid[x * MazeStride] = int8_t(code ? int(code - codes) : int(CellOpen));
        if (row[x] == 'H') G.HeroX = int16_t(20 * x);
        if (isdigit(row[x])) G.SpiderTable[row[x] - '0'] = {int16_t(20 * x), 0, 0, 1, 0, 2};
    }
    Srand(seed);
}

// Holds the keys named in a string of l r u d.
void Hold(const char* keys) {
    G.LeftDown = strchr(keys, 'l') != nullptr;
    G.RightDown = strchr(keys, 'r') != nullptr;
    G.UpDown = strchr(keys, 'u') != nullptr;
    G.DownDown = strchr(keys, 'd') != nullptr;
}

void Frames(int count, const char* keys = "") {
    Hold(keys);
    for (int i = 0; i < count; i++) GameFrame();
}

// The first seed whose first fight round, after skip other draws, is a bite of the dog (dog) or the
// spider.
uint32_t SeedForRound(int skip, bool dog, int bite) {
    for (uint32_t seed = 1;; seed++) {
        Srand(seed);
        for (int i = 0; i < skip; i++) Rand();
        if ((Rand() % 2 != 0) == dog && Rand() % 3 + 1 == bite) return seed;
    }
}

const int DrawsBeforeRound = 3;  // the spider's picture and two fight clouds

}  // namespace

// The camera follows the walking dog, keeping it 80 to 140 pixels inside the view.
TEST(GameFrame, AHeldKeyWalksOneCellEveryTenFrames) {
    Build("#H.........#");
    Hold("r");
    for (int frame = 1; frame <= 70; frame++) {
        GameFrame();
        ASSERT_EQ(G.HeroX, 18 + 2 * frame) << "frame " << frame;
    }
    EXPECT_EQ(G.CameraX, 16) << "140 pixels behind the step before";
    Frames(40, "l");
    EXPECT_EQ(G.CameraX, 4) << "80 pixels behind on the way back";
}

TEST(GameFrame, Pickups) {
    struct Case {
        const char* maze;
        const char* keys;
        int frames, energy;
        int heroX, score, screen;
    };
    const Case cases[] = {
        {"#bH..", "l", 1, 135, 40, 1100,
         ScreenLevelComplete},  // pushed against its niche; the last bone ends the level
        {"#fH..", "l", 1, 135, 40, 0, ScreenGame},   // left at full energy
        {"#fH..", "l", 1, 120, 40, 15, ScreenGame},  // eaten, energy up to full
        {"#pH..", "l", 1, 135, 40, 30, ScreenGame},
        {"#pHp#", "lr", 1, 135, 40, 30, ScreenGame},  // the second poison stays in its niche
        {"#b.H.", "l", 2, 135, 58, 1100,
         ScreenLevelComplete},                     // left: taken from two cells away while walking
        {"H.b", "r", 10, 135, 18, 0, ScreenGame},  // right: only after arriving
        {"H.b", "r", 11, 135, 20, 1100, ScreenLevelComplete},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.maze << " energy " << c.energy << ", " << c.frames << " frames");
        Build(c.maze);
        G.Energy = int16_t(c.energy);
        Frames(c.frames, c.keys);
        EXPECT_EQ(G.HeroX, c.heroX);
        EXPECT_EQ(G.Score, c.score);
        EXPECT_EQ(G.Energy, MaxEnergy);
        EXPECT_EQ(G.ScreenState, c.screen);
        EXPECT_EQ(G.Level, c.screen == ScreenLevelComplete);
    }
}

TEST(GameFrame, FightsStartOnContactAndRunInSlotOrder) {
    const int contacts[][3] = {{-20, -20, 1}, {0, -22, 0}};  // spider from the hero's box
    for (const auto& [dx, dy, fight] : contacts) {
        Build("#..H..#");
        G.SpiderTable[4] = SpiderRecord{int16_t(60 + dx), int16_t(dy), 0, 1, 5, 30};
        GameFrame();
        EXPECT_EQ(G.FightPhase, fight ? 2 : 0)
            << "a fight from the first frame, spider at " << dx << "," << dy;
    }
    Build("#.H0#", SeedForRound(DrawsBeforeRound, true, 3));
    G.SpiderTable[0].strength = 1;
    G.PoisonCarried = 1;
    Frames(2);
    EXPECT_EQ(G.Score, 0) << "no round in the two frames after contact";
    EXPECT_EQ(G.Energy, MaxEnergy) << "no round in the two frames after contact";
    Frames(1);
    EXPECT_EQ(G.Score, 3) << "the first round, a killing bite counted in full";
    EXPECT_EQ(G.FightPhase, 0) << "the spider beaten";
    EXPECT_EQ(G.PoisonCarried, 0) << "the poison used up";
    Build("#3H1#");  // both cells are dead ends beside the hero's: the spiders stay in contact
    std::string order;
    for (int frame = 0; frame < 3000; frame++) {
        const int phase = G.FightPhase;
        GameFrame();
        if (phase == 0 && G.FightPhase != 0) order += char('0' + G.FightSpider);
    }
    EXPECT_EQ(order, "13") << "one fight a spider, in slot order";
}

TEST(GameFrame, SpiderBitesAndGameOver) {
    const int deaths[][5] = {
        // energy, score, the spider's bite, screen, energy after
        {2, 0, 3, ScreenHighScores, 0},  {2, 0, 2, ScreenHighScores, 0},
        {3, 0, 2, ScreenGame, 1},        {2, 11, 3, ScreenNewHighScore, 0},
        {2, 10, 3, ScreenHighScores, 0},
    };
    for (const auto& [energy, score, bite, screen, energyAfter] : deaths) {
        SCOPED_TRACE(testing::Message()
                     << energy << " energy, score " << score << ", bite " << bite);
        Build("#.H0#", SeedForRound(DrawsBeforeRound, false, bite));
        G.Energy = int16_t(energy);
        G.Score = score;
        G.EnteredNameLength = 3;
        Frames(3);
        EXPECT_EQ(G.Energy, energyAfter);
        EXPECT_EQ(G.ScreenState, screen);
        EXPECT_EQ(G.FightPhase, screen == ScreenGame);
        EXPECT_EQ(G.EnteredNameLength, screen == ScreenNewHighScore ? 0 : 3);
    }
}

namespace {

// Pictures of one colour each, so a pixel names what was drawn: dog 0x10f0 + frame (column 0 of
// frame 0 0x0abc), spider 0x20f0 + frame, tile 0x30f0 + tile, panel 0x4444, exit icon 0x5555; the
// red font unseen.
void FlatPictures() {
    for (int f = 0; f < 6; f++) std::fill_n(G.HeroFrames[f], 256, uint16_t(0x10f0 + f));
    for (int r = 0; r < 16; r++) G.HeroFrames[0][r * 16] = 0x0abc;
    for (int f = 0; f < 5; f++) std::fill_n(G.SpiderFrames[f], 18 * 18, uint16_t(0x20f0 + f));
    for (int t = 0; t < 10; t++) std::fill_n(G.TileImages[t], 400, uint16_t(0x30f0 + t));
    std::fill_n(G.HudPanelImage, 240 * 80, uint16_t(0x4444));
    std::fill_n(G.ExitImage, 256, uint16_t(0x5555));
    std::fill_n(G.RedFontImage, RedFontWidth * RedFontHeight, RedFontKeyColour);
}

}  // namespace

// Map view, the hero at (400, 400): spider 0 in contact, 1 in the normal view's window, 2 only in
// the map's. The contact switches the map off; spider 1 still takes its random picture and shows
// half size in the map, spider 2 takes none and is not drawn.
TEST(GameFrame, AContactInTheMapKeepsTheMapPicture) {
    Build("H");
    FlatPictures();
    G.MazeWidth = 30;
    G.MazeHeight = 30;
    G.HeroX = 400;
    G.HeroY = 400;
    G.CameraX = 300;
    G.CameraY = 300;
    G.MapView = 1;
    G.SpiderTable[0] = {420, 400, 0, 1, 5, 30};
    G.SpiderTable[1] = {460, 460, 0, 1, 5, 30};
    G.SpiderTable[2] = {600, 400, 0, 1, 5, 30};
    GameFrame();
    const uint32_t after = G.RandomState;
    EXPECT_EQ(std::count_if(G.BackBuffer, G.BackBuffer + 240 * 240,
                            [](uint16_t v) { return (v & 0xfff0) == 0x20f0; }),
              2 * 9 * 9)
        << "two half-size spiders";
    Srand(1);
    Rand();
    Rand();
    EXPECT_EQ(after, G.RandomState) << "two pictures drawn at random";
    for (const int16_t x : {655, 675}) {  // the map's window: 250 pixels beyond the dog's box
        Build("H");
        G.MazeWidth = G.MazeHeight = 40;
        G.HeroX = G.HeroY = 400;
        G.MapView = 1;
        G.SpiderTable[0] = {x, 400, 0, 1, 5, 30};
        GameFrame();
        EXPECT_EQ(G.RandomState == 1u, x > 670) << "a picture drawn for a spider at " << x;
    }
}
