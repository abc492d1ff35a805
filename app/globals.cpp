// The one instance of the game's state.
#include "app/globals.h"

GameGlobals G;
