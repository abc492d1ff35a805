// One frame of the loop: the screen's handler, the speaker corner, the present and the input.
#pragma once

#include <cstdint>

#include "core/globals.h"

using ScreenHandler = void (*)();
extern ScreenHandler
    ScreenHandlers[ScreenCount];  // handler of each ScreenState; null draws nothing

int PumpMessages(uint8_t present);  // presents (when asked), then handles waiting input; 1 if any
void RunScreenHandler();            // calls the handler of ScreenState, if it has one
void RunFrame();                    // one frame: handler, speaker corner, present and input
