// Level setup.
#include "game/level.h"

#include "app/globals.h"
#include "game/maze.h"

void NewGame() {
    G.ScreenState = ScreenGame;
    BuildLevel();
}

void BuildLevel() { GenerateMaze(); }
