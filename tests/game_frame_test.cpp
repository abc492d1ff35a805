// The game frame: walking, pickups, level end, fights, map key, taps, the picture, a soak and golden runs.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <initializer_list>
#include <string>

#include "core/globals.h"
#include "core/random.h"
#include "game/game_frame.h"
#include "game/level.h"

namespace {

const GameGlobals Blank{};  // the record as the process starts

// A hand-made level, a string a row: # wall . floor f food b bone p poison, H the hero, 0-9 a spider's slot
// (on floor, strength 2); full energy, six bones needed, the table's last score 10.
void Build(std::initializer_list<const char*> rows, uint32_t seed = 1) {
    static const char codes[] = ".#fbp";  // position = cell code
    G = Blank;
    G.TapConsumed = 1, G.Energy = MaxEnergy, G.BonesNeeded = 6, G.HeroFrame = 5, G.SoundOn = 1;
    G.HighScoreTable[HighScoreEntries - 1].score = 10;
    G.MazeHeight = int16_t(rows.size());
    for (int y = 0; const char* row : rows) {
        G.MazeWidth = int16_t(strlen(row));
        for (int x = 0; row[x]; x++) {
            const char* code = strchr(codes, row[x]);
            G.MazeGrid[x * MazeStride + y] = int8_t(code ? int(code - codes) : int(CellOpen));
            if (row[x] == 'H') G.HeroX = int16_t(20 * x), G.HeroY = int16_t(20 * y);
            if (isdigit(row[x])) G.SpiderTable[row[x] - '0'] = SpiderRecord{int16_t(20 * x), int16_t(20 * y), 0, 1, 0, 2};
        }
        y++;
    }
    G.CameraX = int16_t(G.HeroX - 120), G.CameraY = int16_t(G.HeroY - 120);
    Srand(seed);
}

int8_t Cell(int x, int y) { return G.MazeGrid[x * MazeStride + y]; }

// Holds the keys named in a string of l r u d and presses A for an 'a'.
void Hold(const char* keys) {
    G.LeftDown = !!strchr(keys, 'l'), G.RightDown = !!strchr(keys, 'r'), G.UpDown = !!strchr(keys, 'u');
    G.DownDown = !!strchr(keys, 'd'), G.ALatch |= !!strchr(keys, 'a');
}

void Frames(int count, const char* keys = "") {
    Hold(keys);
    for (int i = 0; i < count; i++) GameFrame();
}

// The first seed whose first fight round, after skip other draws, is a bite of the dog (dog) or the spider.
uint32_t SeedForRound(int skip, bool dog, int bite) {
    for (uint32_t seed = 1;; seed++) {
        Srand(seed);
        for (int i = 0; i < skip; i++) Rand();
        if ((Rand() % 2 != 0) == dog && Rand() % 3 + 1 == bite) return seed;
    }
}

}  // namespace

TEST(GameFrame, WalkingAndPickups) {
    Build({"#H.......#"});
    for (int frame = 1; frame <= 60; frame++)  // one cell every 10 frames, no pause at cells
        ASSERT_EQ((Frames(1, "r"), G.HeroX), 20 + 2 * (frame - 1)) << "frame " << frame;
    struct Case {
        const char* maze;
        int energy, bones, frames;
        const char* keys;
        int at, item, heroX, score, energyAfter, screen;  // the item's column and cell afterwards
    };
    const Case cases[] = {
        {"#bH..", 135, 0, 3, "l", 1, CellTaken, 40, 100, 135, ScreenGame},  // pushed, not walked
        {"#fH..", 135, 0, 1, "l", 1, CellFood, 40, 0, 135, ScreenGame},
        {"#fH..", 120, 0, 1, "l", 1, CellTaken, 40, 15, 135, ScreenGame},
        {"#pH..", 135, 0, 1, "l", 1, CellTaken, 40, 30, 135, ScreenGame},
        {"#bH..", 135, 5, 1, "l", 1, CellTaken, 40, 1100, 135, ScreenLevelComplete},
        {"#b.H.", 135, 0, 2, "l", 1, CellTaken, 58, 100, 135, ScreenGame},  // left: taken while walking
        {"H.b", 135, 0, 10, "r", 2, CellBone, 18, 0, 135, ScreenGame},      // right: only after arriving
        {"H.b", 135, 0, 11, "r", 2, CellTaken, 20, 100, 135, ScreenGame},
        {"Hb.", 135, 0, 3, "rl", 1, CellTaken, 0, 100, 135, ScreenGame},   // right wins, left is tried first
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.maze << " " << c.keys << " " << c.frames);
        Build({c.maze});
        G.Energy = int16_t(c.energy), G.BonesCollected = int16_t(c.bones);
        Frames(c.frames, c.keys);
        EXPECT_EQ(Cell(c.at, 0), c.item);
        EXPECT_EQ(G.HeroX, c.heroX);
        EXPECT_EQ(G.Score, c.score);
        EXPECT_EQ(G.Energy, c.energyAfter);
        EXPECT_EQ(G.ScreenState, c.screen);
        EXPECT_EQ(G.Level, c.screen == ScreenLevelComplete);
    }
}

