// What the game's state holds whatever happened: the maze, the hero, the spiders, the counters.
#pragma once

#include "core/globals.h"

// The first rule the state g breaks, in words, or nullptr when it keeps them all. Checked after
// every frame by the fuzzers and the soak, and on every suspended run before it is taken up.
const char* RunStateFault(const GameGlobals& g);
