// Level setup: sizes and counts, items in niches, spiders, hero, kept fields and golden levels.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/globals.h"
#include "app/random.h"
#include "game/level.h"
#include "game/maze.h"

namespace {

int8_t At(int x, int y) { return G.MazeGrid[x * MazeStride + y]; }

bool Inside(int x, int y) { return x >= 0 && y >= 0 && x < G.MazeWidth && y < G.MazeHeight; }

int OpenNeighbours(int x, int y) {
    const int steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    int n = 0;
    for (const auto& s : steps) n += Inside(x + s[0], y + s[1]) && At(x + s[0], y + s[1]) == CellOpen;
    return n;
}

void Build(int level, uint32_t seed) {
    G.Level = int16_t(level);
    Srand(seed);
    BuildLevel();
}

int CountCells(int8_t code) {
    int n = 0;
    for (int x = 0; x < G.MazeWidth; x++)
        for (int y = 0; y < G.MazeHeight; y++) n += At(x, y) == code;
    return n;
}

}  // namespace

TEST(Level, SizesAndCountsOfEveryLevel) {
    struct Row {
        int level;  // 0-based
        int side;
        int spiders;
        int poison;
    };
    const Row rows[] = {
        {0, 20, 10, 5},     {1, 30, 22, 11},    {2, 40, 40, 20},    {3, 50, 62, 31},
        {4, 60, 90, 45},    {5, 70, 122, 61},   {6, 80, 160, 80},   {7, 90, 202, 101},
        {8, 100, 250, 125}, {9, 100, 250, 125}, {10, 100, 250, 125}, {11, 100, 250, 125},
    };
    for (const Row& r : rows) {
        Build(r.level, 1000u + r.level);
        SCOPED_TRACE(testing::Message() << "level " << r.level + 1);
        EXPECT_EQ(G.MazeWidth, r.side);
        EXPECT_EQ(G.MazeHeight, r.side);
        EXPECT_EQ(G.SpiderCount, r.spiders);
        EXPECT_EQ(G.PoisonCount, r.poison);
        EXPECT_EQ(G.BonesNeeded, 6);
        EXPECT_EQ(CountCells(CellBone), 6);
        EXPECT_EQ(CountCells(CellFood), r.spiders);
        EXPECT_EQ(CountCells(CellPoison), r.poison);
        EXPECT_EQ(CountCells(CellTaken), 0);
        int rooms = (r.side / 2) * (r.side / 2);
        EXPECT_EQ(CountCells(CellOpen), 2 * rooms - 1) << "an item took floor";
        int active = 0;
        for (const SpiderRecord& s : G.SpiderTable) active += s.active;
        EXPECT_EQ(active, r.spiders < SpiderSlots ? r.spiders : SpiderSlots);
    }
}

TEST(Level, ItemsOnlyInNiches) {
    for (int level : {0, 1, 4, 8}) {
        for (uint32_t seed : {3u, 77u}) {
            Build(level, seed);
            for (int x = 0; x < MazeStride; x++) {
                for (int y = 0; y < MazeStride; y++) {
                    int8_t c = At(x, y);
                    if (c == CellOpen || c == CellWall) continue;
                    SCOPED_TRACE(testing::Message() << "level " << level + 1 << " cell " << x << "," << y);
                    ASSERT_TRUE(Inside(x, y));
                    ASSERT_TRUE(c == CellFood || c == CellBone || c == CellPoison) << int(c);
                    ASSERT_GE(x, 1);
                    ASSERT_GE(y, 1);
                    ASSERT_TRUE(x % 2 == 1 || y % 2 == 1) << "a room holds an item";
                    ASSERT_GE(OpenNeighbours(x, y), 1);
                }
            }
        }
    }
}

