// The hero between frames: the walk, the direction keys, the pickups and the map key.
#include "game/hero.h"

#include <cstdint>

#include "core/directions.h"
#include "core/globals.h"
#include "core/input.h"

constexpr int CameraNear = 80;  // the hero's box corner stays at least this far inside the view ...
constexpr int CameraFar = 140;  // ... and at most this far
constexpr int FrameChangeTimer = 4;  // walk picture changes when the timer reaches this

// First walk picture of each HeroDirection: HeroNone (unused), HeroLeft, HeroRight, HeroUp,
// HeroDown.
static const int16_t FirstFrame[HeroDown + 1] = {0, 0, 6, 2, 4};

static int16_t Follow(int camera, int hero) {
    if (camera + CameraNear > hero) camera = hero - CameraNear;
    if (camera + CameraFar < hero) camera = hero - CameraFar;
    return int16_t(camera);
}

void FollowHero() {
    G.CameraX = Follow(G.CameraX, G.HeroX);
    G.CameraY = Follow(G.CameraY, G.HeroY);
}

void AnimateHero() {
    if (G.HeroFrameTimer < INT16_MAX)
        G.HeroFrameTimer++;  // stands still for hours without wrapping
    if (G.HeroFrameTimer < FrameChangeTimer || G.HeroMoving != 1) return;
    G.HeroFrameTimer = 0;
    G.HeroFrame = int16_t(G.HeroFrame ^ 1);  // the other frame of the pair 0-1, 2-3, 4-5, 6-7
}

static int8_t CellAt(int cx, int cy) { return G.MazeGrid[cx * MazeStride + cy]; }

// One 2-pixel step; on reaching a cell the hero stands, showing the direction's first picture.
static void Walk() {
    int d = G.HeroDirection;
    if (G.HeroMoving != 1 || d < HeroLeft || d > HeroDown) return;
    G.HeroX = int16_t(G.HeroX + HeroStep * HeroStepX[d]);
    G.HeroY = int16_t(G.HeroY + HeroStep * HeroStepY[d]);
    int moved = HeroStepX[d] ? G.HeroX : G.HeroY;
    if (moved % CellSize != 0) return;
    G.HeroMoving = 0;
    G.HeroFrame = FirstFrame[d];
    G.HeroDirection = HeroNone;
}

static void StartWalk(int d) {
    if (G.HeroDirection != d) G.HeroFrame = FirstFrame[d];
    G.HeroDirection = int16_t(d);
    G.HeroMoving = 1;
}

// A held key: the map goes away; an open cell that way is walked into, anything else pushed
// against.
static void TakeKey(int d, int cx, int cy) {
    G.MapView = 0;
    int nx = cx + HeroStepX[d], ny = cy + HeroStepY[d];
    if (nx < 0 || ny < 0 || nx >= G.MazeWidth || ny >= G.MazeHeight) return;
    if (CellAt(nx, ny) == CellOpen)
        StartWalk(d);
    else
        TryPickup(nx, ny);
}

void TryPickup(int cx, int cy) {
    int8_t& cell = G.MazeGrid[cx * MazeStride + cy];
    if (cell == CellFood && G.Energy < MaxEnergy) {
        G.Energy = int16_t(G.Energy + FoodEnergy > MaxEnergy ? MaxEnergy : G.Energy + FoodEnergy);
        G.Score += FoodScore;
    } else if (cell == CellBone) {
        G.BonesCollected++;
        G.Score += BoneScore;
    } else if (cell == CellPoison && G.PoisonCarried == 0) {
        G.PoisonCarried = 1;
        G.Score += PoisonScore;
    } else {
        return;
    }
    cell = CellTaken;
}

static bool FreeFor(int a, int b) {
    return G.HeroMoving == 0 || G.HeroDirection == a || G.HeroDirection == b;
}

void HeroStepAndKeys() {
    Walk();
    int cx = G.HeroX / CellSize,
        cy = G.HeroY / CellSize;  // left and up already name the cell entered
    if (FreeFor(HeroLeft, HeroRight)) {
        if (LeftHeld()) TakeKey(HeroLeft, cx, cy);
        if (RightHeld()) TakeKey(HeroRight, cx, cy);
    }
    if (FreeFor(HeroUp, HeroDown)) {
        if (UpHeld()) TakeKey(HeroUp, cx, cy);
        if (DownHeld()) TakeKey(HeroDown, cx, cy);
    }
    if (ButtonAPressed()) G.MapView = 1;
}
