// Level setup: a new run, and the maze, items, spiders and hero of the current level.
#include "game/level.h"

#include <cstring>

#include "core/globals.h"
#include "core/random.h"
#include "game/maze.h"

// The hero is drawn this far right of and below the view corner.
constexpr int HeroViewOffset = 120;
constexpr int HeroStartFrame = 5;        // walk frame shown when a run starts
constexpr int SpiderStrengthBase = 20;   // weakest spider at placement
constexpr int SpiderStrengthRange = 50;  // strengths run from the base to base + 49

// One cell of the level, as drawn by RandomCell.
struct CellPos {
    int x;  // column, 1..MazeWidth - 1
    int y;  // row, 1..MazeHeight - 1
};

static int8_t MazeAt(int x, int y) { return G.MazeGrid[x * MazeStride + y]; }

static bool InsideLevel(int x, int y) {
    return x >= 0 && y >= 0 && x < G.MazeWidth && y < G.MazeHeight;
}

// A neighbour of a niche candidate that is floor; outside the level counts as wall.
static bool OpenNeighbour(int x, int y) { return InsideLevel(x, y) && MazeAt(x, y) == CellOpen; }

// A wall cell that touches the floor on at least one side.
static bool IsNiche(CellPos c) {
    if (MazeAt(c.x, c.y) != CellWall) return false;
    return OpenNeighbour(c.x - 1, c.y) || OpenNeighbour(c.x + 1, c.y) ||
           OpenNeighbour(c.x, c.y + 1) || OpenNeighbour(c.x, c.y - 1);
}

// A free floor cell for a spider.
static bool IsSpiderCell(CellPos c) {
    return MazeAt(c.x, c.y) == CellOpen && G.SpiderOccupancy[c.x * MazeStride + c.y] == 0;
}

// Draws a candidate cell, x before y; column 0 and row 0 are never drawn.
static CellPos RandomCell() {
    CellPos c;
    c.x = Rand() % (G.MazeWidth - 1) + 1;
    c.y = Rand() % (G.MazeHeight - 1) + 1;
    return c;
}

// Draws candidates until one passes the test; a failed one is dropped.
static CellPos DrawCellWhere(bool (*fits)(CellPos)) {
    CellPos c = RandomCell();
    while (!fits(c)) c = RandomCell();
    return c;
}

// Puts count items of one kind into wall niches.
static void PlaceItems(int8_t code, int count) {
    for (int i = 0; i < count; i++) {
        CellPos c = DrawCellWhere(IsNiche);
        G.MazeGrid[c.x * MazeStride + c.y] = code;
    }
}

// Fills the spider slots; spiders past the last slot are not placed and draw nothing.
static void PlaceSpiders() {
    int placed = G.SpiderCount < SpiderSlots ? G.SpiderCount : SpiderSlots;
    for (int slot = 0; slot < placed; slot++) {
        CellPos c = DrawCellWhere(IsSpiderCell);
        G.SpiderOccupancy[c.x * MazeStride + c.y] = int16_t(slot + 1);
        SpiderRecord& s = G.SpiderTable[slot];
        s.active = 1;
        s.x = int16_t(c.x * CellSize);
        s.y = int16_t(c.y * CellSize);
        s.direction = int16_t(Rand() % SpiderDirections);
        s.stepsLeft = 0;
        s.strength = int16_t(Rand() % SpiderStrengthRange + SpiderStrengthBase);
    }
}

// Any floor cell: where the hero may start.
static bool IsFloor(CellPos c) { return MazeAt(c.x, c.y) == CellOpen; }

// The hero starts on any floor cell, spiders or not; the view centres on him.
static void PlaceHero() {
    CellPos c = DrawCellWhere(IsFloor);
    G.HeroX = int16_t(c.x * CellSize);
    G.HeroY = int16_t(c.y * CellSize);
    G.CameraX = int16_t(G.HeroX - HeroViewOffset);
    G.CameraY = int16_t(G.HeroY - HeroViewOffset);
}

// Level size grows by 10 a level, from 20 x 20 up to the 100 x 100 of the grid.
static void SetLevelSize() {
    int side = (G.Level + 2) * 10;
    if (side > MazeStride) side = MazeStride;
    if (side < SmallestMaze)
        side = SmallestMaze;  // a negative level would leave no room for the items
    G.MazeWidth = int16_t(side);
    G.MazeHeight = int16_t(side);
}

// One spider (and one food item) for every 40 cells; half as many poison items.
static void SetCounts() {
    G.SpiderCount = int16_t(double(G.MazeHeight * G.MazeWidth) * 0.025);
    G.PoisonCount = int16_t(G.SpiderCount / 2);
}

// What every level starts with: full energy, no bones, no poison, no fight, standing still.
static void ResetLevelState() {
    G.BonesNeeded = BonesPerLevel;
    G.BonesCollected = 0;
    G.PoisonCarried = 0;
    G.HeroMoving = 0;
    G.FightPhase = 0;
    G.Energy = MaxEnergy;
}

void BuildLevel() {
    ResetLevelState();
    SetLevelSize();
    SetCounts();
    GenerateMaze();
    memset(G.SpiderOccupancy, 0, sizeof G.SpiderOccupancy);
    memset(G.SpiderTable, 0, sizeof G.SpiderTable);
    PlaceItems(CellBone, G.BonesNeeded);
    PlaceItems(CellFood, G.SpiderCount);
    PlaceItems(CellPoison, G.PoisonCount);
    PlaceSpiders();
    PlaceHero();
}

void NewGame() {
    G.ScreenState = ScreenGame;
    G.Level = 0;
    G.Score = 0;
    G.Energy = MaxEnergy;
    G.HeroFrame = HeroStartFrame;
    G.HeroFrameTimer = 0;
    G.HeroDirection = HeroNone;
    G.MapView = 0;
    G.FightPhase = 0;
    BuildLevel();
}