TEST(Level, SpidersAndHeroOnFloorCells) {
    for (int level : {0, 1, 2, 6, 8, 20}) {
        for (uint32_t seed : {11u, 4242u, 99u}) {
            Build(level, seed);
            SCOPED_TRACE(testing::Message() << "level " << level + 1 << " seed " << seed);
            int placed = G.SpiderCount < SpiderSlots ? G.SpiderCount : SpiderSlots;
            std::vector<char> used(MazeCells, 0);
            for (int slot = 0; slot < SpiderSlots; slot++) {
                const SpiderRecord& s = G.SpiderTable[slot];
                if (slot >= placed) {
                    SpiderRecord zero = {};
                    ASSERT_EQ(0, memcmp(&s, &zero, sizeof s)) << "slot " << slot << " should be empty";
                    continue;
                }
                ASSERT_EQ(s.active, 1);
                ASSERT_EQ(s.stepsLeft, 0);
                ASSERT_EQ(s.x % CellSize, 0);
                ASSERT_EQ(s.y % CellSize, 0);
                int cx = s.x / CellSize, cy = s.y / CellSize;
                ASSERT_GE(cx, 1);
                ASSERT_GE(cy, 1);
                ASSERT_EQ(At(cx, cy), CellOpen) << "slot " << slot;
                ASSERT_FALSE(used[cx * MazeStride + cy]) << "two spiders in " << cx << "," << cy;
                used[cx * MazeStride + cy] = 1;
                ASSERT_EQ(G.SpiderOccupancy[cx * MazeStride + cy], slot + 1);
                ASSERT_GE(s.direction, 0);
                ASSERT_LE(s.direction, 3);
                ASSERT_GE(s.strength, 20);
                ASSERT_LE(s.strength, 69);
            }
            int occupied = 0;
            for (int16_t o : G.SpiderOccupancy) occupied += o != 0;
            EXPECT_EQ(occupied, placed);
            int hx = G.HeroX / CellSize, hy = G.HeroY / CellSize;
            EXPECT_TRUE(G.HeroX % CellSize == 0 && G.HeroY % CellSize == 0 && hx >= 1 && hy >= 1);
            EXPECT_TRUE(Inside(hx, hy) && At(hx, hy) == CellOpen) << "hero at " << hx << "," << hy;
            EXPECT_EQ(G.CameraX, G.HeroX - 120);
            EXPECT_EQ(G.CameraY, G.HeroY - 120);
        }
    }
}

TEST(Level, BuildResetsSomeFieldsAndKeepsTheRest) {
    G.Score = 123456789;
    G.MapView = 1;
    G.HeroFrame = 3;
    G.HeroDirection = 2;
    G.HeroFrameTimer = 7;
    G.FightSpider = 42;
    G.ScreenState = ScreenLevelComplete;
    G.Energy = 1;
    G.BonesNeeded = 0;
    G.BonesCollected = 5;
    G.PoisonCarried = 1;
    G.HeroMoving = 1;
    G.FightPhase = 2;
    for (SpiderRecord& s : G.SpiderTable) s = {1, 2, 3, 4, 5, 6};
    for (int16_t& o : G.SpiderOccupancy) o = 9;
    Build(3, 8);
    struct Field {
        const char* name;
        int value;
        int want;
    };
    const Field fields[] = {
        {"Level", G.Level, 3},           {"Score", G.Score, 123456789},   {"MapView", G.MapView, 1},
        {"HeroFrame", G.HeroFrame, 3},   {"HeroDirection", G.HeroDirection, 2},
        {"HeroFrameTimer", G.HeroFrameTimer, 7},                          {"FightSpider", G.FightSpider, 42},
        {"ScreenState", G.ScreenState, ScreenLevelComplete},              {"Energy", G.Energy, 135},
        {"BonesNeeded", G.BonesNeeded, 6}, {"BonesCollected", G.BonesCollected, 0},
        {"PoisonCarried", G.PoisonCarried, 0}, {"HeroMoving", G.HeroMoving, 0},
        {"FightPhase", G.FightPhase, 0},
    };
    for (const Field& f : fields) EXPECT_EQ(f.value, f.want) << f.name;
    for (int slot = G.SpiderCount; slot < SpiderSlots; slot++) ASSERT_EQ(G.SpiderTable[slot].x, 0) << slot;
    int occupied = 0;
    for (int16_t o : G.SpiderOccupancy) occupied += o != 0;
    EXPECT_EQ(occupied, G.SpiderCount) << "stale occupancy left over";
}

