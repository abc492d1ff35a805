// (being written)
#include "game/game_frame.h"

void GameFrame() {}
