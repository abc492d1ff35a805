// The game's random numbers: the handheld C library's generator, reproduced exactly.
#pragma once

#include <cstdint>

constexpr int RandMax = 32767;  // largest value Rand returns

void Srand(uint32_t seed);  // sets the generator state to seed
int Rand();                 // next value, 0..RandMax
