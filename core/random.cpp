// The game's random numbers: state = state * 214013 + 2531011, result bits 16..30.
#include "core/random.h"

#include "core/globals.h"

void Srand(uint32_t seed) { G.RandomState = seed; }

int Rand() {
    G.RandomState = G.RandomState * 214013u + 2531011u;
    return static_cast<int>((G.RandomState >> 16) & 0x7FFF);
}