TEST(GameFrame, FightsStartRunAndEnd) {
    const int contacts[][3] = {{20, 0, 1}, {-20, 20, 1}, {0, 0, 1}, {20, -20, 1}, {22, 0, 0}, {0, -22, 0}, {20, 21, 0}};
    for (const auto& [dx, dy, fight] : contacts) {  // spider from the hero's box; a fight in the first frame
        Build({"#######", "#.....#", "#.....#", "#..H..#", "#.....#", "#######"});
        G.SpiderTable[4] = SpiderRecord{int16_t(60 + dx), int16_t(60 + dy), 0, 1, 5, 30};
        Frames(1);
        EXPECT_EQ(G.FightPhase, fight ? 2 : 0) << dx << "," << dy;
        EXPECT_EQ(G.SpiderTable[4].active, 1 - fight) << dx << "," << dy;
    }
    Build({"#.H0#"});
    Frames(2);
    EXPECT_EQ(G.Score + MaxEnergy - G.Energy, 0) << "no round in the two frames after contact";
    Frames(1);
    EXPECT_GT(G.Score + MaxEnergy - G.Energy, 0) << "the first round";
    Build({"#3H1#"});  // both cells are dead ends beside the hero's: the spiders stay in contact
    std::string order;
    for (int frame = 0, phase = 0; frame < 3000; phase = G.FightPhase, frame++)
        if (Frames(1), phase == 0 && G.FightPhase != 0) order += char('0' + G.FightSpider);
    EXPECT_EQ(order, "13") << "one fight a spider, in slot order";

    const int before = 3;  // draws before the first round: the spider's picture and two clouds
    Build({"#.H0#"}, SeedForRound(before, true, 3));
    G.SpiderTable[0].strength = 1;
    Frames(3);
    EXPECT_EQ(G.Score, 3) << "a killing bite counts in full";
    EXPECT_EQ(G.FightPhase, 0);
    const int deaths[][5] = {  // energy, score, the spider's bite, screen, energy after
        {2, 0, 3, ScreenHighScores, 0},    {2, 0, 2, ScreenHighScores, 0}, {3, 0, 2, ScreenGame, 1},
        {2, 11, 3, ScreenNewHighScore, 0}, {2, 10, 3, ScreenHighScores, 0},
    };
    for (const auto& [energy, score, bite, screen, energyAfter] : deaths) {
        SCOPED_TRACE(testing::Message() << energy << " energy, score " << score << ", bite " << bite);
        Build({"#.H0#"}, SeedForRound(before, false, bite));
        G.Energy = int16_t(energy), G.Score = score, G.EnteredNameLength = 3, G.EnteredName[0] = 'A', G.ShiftOn = 1;
        Frames(3);
        EXPECT_EQ(G.Energy, energyAfter);
        EXPECT_EQ(G.ScreenState, screen);
        EXPECT_EQ(G.FightPhase, screen == ScreenGame);
        EXPECT_EQ(G.EnteredNameLength, screen == ScreenNewHighScore ? 0 : 3);
        EXPECT_EQ(G.EnteredName[0], screen == ScreenNewHighScore ? 0 : 'A');
        EXPECT_EQ(G.ShiftOn, 1);
    }
}

