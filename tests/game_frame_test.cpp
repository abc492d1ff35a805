// The game frame: walking and pickups, fights from contact to game over, map key, taps, probe
// pixels, golden runs.
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

// Holds the keys named in a string of l r u d and presses A for an 'a'.
void Hold(const char* keys) {
    G.LeftDown = strchr(keys, 'l') != nullptr;
    G.RightDown = strchr(keys, 'r') != nullptr;
    G.UpDown = strchr(keys, 'u') != nullptr;
    G.DownDown = strchr(keys, 'd') != nullptr;
    if (strchr(keys, 'a')) G.ALatch = 1;
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

TEST(GameFrame, AHeldKeyWalksOneCellEveryTenFrames) {
    Build("#H.......#");
    Hold("r");
    for (int frame = 1; frame <= 60; frame++) {
        GameFrame();
        ASSERT_EQ(G.HeroX, 18 + 2 * frame) << "frame " << frame;
    }
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
    const int contacts[][3] = {
        {20, 20, 1}, {-20, -20, 1}, {22, 0, 0}, {0, -22, 0}};  // spider from the hero's box
    for (const auto& [dx, dy, fight] : contacts) {
        Build("#..H..#");
        G.SpiderTable[4] = SpiderRecord{int16_t(60 + dx), int16_t(dy), 0, 1, 5, 30};
        GameFrame();
        EXPECT_EQ(G.FightPhase, fight ? 2 : 0)
            << "a fight from the first frame, spider at " << dx << "," << dy;
    }
    Build("#.H0#", SeedForRound(DrawsBeforeRound, true, 3));
    G.SpiderTable[0].strength = 1;
    Frames(2);
    EXPECT_EQ(G.Score, 0) << "no round in the two frames after contact";
    EXPECT_EQ(G.Energy, MaxEnergy) << "no round in the two frames after contact";
    Frames(1);
    EXPECT_EQ(G.Score, 3) << "the first round, a killing bite counted in full";
    EXPECT_EQ(G.FightPhase, 0) << "the spider beaten";
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

TEST(GameFrame, MapKeyAndTapsDuringAFight) {
    Build("#.H0#");
    for (Frames(1, "a"); G.FightPhase != 0; Frames(1))
        ASSERT_EQ(G.ALatch, 1) << "A waits for the fight's end";
    Frames(12);
    EXPECT_EQ(G.MapView, 1) << "the latched press, and the map stays";
    Frames(1, "l");
    EXPECT_EQ(G.MapView, 0) << "a direction key taken";
    const int taps[][4] = {
        // x, y, screen, sound
        {225, 15, ScreenMainMenu, 1}, {224, 5, ScreenGame, 1},   {230, 16, ScreenGame, 1},
        {224, 303, ScreenGame, 0},    {223, 319, ScreenGame, 1},
    };
    for (const auto& [x, y, screen, sound] : taps) {
        Build("#.H0#");
        Frames(2);
        G.TapConsumed = 0;
        G.TapPosX = x;
        G.TapPosY = y;
        GameFrame();
        EXPECT_EQ(G.ScreenState, screen) << "tap at " << x << "," << y;
        EXPECT_EQ(G.SoundOn, sound) << "tap at " << x << "," << y;
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

TEST(GameFrame, ProbePixels) {
    const int pixels[][7] = {
        // map view, fight phase, hero frame, x, y, colour, mask
        {0, 0, 5, 102, 102, 0x10f5, 0xffff},  // the dog 2 pixels inside its box
        {0, 0, 6, 117, 110, 0x0abc, 0xffff},  // frame 6 is frame 0 mirrored
        {0, 0, 5, 121, 141, 0x20f0, 0xfff0},  // the spider 1 pixel inside
        {0, 2, 5, 100, 100, 0x30f6, 0xfffe},  // the fight cloud
        {1, 0, 6, 125, 125, 0x0abc, 0xffff},  // map: the dog's frame 0 at 125
        {0, 0, 5, 224, 0, 0x5555, 0xffff},    // exit icon
        {0, 0, 5, 159, 279, 0x30f3, 0xffff},  // the third of three bones
        {0, 0, 5, 101, 250, 0x0000, 0xffff},  // no energy: the strip black from its left end
    };
    for (const auto& [map, fight, frame, x, y, colour, mask] : pixels) {
        Build("H");
        FlatPictures();
        G.MazeWidth = 30;  // the hero at (400, 400) in a room, the camera at (300, 300), a spider
                           // at (420, 440)
        G.MazeHeight = 30;
        G.HeroX = 400;
        G.HeroY = 400;
        G.CameraX = 300;
        G.CameraY = 300;
        G.SpiderTable[7] = {420, 440, 0, int16_t(!fight), 5, 30};
        G.BonesNeeded = 6;
        G.BonesCollected = 3;
        G.MapView = int16_t(map);
        G.FightPhase = int16_t(fight);
        G.HeroFrame = int16_t(frame);
        G.Energy = 0;
        GameFrame();
        EXPECT_EQ(G.BackBuffer[y * 240 + x] & mask, colour) << "at " << x << "," << y;
    }
}

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
}

namespace {

// A made-up player: every 12 frames, from its own generator, stand, hold a key or two, or press A.
void MadeUpInput(uint32_t& state, int frame) {
    static const char* const choices[8] = {"", "l", "r", "u", "d", "lu", "rd", "a"};
    if (frame % 12 != 0) return;
    state = state * 1103515245u + 12345u;
    Hold(choices[state >> 16 & 7]);
}

// The FNV-1a hash of a block of bytes.
uint64_t Fnv(const void* data, size_t size) {
    uint64_t hash = 1469598103934665603u;
    for (size_t i = 0; i < size; i++)
        hash = (hash ^ static_cast<const uint8_t*>(data)[i]) * 1099511628211u;
    return hash;
}

}  // namespace

// Replays of a made-up player, the camera keeping the hero in view all the way: the random draws of
// pictures, spider ways and fights, in their order, decide every number below. Change them only for
// a deliberate change of that order, and say why.
TEST(GameFrame, GoldenRuns) {
    struct Golden {
        uint32_t seed;
        int level, frames, score;
        uint32_t randomState;
        uint64_t picture;  // a hash of the last picture
    };
    const Golden goldens[] = {
        {13, 0, 270, 187, 2532752310u, 0x33b6a66576f92523u},  // a fight, a bone and poison
        {64, 1, 425, 131, 2344079013u, 0xfdb09df66013593u},   // level 2, a fight
        {777, 8, 300, 0, 4066864608u, 0x9037735bb642c69u},    // level 9's map, 150 spiders
    };
    for (const Golden& g : goldens) {
        SCOPED_TRACE(testing::Message() << "seed " << g.seed);
        Build("H", g.seed);
        FlatPictures();
        NewGame();  // as PLAY GAME does, before the level list builds the chosen level
        G.Level = int16_t(g.level);
        BuildLevel();
        uint32_t input = g.seed;
        int frame = 0;
        for (; frame < g.frames && G.ScreenState == ScreenGame; frame++) {
            MadeUpInput(input, frame);
            const int heroX = G.HeroX;
            const int heroY = G.HeroY;
            GameFrame();
            ASSERT_TRUE(heroX - G.CameraX >= 80 && heroX - G.CameraX <= 140)
                << "the hero's column as drawn, frame " << frame;
            ASSERT_TRUE(heroY - G.CameraY >= 80 && heroY - G.CameraY <= 140)
                << "the hero's row as drawn, frame " << frame;
        }
        EXPECT_EQ(G.Score, g.score);
        EXPECT_EQ(G.RandomState, g.randomState);
        EXPECT_EQ(Fnv(G.BackBuffer, sizeof G.BackBuffer), g.picture);
    }
}
