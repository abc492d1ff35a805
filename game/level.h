// Level setup: a new run, and the maze, items, spiders and hero of the current level.
#pragma once

constexpr int BonesPerLevel = 6;  // bones that finish every level
constexpr int SmallestMaze = 20;  // columns and rows of level 1

void NewGame();     // score, energy and level back to the start, then BuildLevel
void BuildLevel();  // builds level Level: maze, niche items, spiders (150 at most), hero and camera
