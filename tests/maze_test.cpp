// Maze generation: perfect mazes, the walls that stay, the exact carve and its random draws.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/globals.h"
#include "app/random.h"
#include "game/maze.h"

namespace {

int8_t At(int x, int y) { return G.MazeGrid[x * MazeStride + y]; }

bool Inside(int x, int y) { return x >= 0 && y >= 0 && x < G.MazeWidth && y < G.MazeHeight; }

bool OpenAt(int x, int y) { return Inside(x, y) && At(x, y) == CellOpen; }

void Generate(int width, int height, uint32_t seed) {
    G.MazeWidth = int16_t(width);
    G.MazeHeight = int16_t(height);
    Srand(seed);
    GenerateMaze();
}

// Open cells reached from (0, 0), and edges between neighbouring open cells.
void WalkFloor(int* reached, int* edges) {
    std::vector<char> seen(MazeCells, 0);
    std::vector<int> todo = {0};
    seen[0] = 1;
    *reached = 0;
    *edges = 0;
    const int steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    while (!todo.empty()) {
        int cell = todo.back();
        todo.pop_back();
        (*reached)++;
        int x = cell / MazeStride, y = cell % MazeStride;
        for (const auto& s : steps) {
            int nx = x + s[0], ny = y + s[1];
            if (!OpenAt(nx, ny)) continue;
            if (s[0] + s[1] > 0) (*edges)++;  // count each edge once, from its left or upper end
            if (!seen[nx * MazeStride + ny]) {
                seen[nx * MazeStride + ny] = 1;
                todo.push_back(nx * MazeStride + ny);
            }
        }
    }
}

// The same carve told the plain way: an explicit stack and a visited list.
std::vector<int8_t> ReferenceMaze(int width, int height, uint32_t seed) {
    std::vector<int8_t> grid(MazeCells, CellWall);
    int rw = width / 2, rh = height / 2;
    std::vector<char> visited(rw * rh, 0);
    std::vector<std::pair<int, int>> stack = {{0, 0}};
    visited[0] = 1;
    grid[0] = CellOpen;
    int carved = 1;
    const int steps[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};  // left, right, up, down
    Srand(seed);
    while (carved < rw * rh) {
        auto [rx, ry] = stack.back();
        int options[4], n = 0;
        for (int i = 0; i < 4; i++) {
            int nx = rx + steps[i][0], ny = ry + steps[i][1];
            if (nx >= 0 && ny >= 0 && nx < rw && ny < rh && !visited[nx * rh + ny]) options[n++] = i;
        }
        if (n == 0) {
            stack.pop_back();
            continue;
        }
        int i = options[Rand() % n];
        int nx = rx + steps[i][0], ny = ry + steps[i][1];
        visited[nx * rh + ny] = 1;
        grid[(2 * rx + steps[i][0]) * MazeStride + 2 * ry + steps[i][1]] = CellOpen;
        grid[2 * nx * MazeStride + 2 * ny] = CellOpen;
        stack.push_back({nx, ny});
        carved++;
    }
    return grid;
}

struct Size {
    int width;
    int height;
};

const Size kSizes[] = {{20, 20}, {30, 30}, {100, 100}, {20, 40}, {60, 20}, {2, 20}, {100, 4}};
const uint32_t kSeeds[] = {0, 1, 7, 12345, 4294967295u};

}  // namespace

TEST(Maze, EveryMazeIsATreeOverAllRooms) {
    for (const Size& s : kSizes) {
        for (uint32_t seed : kSeeds) {
            Generate(s.width, s.height, seed);
            const int rooms = (s.width / 2) * (s.height / 2);
            int open = 0;
            for (int x = 0; x < s.width; x++)
                for (int y = 0; y < s.height; y++) open += At(x, y) == CellOpen;
            int reached = 0, edges = 0;
            WalkFloor(&reached, &edges);
            SCOPED_TRACE(testing::Message() << s.width << "x" << s.height << " seed " << seed);
            EXPECT_EQ(open, 2 * rooms - 1);
            EXPECT_EQ(reached, open) << "some floor is cut off";
            EXPECT_EQ(edges, open - 1) << "the floor has a loop";
        }
    }
}

TEST(Maze, WallsThatStayAndNothingButFloorAndWall) {
    for (const Size& s : kSizes) {
        memset(G.MazeGrid, 7, sizeof G.MazeGrid);  // leftovers of an earlier level must all go
        Generate(s.width, s.height, 99);
        SCOPED_TRACE(testing::Message() << s.width << "x" << s.height);
        ASSERT_EQ(At(0, 0), CellOpen);
        for (int x = 0; x < MazeStride; x++) {
            for (int y = 0; y < MazeStride; y++) {
                int8_t c = At(x, y);
                bool mustBeWall = !Inside(x, y) || x == s.width - 1 || y == s.height - 1 || (x % 2 && y % 2);
                bool room = Inside(x, y) && x % 2 == 0 && y % 2 == 0 && x < s.width - 1 && y < s.height - 1;
                if (mustBeWall) {
                    ASSERT_EQ(c, CellWall) << "cell " << x << "," << y;
                }
                if (room) {
                    ASSERT_EQ(c, CellOpen) << "room " << x << "," << y;
                }
                ASSERT_TRUE(c == CellOpen || c == CellWall) << "cell " << x << "," << y << " holds " << int(c);
            }
        }
    }
}

