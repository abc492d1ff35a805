// What the game's state holds whatever happened: the maze, the hero, the spiders, the counters.
#include "game/run_state.h"

#include "core/directions.h"
#include "game/level.h"
#include "game/spiders.h"

constexpr int LastCellCode = CellTaken;  // cell codes outside maze generation run 0..5
constexpr int ChaseLastPos = 398;        // the menu chase counts 0, 2 .. 398
constexpr int NameMax = 10;              // characters of a typed name
constexpr int KeyLitLast = 4;            // frames a name-entry key stays lit
constexpr int LastKeyRowMax = 7;         // the name entry's key rows and codes stay small
constexpr int LastKeyCodeMax = 15;

static bool Within(long value, long low, long high) { return value >= low && value <= high; }
static bool Flag(long value) { return value == 0 || value == 1; }

static int CellOf(const GameGlobals& g, int x, int y) {
    return g.MazeGrid[(x / CellSize) * MazeStride + y / CellSize];
}

// A 20-pixel box at (x, y) inside the maze, lying on open cells only, aligned on one axis at least.
static bool BoxOnOpenCells(const GameGlobals& g, int x, int y) {
    if (x < 0 || y < 0 || x > (g.MazeWidth - 1) * CellSize || y > (g.MazeHeight - 1) * CellSize)
        return false;
    if (x % CellSize != 0 && y % CellSize != 0) return false;
    return CellOf(g, x, y) == CellOpen && CellOf(g, x + CellSize - 1, y + CellSize - 1) == CellOpen;
}

// The cell boundary a walk from p reaches going step (-1, 0 or 1) pixels at a time.
static int Ahead(int p, int step) {
    if (step > 0) return (p / CellSize + 1) * CellSize;
    if (step < 0) return p % CellSize ? p - p % CellSize : p - CellSize;
    return p;
}

static const char* MazeFault(const GameGlobals& g) {
    if (!Within(g.MazeWidth, SmallestMaze, MazeStride) ||
        !Within(g.MazeHeight, SmallestMaze, MazeStride))
        return "the maze's size is outside the grid";
    for (int x = 0; x < g.MazeWidth; x++)
        for (int y = 0; y < g.MazeHeight; y++)
            if (!Within(g.MazeGrid[x * MazeStride + y], CellOpen, LastCellCode))
                return "a maze cell holds an unknown code";
    for (int16_t slot : g.SpiderOccupancy)
        if (!Within(slot, 0, SpiderSlots)) return "the spider occupancy names no slot";
    return nullptr;
}

static const char* HeroFault(const GameGlobals& g) {
    if (!Flag(g.HeroMoving) || !Within(g.HeroDirection, HeroNone, HeroDown))
        return "the hero's walk is unknown";
    if (g.HeroMoving && g.HeroDirection == HeroNone) return "the hero walks nowhere";
    if (!g.HeroMoving && (g.HeroX % CellSize || g.HeroY % CellSize))
        return "the hero stands between cells";
    if (!BoxOnOpenCells(g, g.HeroX, g.HeroY)) return "the hero is on a wall or outside the maze";
    const int d = g.HeroMoving ? int(g.HeroDirection) : int(HeroNone);
    const int toX = Ahead(g.HeroX, HeroStepX[d]), toY = Ahead(g.HeroY, HeroStepY[d]);
    if (toX % CellSize || toY % CellSize || !BoxOnOpenCells(g, toX, toY))
        return "the hero walks into a wall";
    if (!Within(g.HeroFrame, 0, 7) || g.HeroFrameTimer < 0) return "the hero's picture is unknown";
    return nullptr;
}

static const char* SpiderFault(const GameGlobals& g) {
    for (const SpiderRecord& s : g.SpiderTable) {
        if (!Flag(s.active)) return "a spider is neither roaming nor gone";
        if (!s.active) continue;
        if (!Within(s.direction, SpiderRight, SpiderUp) ||
            !Within(s.stepsLeft, 0, SpiderStepFrames))
            return "a spider's walk is unknown";
        if (s.stepsLeft == 0 && (s.x % CellSize || s.y % CellSize))
            return "a spider stands between cells";
        if (!BoxOnOpenCells(g, s.x, s.y)) return "a spider is on a wall or outside the maze";
        const int toX = s.x + SpiderStep * SpiderStepX[s.direction] * s.stepsLeft;
        const int toY = s.y + SpiderStep * SpiderStepY[s.direction] * s.stepsLeft;
        if (toX % CellSize || toY % CellSize || !BoxOnOpenCells(g, toX, toY))
            return "a spider walks into a wall";
    }
    return nullptr;
}

static const char* RunFault(const GameGlobals& g) {
    if (g.Level < 0 || g.Score < 0) return "the level or the score is below zero";
    if (!Within(g.Energy, 0, MaxEnergy)) return "the energy is out of range";
    if (g.BonesNeeded != BonesPerLevel || !Within(g.BonesCollected, 0, g.BonesNeeded))
        return "the bones are out of range";
    if (!Flag(g.PoisonCarried) || !Flag(g.MapView) || !Within(g.FightPhase, 0, 3))
        return "the poison, the map or the fight is out of range";
    if (!Within(g.FightSpider, 0, SpiderSlots - 1) || g.SpiderCount < 0 || g.PoisonCount < 0)
        return "the spider counts are out of range";
    return nullptr;
}

// The front-end screens' own fields, which a run carries along.
static const char* ScreenFault(const GameGlobals& g) {
    if (!Within(g.ScreenState, 0, ScreenCount - 1) || !Flag(g.SoundOn))
        return "the screen or the sound switch is unknown";
    if (!Within(g.MenuChasePos, 0, ChaseLastPos) || g.MenuChasePos % 2 ||
        !Within(g.MenuChaseDirection, ChaseRight, ChaseLeft) || !Flag(g.MenuDogFrame))
        return "the menu's chase is out of range";
    if (!Within(g.TransitionAngle, 0, 359) || !Within(g.HelpPage, 0, 2))
        return "the level-complete swing or the help page is out of range";
    if (!Within(g.EnteredNameLength, 0, NameMax) || g.EnteredName[NameMax] != 0)
        return "the typed name is too long";
    if (!Within(g.KeyFlashFrames, 0, KeyLitLast) || !Flag(g.ShiftOn) || !Flag(g.CapsLockOn) ||
        !Within(g.LastKeyRow, 0, LastKeyRowMax) || !Within(g.LastKeyCode, 0, LastKeyCodeMax))
        return "the name keyboard is out of range";
    if (!Within(g.HighlightScreen, 0, ScreenCount - 1) || g.HighlightItem < 0 ||
        !Flag(g.HighlightShown) || g.HighlightHoldFrames < -1)
        return "the pad highlight is out of range";
    return nullptr;
}

const char* RunStateFault(const GameGlobals& g) {
    const char* fault = MazeFault(g);
    if (!fault) fault = HeroFault(g);
    if (!fault) fault = SpiderFault(g);
    if (!fault) fault = RunFault(g);
    if (!fault) fault = ScreenFault(g);
    return fault;
}
