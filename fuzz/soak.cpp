// The soak: a long series of headless runs over random seeds, driven by random taps and keys
// over every screen, with the game's invariants checked after every frame. Half the runs play
// with purpose: the first level, the dog walking to the nearest bone (or food when hungry, poison
// when it has none), then on to the next level, so that levels are finished and the
// level-complete screen and the larger levels behind it are soaked too.
// Usage: murko_soak FRAMES [SEED] [DATA_FOLDER]
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/input_events.h"
#include "fuzz/headless_run.h"
#include "fuzz/invariants.h"
#include "game/hero.h"

constexpr long MaxRunFrames = 20000;  // frames after which a run that never quits is started anew
constexpr int HungryBelow = MaxEnergy / 3;  // energy under which the walker looks for food too

static uint64_t SoakState = 0;  // the soak's own generator (the game's sequence stays the game's)
static int WalkerFrom = -1;     // the cell the walker last chose a way from, -1 off the game
static int WalkerButton = -1;   // the button of that way, -1 when it knew none
static int8_t FirstWay[MazeCells];  // the walker's search: how a cell was reached, -1 unseen
static int16_t Queue[MazeCells];    // the walker's search: cells still to look around

static uint32_t SoakRand(uint32_t n) {
    SoakState ^= SoakState << 13;
    SoakState ^= SoakState >> 7;
    SoakState ^= SoakState << 17;
    return uint32_t(SoakState % n);
}

// The kinds of input a player gives, with how often each comes.
static void RandomInput() {
    uint32_t roll = SoakRand(100);
    if (roll < 35) {
        HandleInputEvent(
            HostEvent{HostEventPenDown, 0, int32_t(SoakRand(240)), int32_t(SoakRand(320))});
    } else if (roll < 80) {
        for (int b = KeyUp; b <= KeyRight; b++)
            HandleInputEvent(HostEvent{HostEventKeyUp, G.KeyList[b].code, 0, 0});
        HandleInputEvent(HostEvent{HostEventKeyDown, G.KeyList[SoakRand(4)].code, 0, 0});
    } else if (roll < 90) {
        HandleInputEvent(HostEvent{HostEventKeyDown, G.KeyList[KeyA].code, 0, 0});
        HandleInputEvent(HostEvent{HostEventKeyUp, G.KeyList[KeyA].code, 0, 0});
    } else if (roll < 97) {
        HandleInputEvent(HostEvent{HostEventTyped, int16_t(32 + SoakRand(95)), 0, 0});
    } else {
        HandleInputEvent(HostEvent{HostEventTyped, int16_t(SoakRand(2) ? 8 : 13), 0, 0});
    }
}

// The four ways out of a cell, with the button that walks them.
static const struct {
    int dx, dy;
    int button;
} Ways[] = {{-1, 0, KeyLeft}, {1, 0, KeyRight}, {0, -1, KeyUp}, {0, 1, KeyDown}};

static bool Wanted(int8_t cell) {
    return cell == CellBone || (cell == CellFood && G.Energy < HungryBelow) ||
           (cell == CellPoison && !G.PoisonCarried);
}

// The cell the dog stands in or walks into (left and up already name it, right and down not yet).
static int HeroTarget() {
    bool right = G.HeroMoving && G.HeroDirection == HeroRight;
    bool down = G.HeroMoving && G.HeroDirection == HeroDown;
    int x = (G.HeroX + (right ? CellSize - 1 : 0)) / CellSize;
    int y = (G.HeroY + (down ? CellSize - 1 : 0)) / CellSize;
    return x * MazeStride + y;
}

// The button of the first step on a shortest way through open cells from start to a cell beside
// a wanted item (pushing against the item from there); -1 when there is none.
static int WayToAnItem(int start) {
    std::fill_n(FirstWay, MazeCells, int8_t(-1));
    int head = 0;
    int tail = 0;
    FirstWay[start] = 0;
    Queue[tail++] = int16_t(start);
    while (head < tail) {
        int at = Queue[head++];
        for (int w = 0; w < 4; w++) {
            int x = at / MazeStride + Ways[w].dx;
            int y = at % MazeStride + Ways[w].dy;
            int next = x * MazeStride + y;
            if (x < 0 || y < 0 || x >= G.MazeWidth || y >= G.MazeHeight) continue;
            int way = at == start ? w : FirstWay[at];
            if (Wanted(G.MazeGrid[next])) return Ways[way].button;
            if (G.MazeGrid[next] != CellOpen || FirstWay[next] >= 0) continue;
            FirstWay[next] = int8_t(way);
            Queue[tail++] = int16_t(next);
        }
    }
    return -1;
}

// The walker holds the key of its way on from each cell the dog reaches or stands in; false when
// it knows no way.
static bool WalkWithPurpose() {
    int from = HeroTarget();
    if (from == WalkerFrom && G.HeroMoving) return WalkerButton >= 0;
    WalkerFrom = from;
    WalkerButton = WayToAnItem(from);
    for (int b = KeyUp; b <= KeyRight; b++)
        if (b != WalkerButton) HandleInputEvent(HostEvent{HostEventKeyUp, G.KeyList[b].code, 0, 0});
    if (WalkerButton >= 0)
        HandleInputEvent(HostEvent{HostEventKeyDown, G.KeyList[WalkerButton].code, 0, 0});
    return WalkerButton >= 0;
}

static void Tap(int x, int y) { HandleInputEvent(HostEvent{HostEventPenDown, 0, x, y}); }

// A purposeful player: picks the first (smallest) level, walks to the items, and goes on to the
// next level after a look at the level-complete screen; false where it leaves the input to chance.
static bool PlayWithPurpose() {
    if (G.ScreenState != ScreenGame) WalkerFrom = -1;
    if (G.ScreenState == ScreenLevelSelect && SoakRand(16) == 0) Tap(100, 40);
    if (G.ScreenState == ScreenLevelComplete && SoakRand(64) == 0) Tap(100, 300);
    if (G.ScreenState == ScreenGame) return WalkWithPurpose();
    return G.ScreenState == ScreenLevelSelect || G.ScreenState == ScreenLevelComplete;
}

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: murko_soak FRAMES [SEED] [DATA_FOLDER]\n");
        return 2;
    }
    long total = atol(argv[1]);
    SoakState = argc > 2 ? strtoull(argv[2], nullptr, 10) * 2654435761u + 1 : 88172645463325252ull;
    std::string scores = "/tmp/murko-soak-" + std::to_string(getpid()) + "/";
    StartHeadless(argc > 3 ? argv[3] : ".", scores);
    long frames = 0, runs = 0;
    long perScreen[ScreenCount] = {};
    while (frames < total) {
        RestartRun(SoakRand(1u << 31));
        runs++;
        bool purposeful = SoakRand(2) == 0;
        for (bool going = true; going && frames < total && G.FrameCount < MaxRunFrames; frames++) {
            if (!(purposeful && PlayWithPurpose()) && SoakRand(8) == 0) RandomInput();
            perScreen[G.ScreenState]++;
            going = RunOneFrame();
            CheckInvariants();
        }
    }
    printf("soak: %ld frames in %ld runs, every invariant held; frames by screen:", frames, runs);
    for (int s = 0; s < ScreenCount; s++) printf(" %d:%ld", s, perScreen[s]);
    printf("\n");
    if (std::count(perScreen, perScreen + ScreenCount, 0L) == 0) return 0;
    fprintf(stderr, "soak: a screen got no frame\n");
    return 1;
}