TEST(Maze, TinyLevelsKeepOnlyTheStartRoom) {
    const Size tiny[] = {{2, 2}, {3, 3}, {1, 1}, {2, 1}, {0, 0}, {40, 1}};
    for (const Size& s : tiny) {
        Generate(s.width, s.height, 5);
        SCOPED_TRACE(testing::Message() << s.width << "x" << s.height);
        for (int x = 0; x < MazeStride; x++)
            for (int y = 0; y < MazeStride; y++) {
                int8_t want = (x == 0 && y == 0 && Inside(0, 0)) ? CellOpen : CellWall;
                ASSERT_EQ(At(x, y), want) << "cell " << x << "," << y;
            }
    }
}

TEST(Maze, DrawsOneNumberPerCarvedRoom) {
    const Size sizes[] = {{2, 2}, {4, 4}, {4, 2}, {20, 20}, {100, 100}, {20, 100}};
    for (const Size& s : sizes) {
        for (uint32_t seed : kSeeds) {
            Generate(s.width, s.height, seed);
            int next = Rand();
            Srand(seed);
            for (int i = 0; i < (s.width / 2) * (s.height / 2) - 1; i++) Rand();
            EXPECT_EQ(next, Rand()) << s.width << "x" << s.height << " seed " << seed;
        }
    }
}

TEST(Maze, CarvesLikeAPlainDepthFirstWalk) {
    for (const Size& s : kSizes) {
        for (uint32_t seed : kSeeds) {
            std::vector<int8_t> want = ReferenceMaze(s.width, s.height, seed);
            Generate(s.width, s.height, seed);
            ASSERT_EQ(0, memcmp(want.data(), G.MazeGrid, MazeCells))
                << s.width << "x" << s.height << " seed " << seed;
        }
    }
}

TEST(Maze, UncarvedRoomTest) {
    struct Case {
        int x, y;
        int neighbourX, neighbourY;  // cell given neighbourCode first; -1 for none
        int8_t neighbourCode;
        int want;
    };
    const Case cases[] = {
        {0, 0, -1, -1, 0, 1},              // the edges of the grid count as wall
        {18, 18, -1, -1, 0, 1},            // so does the level's far side
        {-2, 0, -1, -1, 0, 0},             // outside the level
        {0, -2, -1, -1, 0, 0},
        {20, 0, -1, -1, 0, 0},             // one past the last column
        {0, 20, -1, -1, 0, 0},
        {4, 4, 3, 4, CellOpen, 0},         // passage on the left
        {4, 4, 5, 4, CellOpen, 0},         // right
        {4, 4, 4, 3, CellOpen, 0},         // up
        {4, 4, 4, 5, CellOpen, 0},         // down
        {4, 4, 4, 5, CellBone, 0},         // any code but wall counts as opened
        {4, 4, 4, 5, BackUp, 0},
        {4, 4, 4, 4, CarveStartMark, 1},   // the room's own code is not looked at
        {4, 4, 5, 5, CellOpen, 1},         // diagonals are not looked at
    };
    G.MazeWidth = 20;
    G.MazeHeight = 20;
    for (const Case& c : cases) {
        memset(G.MazeGrid, CellWall, sizeof G.MazeGrid);
        if (c.neighbourX >= 0) G.MazeGrid[c.neighbourX * MazeStride + c.neighbourY] = c.neighbourCode;
        EXPECT_EQ(IsUncarvedRoom(c.x, c.y), c.want) << c.x << "," << c.y;
    }
    G.MazeWidth = 20;
    G.MazeHeight = 10;  // each axis has its own limit
    EXPECT_EQ(IsUncarvedRoom(12, 4), 1);
    EXPECT_EQ(IsUncarvedRoom(4, 12), 0);
}

TEST(Maze, SizeBeyondTheGridIsClamped) {
    const Size wild[] = {{120, 20}, {20, 300}, {-4, 20}, {20, -30000}};
    for (const Size& s : wild) {
        Generate(s.width, s.height, 3);
        EXPECT_GE(G.MazeWidth, 0);
        EXPECT_LE(G.MazeWidth, MazeStride);
        EXPECT_GE(G.MazeHeight, 0);
        EXPECT_LE(G.MazeHeight, MazeStride);
        int reached = 0, edges = 0;
        WalkFloor(&reached, &edges);
        EXPECT_EQ(edges, reached - 1) << s.width << "x" << s.height;
    }
}