TEST(GameFrame, MapKeyAndTaps) {
    Build({"#.H0#"});
    for (Frames(1, "a"); G.FightPhase != 0; Frames(1)) {
        ASSERT_EQ(G.ALatch, 1) << "A waits for the fight's end";
        ASSERT_EQ(G.MapView, 0);
    }
    Frames(12);
    EXPECT_EQ(G.MapView, 1) << "the latched press, and the map stays";
    Frames(1, "l");
    EXPECT_EQ(G.MapView, 0) << "a direction key taken";
    const int taps[][4] = {  // x, y, screen, sound; tapped during a fight
        {230, 5, ScreenMainMenu, 1}, {225, 15, ScreenMainMenu, 1}, {224, 5, ScreenGame, 1}, {230, 16, ScreenGame, 1},
        {230, 310, ScreenGame, 0},   {224, 303, ScreenGame, 0},    {223, 319, ScreenGame, 1},
    };
    for (const auto& [x, y, screen, sound] : taps) {
        Build({"#.H0#"});
        Frames(2);
        G.TapConsumed = 0, G.TapPosX = x, G.TapPosY = y;
        Frames(1);
        EXPECT_EQ(G.ScreenState, screen) << x << "," << y;
        EXPECT_EQ(G.SoundOn, sound) << x << "," << y;
    }
}

namespace {

// Pictures of one colour each, so a pixel names what was drawn: dog 0x10f0 + frame (column 0 of frame 0
// 0x0abc), spider 0x20f0 + frame, tile 0x30f0 + tile, panel 0x4444, exit icon 0x5555; the red font unseen.
void FlatPictures() {
    for (int f = 0; f < 6; f++) std::fill_n(G.HeroFrames[f], 256, uint16_t(0x10f0 + f));
    for (int r = 0; r < 16; r++) G.HeroFrames[0][r * 16] = 0x0abc;
    for (int f = 0; f < 5; f++) std::fill_n(G.SpiderFrames[f], 18 * 18, uint16_t(0x20f0 + f));
    for (int t = 0; t < 10; t++) std::fill_n(G.TileImages[t], 400, uint16_t(0x30f0 + t));
    std::fill_n(G.HudPanelImage, 240 * 80, uint16_t(0x4444));
    std::fill_n(G.ExitImage, 256, uint16_t(0x5555));
    std::fill_n(G.RedFontImage, RedFontWidth * RedFontHeight, RedFontKeyColour);
}

// The hero at (400, 400) in a 30 x 30 room, the camera at (300, 300), a spider at (420, 440).
void Room(int map, int fight, int frame) {
    Build({"H"});
    FlatPictures();
    G.MazeWidth = G.MazeHeight = 30, G.BonesCollected = 3, G.PoisonCarried = 1, G.Energy = 100;
    G.HeroX = G.HeroY = 400, G.CameraX = G.CameraY = 300, G.SpiderTable[7] = {420, 440, 0, !fight, 5, 30};
    G.MapView = int16_t(map), G.FightPhase = int16_t(fight), G.FightSpider = 7, G.HeroFrame = int16_t(frame);
}

}  // namespace

