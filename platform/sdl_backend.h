// What the SDL window half and the SDL input half of the backend ask of each other.
#pragma once

#include <cstdint>

#include "platform/host.h"

// Window side (sdl_host.cpp).
void SdlToggleFullscreen();  // Alt+Enter and F11: desktop fullscreen on or off (never with
                             // --windowed)
void SdlShowWindow();        // another start asked for this game: restore and raise the window
void SdlRedraw();            // shows the last picture again (exposed or resized window)
void SdlSaveScreenshot();  // F12: the picture as PNG, plain and at the window's scale; told in the
                           // title
bool SdlMapPointer(double x, double y, int32_t* screenX,
                   int32_t* screenY);                                    // window points to screen
bool SdlMapTouch(float x, float y, int32_t* screenX, int32_t* screenY);  // 0..1 window fractions

// Input side (sdl_input.cpp).
bool SdlInputOpen(
    const HostConfig& config);  // key bindings, gamepads (hot-plugged from here on), merged buttons
void SdlInputClose();
bool SdlPollEvent(HostEvent* event);  // the next keyboard, pad, stylus or quit event
