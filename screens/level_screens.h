// The level list after PLAY GAME, and the level-complete screen between levels.
#pragma once

void LevelSelectScreen();    // ScreenLevelSelect
void LevelCompleteScreen();  // ScreenLevelComplete