TEST(GameFrame, PictureToThePixel) {
    const int pixels[][7] = {  // map view, fight phase, hero frame, x, y, colour, mask
        {0, 0, 5, 102, 102, 0x10f5, 0xffff}, {0, 0, 5, 101, 102, 0x30f0, 0xffff},  // dog 2 inside its box
        {0, 0, 5, 117, 117, 0x10f5, 0xffff}, {0, 0, 5, 118, 102, 0x30f0, 0xffff},
        {0, 0, 0, 102, 110, 0x0abc, 0xffff}, {0, 0, 6, 117, 110, 0x0abc, 0xffff},  // mirrored for right
        {0, 0, 5, 121, 141, 0x20f0, 0xfff0}, {0, 0, 5, 138, 158, 0x20f0, 0xfff0},  // spider 1 inside
        {0, 0, 5, 120, 141, 0x30f0, 0xffff}, {0, 0, 5, 139, 141, 0x30f0, 0xffff},
        {0, 2, 5, 100, 100, 0x30f6, 0xfffe}, {0, 2, 5, 119, 119, 0x30f6, 0xfffe},  // the fight cloud
        {1, 0, 6, 125, 125, 0x0abc, 0xffff}, {1, 0, 6, 132, 132, 0x10f0, 0xffff},  // map: frame 0 at 125
        {1, 0, 6, 133, 132, 0x30f0, 0xffff}, {1, 0, 6, 135, 145, 0x20f0, 0xfff0},  // and the spider
        {1, 0, 6, 143, 153, 0x20f0, 0xfff0}, {1, 0, 6, 239, 239, 0x30f1, 0xffff},  // beyond the maze
        {0, 0, 5, 224, 0, 0x5555, 0xffff},   {0, 0, 5, 223, 0, 0x30f0, 0xffff},    // exit icon
        {0, 0, 5, 100, 260, 0x30f3, 0xffff}, {0, 0, 5, 159, 279, 0x30f3, 0xffff},  // three bones
        {0, 0, 5, 160, 260, 0x30f5, 0xffff}, {0, 0, 5, 219, 279, 0x30f5, 0xffff},  // three empty slots
        {0, 0, 5, 220, 260, 0x4444, 0xffff}, {0, 0, 5, 100, 280, 0x30f4, 0xffff},  // poison
        {0, 0, 5, 200, 244, 0x4444, 0xffff}, {0, 0, 5, 201, 244, 0x0000, 0xffff},  // 100 energy
        {0, 0, 5, 236, 255, 0x0000, 0xffff}, {0, 0, 5, 237, 250, 0x4444, 0xffff},
        {0, 0, 5, 201, 243, 0x4444, 0xffff}, {0, 0, 5, 201, 256, 0x4444, 0xffff},
    };
    for (const auto& [map, fight, frame, x, y, colour, mask] : pixels) {
        Room(map, fight, frame);
        GameFrame();
        EXPECT_EQ(G.BackBuffer[y * 240 + x] & mask, colour) << map << " " << fight << " " << frame << " at " << x << "," << y;
    }
    for (int e : {0, 1, 134, 135}) {  // the strip black from its right end down to column e
        Room(0, 0, 5);
        G.Energy = int16_t(e);
        GameFrame();
        EXPECT_EQ(G.BackBuffer[250 * 240 + 101 + e], 0) << e << " energy";
        EXPECT_EQ(G.BackBuffer[250 * 240 + 100 + e], 0x4444) << e << " energy";
    }
}

namespace {

// A made-up player: every 12 frames, from its own generator, stand, hold a key or two, or press A.
void MadeUpInput(uint32_t& state, int frame) {
    static const char* const choices[8] = {"", "l", "r", "u", "d", "lu", "rd", "a"};
    if (frame % 12 == 0) state = state * 1103515245u + 12345u, Hold(choices[state >> 16 & 7]);
}

bool Open(int x, int y) { return x >= 0 && y >= 0 && x < G.MazeWidth && y < G.MazeHeight && Cell(x, y) == CellOpen; }

// A 20 x 20 box on a floor cell, or between two along an axis.
bool OnFloor(int x, int y) { return (x % 20 == 0 || y % 20 == 0) && Open(x / 20, y / 20) && Open((x + 19) / 20, (y + 19) / 20); }

void StartLevel(int level, uint32_t seed) {
    Build({"H"}, seed);
    FlatPictures();
    NewGame();  // as PLAY GAME does, before the level list builds the chosen level
    G.Level = int16_t(level), BuildLevel();
}

uint64_t Fnv(const void* data, size_t size, uint64_t hash = 1469598103934665603u) {
    for (size_t i = 0; i < size; i++) hash = (hash ^ static_cast<const uint8_t*>(data)[i]) * 1099511628211u;
    return hash;
}

}  // namespace

