// (being written)
#include "screens/level_screens.h"

void LevelSelectScreen() {}
void LevelCompleteScreen() {}
