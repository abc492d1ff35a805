// The hero between frames: the walk, the direction keys, the pickups and the map key.
#pragma once

constexpr int HeroStep = 2;       // world pixels a walking hero moves each frame
constexpr int FoodEnergy = 30;    // energy a food item gives back
constexpr int FoodScore = 15;     // points for eating food
constexpr int BoneScore = 100;    // points for a bone
constexpr int PoisonScore = 30;   // points for taking poison
constexpr int LevelScore = 1000;  // points for a finished level

void FollowHero();   // camera: the hero's box stays 80 to 140 pixels inside the view on both axes
void AnimateHero();  // the walk picture changes every fourth frame while the hero walks
void HeroStepAndKeys();          // one 2-pixel step, then the direction keys and the map key
void TryPickup(int cx, int cy);  // the item in cell (cx, cy) when its condition holds
