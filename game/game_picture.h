// The game's picture: the maze or the half-scale map, the hero, one spider, the heads-up display.
#pragma once

#include <cstdint>

constexpr int MapReach = 250;  // world pixels of the map around the hero's box corner, each way
constexpr int MapHeroScreen =
    251;  // doubled view position of the hero's cell in the map (lands at 125, 125)
constexpr int HudTop = 240;         // first row of the heads-up display
constexpr int EnergyBarLeft = 101;  // column of the energy strip's first pixel
constexpr int EnergyBarTop = 244;   // first row of the energy strip
constexpr int EnergyBarRows = 12;   // rows of the energy strip

void DrawMazeBackground();  // the normal view at the camera, or the map around the hero
void DrawHeroPicture();     // the dog, the fight cloud, or the half-size dog on the map
void DrawSpiderPicture(int x, int y,
                       int map);  // a spider at world (x, y), a random one of its five pictures
void DrawHud();                   // panel, labels, score, bones, poison, energy
void BlackEnergyBar(int energy);  // blacks the strip from its right end down to column energy
