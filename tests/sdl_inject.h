// Synthetic desktop input for the tests: SDL events queued as the desktop would send them, so the
// SDL backend's own poll turns them into host events (run on SDL's dummy video driver).
#pragma once

#include <cstdint>

void SdlInjectKey(int usbCode, bool down,
                  bool alt);  // a key by its USB usage id, with or without Alt
void SdlInjectFocusLoss();    // the window loses the keyboard focus
void SdlInjectClick(double x, double y, bool fromTouch);  // left mouse press at window point (x, y)
void SdlInjectTouch(float x, float y);                    // a finger at fractions of the window
void SdlInjectWindowSize(int width, int height);          // resizes the game window
int SdlInjectPad();  // plugs in a virtual gamepad; its id, or -1
void SdlInjectPadButton(int pad, int button, bool down);  // SDL game controller button number
void SdlInjectPadAxis(int pad, int axis, int16_t value);  // SDL game controller axis number
