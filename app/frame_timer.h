// The frame timer: the tick at which the current frame began.
#pragma once

#include <cstdint>

constexpr int32_t FrameGateMs = 30;  // a frame starts once more than this has elapsed

uint32_t StartFrameTimer();  // stores and returns the tick at the start of a frame
int32_t FrameElapsedMs();    // ms since the frame start, safe across the tick wrap
