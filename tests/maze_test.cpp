// Maze generation: perfect mazes, the walls that stay, tiny and clamped sizes, and the random
// draws.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <vector>

#include "core/globals.h"
#include "core/random.h"
#include "game/maze.h"

namespace {

int8_t At(int x, int y) { return G.MazeGrid[x * MazeStride + y]; }

bool Inside(int x, int y) { return x >= 0 && y >= 0 && x < G.MazeWidth && y < G.MazeHeight; }

bool OpenAt(int x, int y) { return Inside(x, y) && At(x, y) == CellOpen; }

// Builds a maze over leftovers of an earlier level and checks the size it kept and the draws it
// made.
void Generate(int width, int height, uint32_t seed) {
    memset(G.MazeGrid, 7, sizeof G.MazeGrid);
    G.MazeWidth = int16_t(width);
    G.MazeHeight = int16_t(height);
    Srand(seed);
    GenerateMaze();
    int next = Rand();
    ASSERT_EQ(G.MazeWidth, std::clamp(width, 0, MazeStride));
    ASSERT_EQ(G.MazeHeight, std::clamp(height, 0, MazeStride));
    Srand(seed);
    for (int i = 1; i < (G.MazeWidth / 2) * (G.MazeHeight / 2); i++)
        Rand();  // one draw per carved room
    ASSERT_EQ(next, Rand()) << "draws";
}

}  // namespace

TEST(Maze, EveryMazeIsATreeOverAllRoomsInsideFixedWalls) {
    const int sizes[][2] = {{20, 20}, {30, 30}, {100, 100}, {20, 40}, {60, 20},
                            {2, 20},  {100, 4}, {120, 20},  {20, 300}};  // the last two are clamped
    for (const auto& s : sizes) {
        for (uint32_t seed : {0u, 1u, 7u, 12345u, 4294967295u}) {
            SCOPED_TRACE(testing::Message() << s[0] << "x" << s[1] << " seed " << seed);
            Generate(s[0], s[1], seed);
            const int w = G.MazeWidth, h = G.MazeHeight;
            int open = 0, edges = 0, loops = 0;
            std::vector<int> root(MazeCells);
            std::iota(root.begin(), root.end(), 0);
            auto find = [&](int a) {
                while (root[a] != a) a = root[a] = root[root[a]];
                return a;
            };
            auto join = [&](int a, int b) {
                edges++;
                loops += find(a) == find(b);
                root[find(a)] = find(b);
            };
            for (int x = 0; x < MazeStride; x++) {
                for (int y = 0; y < MazeStride; y++) {
                    const int8_t c = At(x, y);
                    const bool wall = !Inside(x, y) || x == w - 1 || y == h - 1 || (x % 2 && y % 2);
                    const bool room = !wall && x % 2 == 0 && y % 2 == 0;
                    ASSERT_TRUE(c == CellWall ? !room : c == CellOpen && !wall)
                        << x << "," << y << ": " << int(c);
                    if (!OpenAt(x, y)) continue;
                    open++;
                    if (OpenAt(x + 1, y)) join(x * MazeStride + y, (x + 1) * MazeStride + y);
                    if (OpenAt(x, y + 1)) join(x * MazeStride + y, x * MazeStride + y + 1);
                }
            }
            EXPECT_EQ(open, 2 * (w / 2) * (h / 2) - 1);
            EXPECT_EQ(loops, 0) << "the floor has a loop";
            EXPECT_EQ(edges, open - 1)
                << "some floor is cut off";  // no loop and one edge fewer than cells: a tree
        }
    }
}

TEST(Maze, AtMostOneRoomKeepsOnlyTheStartCell) {
    const int sizes[][2] = {{2, 2}, {3, 3},  {1, 1},   {2, 1},
                            {0, 0}, {40, 1}, {-4, 20}, {20, -30000}};
    for (const auto& s : sizes) {
        SCOPED_TRACE(testing::Message() << s[0] << "x" << s[1]);
        Generate(s[0], s[1], 5);
        for (int x = 0; x < MazeStride; x++)
            for (int y = 0; y < MazeStride; y++)
                ASSERT_EQ(At(x, y), x == 0 && y == 0 && Inside(0, 0) ? CellOpen : CellWall)
                    << x << "," << y;
    }
}
