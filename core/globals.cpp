// The one instance of the game's state.
#include "core/globals.h"

GameGlobals G;