TEST(GameFrame, SoakOnEveryLevelSize) {
    int fights = 0;
    for (int level = 0; level < 9; level++) {
        StartLevel(level, 900u + uint32_t(level));
        for (uint32_t frame = 0, input = uint32_t(level); frame < 6000; frame++) {
            MadeUpInput(input, int(frame));
            const int phase = G.FightPhase, heroX = G.HeroX, heroY = G.HeroY;
            GameFrame();
            fights += phase == 0 && G.FightPhase != 0;
            SCOPED_TRACE(testing::Message() << "level " << level + 1 << " frame " << frame);
            ASSERT_TRUE(heroX - G.CameraX >= 80 && heroX - G.CameraX <= 140) << heroX - G.CameraX;  // as drawn
            ASSERT_TRUE(heroY - G.CameraY >= 80 && heroY - G.CameraY <= 140) << heroY - G.CameraY;
            ASSERT_TRUE(G.Energy >= 0 && G.Energy <= MaxEnergy) << G.Energy;
            ASSERT_TRUE(OnFloor(G.HeroX, G.HeroY)) << G.HeroX << "," << G.HeroY;
            for (const SpiderRecord& s : G.SpiderTable) ASSERT_TRUE(s.active != 1 || OnFloor(s.x, s.y)) << s.x << "," << s.y;
            const SpiderRecord& fought = G.SpiderTable[G.FightSpider];
            ASSERT_TRUE(G.FightPhase == 0 || (fought.active == 0 && fought.strength > 0)) << G.FightPhase;
            if (G.ScreenState != ScreenGame) G.Level = int16_t(level), BuildLevel(), G.ScreenState = ScreenGame;
        }
    }
    EXPECT_GT(fights, 20) << "the soak met spiders";
}

// Replays of a made-up player: the random draws of pictures, spider ways and fights, in their order,
// decide every number below. Change them only for a deliberate change of that order, and say why.
TEST(GameFrame, GoldenRuns) {
    struct Golden {
        uint32_t seed;
        int level, frames, score;
        uint32_t randomState;
        uint64_t state, picture;  // hashes of the game's fields and of the last picture
    };
    const Golden goldens[] = {
        {13, 0, 270, 187, 2532752310u, 0x936037bfca096d66u, 0x33b6a66576f92523u},   // a fight, a bone and poison
        {1, 0, 135, 31, 1862747012u, 0x634b3037c2d67d0u, 0xdeadf25fafa7bfceu},     // the map
        {20260, 0, 600, 65, 2031953901u, 0x19c674dec60dccf8u, 0x20523e2a6cc59ec3u}, // normal view, 68 energy
        {64, 1, 425, 131, 2344079013u, 0xbc1412868a9166fbu, 0xfdb09df66013593u},    // level 2, a fight
        {777, 8, 300, 0, 4066864608u, 0x4c096d2cf1c47ee4u, 0x9037735bb642c69u},     // level 9's map, 150 spiders
    };
    for (const Golden& g : goldens) {
        StartLevel(g.level, g.seed);
        uint32_t input = g.seed;
        int frame = 0;
        for (; frame < g.frames && G.ScreenState == ScreenGame; frame++) MadeUpInput(input, frame), GameFrame();
        const int32_t fields[] = {frame,         G.Score,      G.Energy,     G.BonesCollected, G.PoisonCarried,
                                  G.FightPhase,  G.FightSpider, G.MapView,   G.HeroX,          G.HeroY,
                                  G.HeroDirection, G.HeroMoving, G.HeroFrame, G.HeroFrameTimer, G.CameraX,
                                  G.CameraY,     G.ScreenState, G.Level};
        const uint64_t state = Fnv(fields, sizeof fields, Fnv(G.SpiderTable, sizeof G.SpiderTable, Fnv(G.MazeGrid, sizeof G.MazeGrid)));
        EXPECT_EQ(G.Score, g.score) << "seed " << g.seed;
        EXPECT_EQ(G.RandomState, g.randomState) << "seed " << g.seed;
        EXPECT_EQ(state, g.state) << "seed " << g.seed;
        EXPECT_EQ(Fnv(G.BackBuffer, sizeof G.BackBuffer), g.picture) << "seed " << g.seed;
    }
}
