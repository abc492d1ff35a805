// The frame loop: timer, screen dispatch, speaker overlay and message pump.
#pragma once

#include <cstdint>

using ScreenHandler = void (*)();
extern ScreenHandler ScreenHandlers[7];  // handler of each ScreenState value; null draws nothing

uint32_t StartFrameTimer();  // stores and returns the tick at the start of a frame
int32_t FrameElapsedMs();    // ms since the frame start, safe across the tick wrap
int PumpMessages(
    uint8_t present);     // presents (when asked), then handles waiting input; 1 if any came
void RunScreenHandler();  // calls the handler of ScreenState, if it has one
void RunFrame();          // one frame: handler, speaker corner, present and input
void RunFrames();         // frames until QuitRequested (or the --frames limit)
void MainLoop();          // start-up loading, frames until QuitRequested, shut-down
