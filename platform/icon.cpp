// The window icon: Murko's head, 32 x 32, from assets/art/window_icon.txt by way of the art tool.
#include "platform/icon.h"

#include <cstring>

#include "window_icon.inc"  // WindowIconGrid, made at build time

static_assert(sizeof WindowIconGrid == sizeof(uint32_t) * IconSize * IconSize,
              "window_icon.txt draws an icon of IconSize pixels a side");

void IconPixels(uint32_t argb[IconSize * IconSize]) {
    memcpy(argb, WindowIconGrid, sizeof WindowIconGrid);
}
