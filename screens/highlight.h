// Play without a pointer: a highlight moved by the d-pad over a front-end screen's items, and A as
// a tap on the highlighted one.
#pragma once

// Called once a frame by every front-end screen, after its picture and before it reads its tap:
// takes this frame's directions and A, draws the highlight while it is shown, and turns A into a
// tap at the centre of the highlighted item's tap rectangle (the screen then handles it as any
// tap).
void PadHighlight();
