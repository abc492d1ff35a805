// The game's picture: the maze or the half-scale map, the hero, one spider, the heads-up display.
#include "game/game_picture.h"

#include <cstdio>
#include <cstring>

#include "core/globals.h"
#include "core/random.h"
#include "gfx/blit.h"
#include "gfx/font.h"

constexpr int MirroredFrames = 6;  // HeroFrame 6 and 7 are frames 0 and 1 drawn mirrored
constexpr int CloudTile = 6;       // the fight cloud: tile 6 or 7, chosen anew every frame
constexpr int CloudPictures = 2;
constexpr int SpiderPictures = 5;  // a spider shows one of five pictures, chosen anew every frame
constexpr int BoneTile = 3;
constexpr int PoisonTile = 4;
constexpr int EmptyNicheTile = 5;
constexpr int HudValueX = 100;  // left edge of the score, the bone slots and the poison slot
constexpr int BoneSlotY = 260;
constexpr int PoisonSlotY = 280;
constexpr int ScoreY = 302;
constexpr int BoneSlotsMax = 7;  // slots that fit between x 100 and the screen's right edge

// Red font labels of the heads-up display.
struct HudLabel {
    const char* text;
    int y;
};
static const HudLabel HudLabels[] = {
    {"ENERGY", 242},
    {"BONES", 262},
    {"POISON", 282},
    {"SCORE", 302},
};

void DrawMazeBackground() {
    if (G.MapView == 1)
        DrawMazeViewHalf(G.HeroX - MapReach, G.HeroY - MapReach);
    else
        DrawMazeView(G.CameraX, G.CameraY);
}

void DrawHeroPicture() {
    int x = G.HeroX - G.CameraX, y = G.HeroY - G.CameraY;
    if (G.MapView == 1) {
        DrawDogSpriteHalf(0, MapHeroScreen, MapHeroScreen);
    } else if (G.FightPhase != 0) {
        DrawTile(CloudTile + Rand() % CloudPictures, x, y);
    } else if (G.HeroFrame >= MirroredFrames) {
        DrawDogSprite(G.HeroFrame - MirroredFrames, x + 2, y + 2, 1);
    } else {
        DrawDogSprite(G.HeroFrame, x + 2, y + 2, 0);
    }
}

void DrawSpiderPicture(int x, int y, int map) {
    int frame = Rand() % SpiderPictures;
    if (map)
        DrawSpiderSpriteHalf(frame, x - G.HeroX + MapHeroScreen, y - G.HeroY + MapHeroScreen);
    else
        DrawSpiderSprite(frame, x - G.CameraX + 1, y - G.CameraY + 1);
}

void BlackEnergyBar(int energy) {
    if (energy > MaxEnergy) return;
    if (energy < 0) energy = 0;  // the strip ends at its own left edge
    for (int y = EnergyBarTop; y < EnergyBarTop + EnergyBarRows; y++) {
        uint16_t* row = G.BackBuffer + y * ScreenWidth + EnergyBarLeft;
        memset(row + energy, 0, size_t(MaxEnergy + 1 - energy) * sizeof *row);
    }
}

static void DrawHudText() {
    for (const HudLabel& label : HudLabels) DrawRedText(label.text, 2, label.y);
    char score[16];
    snprintf(score, sizeof score, "%.5d", int(G.Score));
    DrawRedText(score, HudValueX, ScoreY);
}

static void DrawHudSlots() {
    for (int i = 0; i < G.BonesNeeded && i < BoneSlotsMax; i++)
        DrawTile(i < G.BonesCollected ? BoneTile : EmptyNicheTile, HudValueX + CellSize * i,
                 BoneSlotY);
    DrawTile(G.PoisonCarried != 0 ? PoisonTile : EmptyNicheTile, HudValueX, PoisonSlotY);
}

void DrawHud() {
    memcpy(G.BackBuffer + HudTop * ScreenWidth, G.HudPanelImage, sizeof G.HudPanelImage);
    DrawHudText();
    DrawHudSlots();
    BlackEnergyBar(G.Energy);
}
