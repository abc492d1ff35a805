// Play without a pointer: a highlight moved by the d-pad over a front-end screen's items, and A as
// a tap on the highlighted one; the frame's tap, by pointer or by A.
#pragma once

#include <span>

#include "screens/items.h"

// Takes this frame's directions and A (called through TakeScreenTap, before the frame's tap is
// read), moves and draws the highlight while it is shown, and returns the item A taps, or -1.
int PadHighlight(std::span<const ScreenItem> items);

// A frame's tap on a front-end screen.
struct ScreenTap {
    int x, y;  // where, as signed 16-bit values like every tap the screens read
    int item;  // the item it reached, -1 for none
};

// Called once a frame by every front-end screen after its picture: runs the pad highlight over the
// screen's items and takes the frame's tap, the pointer's or A's on the highlighted item. False
// when there is none.
bool TakeScreenTap(std::span<const ScreenItem> items, ScreenTap* tap);
