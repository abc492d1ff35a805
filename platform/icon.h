// The window icon, drawn from the grid in assets/art/window_icon.txt.
#pragma once

#include <cstdint>

constexpr int IconSize = 32;  // pixels a side

void IconPixels(uint32_t argb[IconSize * IconSize]);  // the icon, 0xAARRGGBB, rows top to bottom
