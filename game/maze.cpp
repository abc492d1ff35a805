// Maze generation: a depth-first carve from the top-left room, the way back kept in the cells.
#include "game/maze.h"

#include <cstdio>
#include <cstring>

#include "core/globals.h"
#include "core/random.h"

// One way to carve from a room: the step to the next room and the back-pointer left there.
struct CarveStep {
    int dx;       // columns to the next room (its passage is halfway)
    int dy;       // rows to the next room
    int8_t back;  // code written into the new room: the way home
};

// The candidate order is fixed: left, right, up, down.
static const CarveStep CarveSteps[4] = {
    {-2, 0, BackRight},
    {+2, 0, BackLeft},
    {0, -2, BackDown},
    {0, +2, BackUp},
};

static int8_t& MazeCell(int x, int y) { return G.MazeGrid[x * MazeStride + y]; }

// IsUncarvedRoom with the level size in hand: the carve asks it four times a turn, and a size
// held in locals is not read again after every byte written to the grid.
static inline bool UncarvedRoomIn(int x, int y, int width, int height) {
    if (x < 0 || y < 0 || x >= width || y >= height) return false;
    const int8_t* cell = &G.MazeGrid[x * MazeStride + y];
    return (x == 0 || cell[-MazeStride] == CellWall) &&
           (x + 1 == width || cell[MazeStride] == CellWall) &&
           (y + 1 == height || cell[1] == CellWall) && (y == 0 || cell[-1] == CellWall);
}

int IsUncarvedRoom(int x, int y) { return UncarvedRoomIn(x, y, G.MazeWidth, G.MazeHeight); }

// Keeps the level inside the 100 x 100 grid whatever the caller left in the size fields.
static void ClampMazeSize() {
    if (G.MazeWidth >= 0 && G.MazeWidth <= MazeStride && G.MazeHeight >= 0 &&
        G.MazeHeight <= MazeStride)
        return;
    fprintf(stderr, "murko: maze size %dx%d is outside 0..%d, clamped\n", G.MazeWidth, G.MazeHeight,
            MazeStride);
    if (G.MazeWidth < 0) G.MazeWidth = 0;
    if (G.MazeWidth > MazeStride) G.MazeWidth = MazeStride;
    if (G.MazeHeight < 0) G.MazeHeight = 0;
    if (G.MazeHeight > MazeStride) G.MazeHeight = MazeStride;
}

// Walks back one room along the pointer in the current room; false when there is none.
static bool StepBack(int* x, int* y) {
    for (const CarveStep& step : CarveSteps) {
        if (MazeCell(*x, *y) == step.back) {
            *x -= step.dx;
            *y -= step.dy;
            return true;
        }
    }
    return false;
}

// Carves rooms until total are open; one random number for every carve, none for a step back.
static void CarveRooms(int total, int width, int height) {
    int x = 0;
    int y = 0;
    int carved = 1;
    while (carved < total) {
        int candidates[4];
        int count = 0;
        for (int i = 0; i < 4; i++) {
            if (UncarvedRoomIn(x + CarveSteps[i].dx, y + CarveSteps[i].dy, width, height))
                candidates[count++] = i;
        }
        if (count == 0) {
            if (!StepBack(&x, &y))
                return;  // back at the start with nothing left: only an odd size gets here
            continue;
        }
        const CarveStep& step = CarveSteps[candidates[Rand() % count]];
        MazeCell(x + step.dx / 2, y + step.dy / 2) = CellOpen;
        x += step.dx;
        y += step.dy;
        MazeCell(x, y) = step.back;
        carved++;
    }
}

// Every carved cell of the level becomes floor; whatever lies outside the level is wall.
static void CleanUpMaze(int width, int height) {
    for (int x = 0; x < width; x++) {
        int8_t* column = &G.MazeGrid[x * MazeStride];
        for (int y = 0; y < height; y++) column[y] = column[y] == CellWall ? CellWall : CellOpen;
    }
    if (width < 1 || height < 1) G.MazeGrid[0] = CellWall;  // an empty level keeps no start mark
}

void GenerateMaze() {
    ClampMazeSize();
    int total = (G.MazeHeight / 2) * (G.MazeWidth / 2);
    memset(G.MazeGrid, CellWall, sizeof G.MazeGrid);
    MazeCell(0, 0) = CarveStartMark;
    if (total > 1) CarveRooms(total, G.MazeWidth, G.MazeHeight);
    CleanUpMaze(G.MazeWidth, G.MazeHeight);
}
