// Play without a pointer: a highlight moved by the d-pad over a front-end screen's items, and A as
// a tap on the highlighted one.
#pragma once

#include <span>

#include "screens/items.h"

// Takes this frame's directions and A (called through TakeScreenTap, before the frame's tap is
// read), moves and draws the highlight while it is shown, and returns the item A taps, or -1.
int PadHighlight(std::span<const ScreenItem> items);