TEST(Level, NewGameStartsTheRunAtLevelOne) {
    G.ScreenState = ScreenHighScores;
    G.Level = 8;
    G.Score = G.Energy = G.HeroFrame = G.HeroFrameTimer = G.HeroDirection = G.MapView = G.FightPhase = 3;
    Srand(21);
    NewGame();
    const int got[] = {G.ScreenState, G.Level, G.Score, G.Energy, G.HeroFrame, G.HeroFrameTimer,
                       G.HeroDirection, G.MapView, G.FightPhase, G.MazeWidth};
    const int want[] = {ScreenGame, 0, 0, 135, 5, 0, 0, 0, 0, 20};
    for (int i = 0; i < 10; i++) EXPECT_EQ(got[i], want[i]) << "field " << i;
    // The level is the one BuildLevel makes from the same seed.
    std::vector<int8_t> grid(G.MazeGrid, G.MazeGrid + MazeCells);
    int heroCell = G.HeroX * 1000 + G.HeroY;
    Build(0, 21);
    EXPECT_EQ(0, memcmp(grid.data(), G.MazeGrid, MazeCells));
    EXPECT_EQ(heroCell, G.HeroX * 1000 + G.HeroY);
}

TEST(Level, NegativeLevelStillBuildsThe20By20Maze) {
    for (int level : {-1, -2, -32768}) {
        Build(level, 5);
        EXPECT_EQ(G.MazeWidth, 20) << level;
        EXPECT_EQ(G.MazeHeight, 20) << level;
        EXPECT_EQ(CountCells(CellBone), 6) << level;
        EXPECT_EQ(G.Level, level) << "BuildLevel only reads Level";
    }
}

// ---- Golden levels ------------------------------------------------------------------------
// Each fixture holds the grid rows, the spider table, the hero cell and the next random number
// after the build, for one seed and level; set MURKO_WRITE_GOLDEN=1 to write them afresh.

namespace {

struct Golden {
    uint32_t seed;
    int level;  // 0-based
};

const Golden kGoldens[] = {
    {1, 0}, {20260, 0}, {1, 1}, {31337, 1}, {1, 8}, {777, 8},
};

const char kCellChars[] = ".#fbpt";  // open, wall, food, bone, poison, taken

std::string GoldenPath(const Golden& g) {
    return std::string(MURKO_SOURCE_DIR) + "/tests/golden/level" + std::to_string(g.level + 1) + "_seed" +
           std::to_string(g.seed) + ".txt";
}

// The fixture text of the level just built; nextDraw is the first number drawn after it.
std::string DescribeLevel(const Golden& g, int nextDraw) {
    std::ostringstream out;
    out << "# Level " << g.level + 1 << ", seed " << g.seed << ": Srand(" << g.seed << "); G.Level = " << g.level
        << "; BuildLevel();\n"
        << "# Grid rows top to bottom: . open  # wall  f food  b bone  p poison\n"
        << "# Then the occupied spider slots, the hero's cell, and the next number drawn after the build.\n";
    out << "size " << G.MazeWidth << " " << G.MazeHeight << "\n";
    for (int y = 0; y < G.MazeHeight; y++) {
        for (int x = 0; x < G.MazeWidth; x++) out << kCellChars[At(x, y)];
        out << "\n";
    }
    out << "# slot x y direction active stepsLeft strength\n";
    for (int slot = 0; slot < SpiderSlots; slot++) {
        const SpiderRecord& s = G.SpiderTable[slot];
        if (!s.active) continue;
        out << "spider " << slot << " " << s.x << " " << s.y << " " << s.direction << " " << s.active << " "
            << s.stepsLeft << " " << s.strength << "\n";
    }
    out << "hero " << G.HeroX / CellSize << " " << G.HeroY / CellSize << "\n";
    out << "next " << nextDraw << "\n";
    return out.str();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
}

}  // namespace

TEST(Level, GoldenLevels) {
    const bool write = getenv("MURKO_WRITE_GOLDEN") != nullptr;
    for (const Golden& g : kGoldens) {
        Build(g.level, g.seed);
        std::string got = DescribeLevel(g, Rand());
        if (write) {
            std::ofstream(GoldenPath(g)) << got;
            continue;
        }
        std::ifstream in(GoldenPath(g));
        ASSERT_TRUE(in.good()) << "missing fixture " << GoldenPath(g);
        std::stringstream want;
        want << in.rdbuf();
        std::vector<std::string> a = Lines(want.str()), b = Lines(got);
        for (size_t i = 0; i < a.size() && i < b.size(); i++) {
            ASSERT_EQ(a[i], b[i]) << GoldenPath(g) << " line " << i + 1;
        }
        ASSERT_EQ(a.size(), b.size()) << GoldenPath(g);
    }
}
