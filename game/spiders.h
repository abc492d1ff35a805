// Spiders and fights: the contact test, the walk through the maze, one round of a fight.
#pragma once

constexpr int SpiderStep = 2;         // world pixels a spider moves each frame
constexpr int SpiderStepFrames = 10;  // moving frames from one cell to the next
constexpr int ContactReach = 20;      // a spider this close on both axes (inclusive) starts a fight
constexpr int FightRoundPhase = 3;    // FightPhase above this fights a round

int SpiderShown(int x, int y, int map);  // 1 when a spider at world (x, y) lies in the shown window
void SpiderPass();   // draws the shown spiders and starts a fight with the first one in contact
void MoveSpiders();  // every active spider steps 2 pixels, or chooses its next way at a cell
int FightRound();    // advances a running fight; 1 when the hero has died
