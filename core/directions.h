// The direction codes, each with the value the handheld gave it.
#pragma once

#include <cstdint>

// HeroDirection: standing, or the way the hero walks.
enum : int16_t { HeroNone = 0, HeroLeft = 1, HeroRight = 2, HeroUp = 3, HeroDown = 4 };
// Pixels to step on each axis per HeroDirection, in the same order.
inline constexpr int8_t HeroStepX[HeroDown + 1] = {0, -1, 1, 0, 0};
inline constexpr int8_t HeroStepY[HeroDown + 1] = {0, 0, 0, -1, 1};

// SpiderRecord::direction: the way a spider walks.
enum : int16_t { SpiderRight = 0, SpiderLeft = 1, SpiderDown = 2, SpiderUp = 3 };
constexpr int SpiderDirections = 4;  // a new spider draws its way from all four
// Pixels to step on each axis per spider direction, in the same order.
inline constexpr int8_t SpiderStepX[SpiderDirections] = {1, -1, 0, 0};
inline constexpr int8_t SpiderStepY[SpiderDirections] = {0, 0, 1, -1};

// MenuChaseDirection: the way the menu's dog and spider run.
enum : int16_t { ChaseRight = 0, ChaseLeft = 1 };

// Maze cells while GenerateMaze runs: the way back to the room a passage was carved from.
enum : int8_t { BackRight = 9, BackLeft = 10, BackDown = 11, BackUp = 12 };

// HighlightHeld: the d-pad directions held on a front-end screen, one bit each.
enum { PadUp = 1, PadDown = 2, PadLeft = 4, PadRight = 8 };
