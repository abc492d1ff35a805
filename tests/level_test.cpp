// Level setup: sizes and counts of every level, the fields a build resets and keeps, golden levels.
#include "game/level.h"
#include "core/globals.h"
#include "core/random.h"
#include "game/maze.h"
#include "tests/test_support.h"

namespace {

int8_t At(int x, int y) { return G.MazeGrid[x * MazeStride + y]; }

void Build(int level, uint32_t seed) {
    G.Level = int16_t(level);
    Srand(seed);
    BuildLevel();
}

int CountCells(int8_t code) { return int(std::count(G.MazeGrid, G.MazeGrid + MazeCells, code)); }

}  // namespace

TEST(Level, SizesAndCountsOfEveryLevel) {
    const int rows[][4] = {
        // level (0-based), side, spiders, poison
        {-32768, 20, 10, 5}, {0, 20, 10, 5},     {1, 30, 22, 11},     {4, 60, 90, 45},
        {7, 90, 202, 101},   {8, 100, 250, 125}, {11, 100, 250, 125},
    };
    for (const auto& r : rows) {
        Build(r[0], 1000u + r[0]);
        const int got[] = {G.MazeWidth,
                           G.MazeHeight,
                           G.SpiderCount,
                           G.PoisonCount,
                           CountCells(CellBone),
                           CountCells(CellFood),
                           CountCells(CellPoison),
                           CountCells(CellOpen),
                           G.BonesNeeded,
                           G.Level};
        const int want[] = {r[1], r[1], r[2], r[3], 6, r[2], r[3], 2 * (r[1] / 2) * (r[1] / 2) - 1,
                            6,    r[0]};
        for (int i = 0; i < 10; i++)
            EXPECT_EQ(got[i], want[i]) << "level " << r[0] + 1 << " field " << i;
    }
}

TEST(Level, BuildResetsTheLevelStateAndKeepsTheRest) {
    G.Score = 123456789;
    G.MapView = G.HeroFrame = G.HeroDirection = G.HeroFrameTimer = G.FightSpider = 3;
    G.ScreenState = ScreenLevelComplete;
    G.Energy = G.BonesNeeded = 0;
    G.BonesCollected = G.PoisonCarried = G.HeroMoving = G.FightPhase = 2;
    for (int16_t& o : G.SpiderOccupancy) o = 9;
    Build(3, 8);
    const int got[] = {G.Level,         G.Score,          G.MapView,        G.HeroFrame,
                       G.HeroDirection, G.HeroFrameTimer, G.FightSpider,    G.ScreenState,
                       G.Energy,        G.BonesNeeded,    G.BonesCollected, G.PoisonCarried,
                       G.HeroMoving,    G.FightPhase};
    const int want[] = {3, 123456789, 3, 3, 3, 3, 3, ScreenLevelComplete, 135, 6, 0, 0, 0, 0};
    for (int i = 0; i < 14; i++) EXPECT_EQ(got[i], want[i]) << "field " << i;
    EXPECT_EQ(MazeCells - std::count(G.SpiderOccupancy, G.SpiderOccupancy + MazeCells, 0), 62)
        << "stale occupancy";
}

// Each fixture holds the grid rows, the spider table, the hero cell and the next random number
// after the build, for one seed and level; set MURKO_WRITE_GOLDEN=1 to write them afresh.
TEST(Level, GoldenLevels) {
    const int goldens[][2] = {{1, 0},     {20260, 0}, {1, 1},
                              {31337, 1}, {1, 8},     {777, 8}};  // seed, level
    for (const auto& [seed, level] : goldens) {
        Build(level, seed);
        std::ostringstream got;
        got << "# Level " << level + 1 << ", seed " << seed << ": Srand(" << seed
            << "); G.Level = " << level
            << "; BuildLevel();\n# Grid rows top to bottom: . open  # wall  f food  b bone  p "
               "poison\n"
            << "# Then the occupied spider slots, the hero's cell, and the next number drawn after "
               "the build.\n"
            << "size " << G.MazeWidth << " " << G.MazeHeight << "\n";
        for (int y = 0; y < G.MazeHeight; y++) {
            for (int x = 0; x < G.MazeWidth; x++) got << ".#fbpt"[At(x, y)];
            got << "\n";
        }
        got << "# slot x y direction active stepsLeft strength\n";
        for (int slot = 0; slot < SpiderSlots; slot++) {
            const SpiderRecord& s = G.SpiderTable[slot];
            if (s.active)
                got << "spider " << slot << " " << s.x << " " << s.y << " " << s.direction << " "
                    << s.active << " " << s.stepsLeft << " " << s.strength << "\n";
        }
        got << "hero " << G.HeroX / CellSize << " " << G.HeroY / CellSize << "\nnext " << Rand()
            << "\n";
        ExpectGolden("level" + std::to_string(level + 1) + "_seed" + std::to_string(seed) + ".txt",
                     got.str());
    }
}
