// Spiders and fights: the contact test, the walk through the maze, one round of a fight.
#include "game/spiders.h"

#include "core/directions.h"
#include "core/globals.h"
#include "core/random.h"
#include "game/game_picture.h"

constexpr int ViewSpan = 240;  // world pixels the normal view shows on each axis

// The open window on one axis: a 20-pixel box reaching into [low, low + span).
static bool Overlaps(int p, int low, int span) { return p + CellSize > low && p < low + span; }

int SpiderShown(int x, int y, int map) {
    if (map)
        return Overlaps(x, G.HeroX - MapReach, 2 * MapReach + CellSize) &&
               Overlaps(y, G.HeroY - MapReach, 2 * MapReach + CellSize);
    return Overlaps(x, G.CameraX, ViewSpan) && Overlaps(y, G.CameraY, ViewSpan);
}

static bool InContact(const SpiderRecord& s) {
    return s.x >= G.HeroX - ContactReach && s.x <= G.HeroX + ContactReach &&
           s.y >= G.HeroY - ContactReach && s.y <= G.HeroY + ContactReach;
}

static void StartFight(int slot) {
    G.FightPhase = 1;
    G.FightSpider = int16_t(slot);
    G.SpiderTable[slot].active = 0;
    G.MapView = 0;
}

// A contact switches the map off, so the rest of the pass picks its spiders (and their random
// pictures) by the normal view's window; they are still drawn into the map this frame shows.
void SpiderPass() {
    const int mapPicture = G.MapView == 1;
    for (int slot = 0; slot < SpiderSlots; slot++) {
        const SpiderRecord& s = G.SpiderTable[slot];
        if (s.active != 1 || !SpiderShown(s.x, s.y, G.MapView == 1)) continue;
        DrawSpiderPicture(s.x, s.y, mapPicture);
        if (G.FightPhase == 0 && InContact(s)) StartFight(slot);
    }
}

static bool OpenCell(int cx, int cy) {
    return cx >= 0 && cy >= 0 && cx < G.MazeWidth && cy < G.MazeHeight &&
           G.MazeGrid[cx * MazeStride + cy] == CellOpen;
}

// At a cell: one of the open neighbours, listed left, right, down, up; the spider stays put this
// frame.
static void ChooseWay(SpiderRecord& s) {
    int cx = s.x / CellSize, cy = s.y / CellSize, n = 0;
    int16_t ways[SpiderDirections];
    if (OpenCell(cx - 1, cy)) ways[n++] = SpiderLeft;
    if (OpenCell(cx + 1, cy)) ways[n++] = SpiderRight;
    if (OpenCell(cx, cy + 1)) ways[n++] = SpiderDown;
    if (OpenCell(cx, cy - 1)) ways[n++] = SpiderUp;
    if (n == 0) return;  // shut in on all four sides: it waits
    s.direction = ways[Rand() % n];
    s.stepsLeft = SpiderStepFrames;
}

static void MoveSpider(SpiderRecord& s) {
    if (s.stepsLeft < 1) {
        ChooseWay(s);
        return;
    }
    s.stepsLeft--;
    int d = s.direction & (SpiderDirections - 1);
    s.x = int16_t(s.x + SpiderStep * SpiderStepX[d]);
    s.y = int16_t(s.y + SpiderStep * SpiderStepY[d]);
}

void MoveSpiders() {
    for (SpiderRecord& s : G.SpiderTable)
        if (s.active == 1) MoveSpider(s);
}

// One round: the dog bites (1 to 3, all of it scored) or the spider bites; poison gives the dog a
// third chance.
static void FightOneRound() {
    SpiderRecord& spider = G.SpiderTable[G.FightSpider];
    if (Rand() % (G.PoisonCarried + 2) != 0) {
        int bite = Rand() % 3 + 1;
        spider.strength = int16_t(spider.strength - bite);
        G.Score += bite;
    } else {
        G.Energy = int16_t(G.Energy - (Rand() % 3 + 1));
    }
}

int FightRound() {
    if (++G.FightPhase <= FightRoundPhase) return 0;
    G.FightPhase = 1;
    FightOneRound();
    if (G.Energy <= 0) return 1;
    if (G.SpiderTable[G.FightSpider].strength > 0) return 0;
    G.FightPhase = 0;
    if (G.PoisonCarried > 0) G.PoisonCarried--;
    return 0;
}
