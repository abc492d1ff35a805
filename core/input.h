// Buttons and stylus as the screens see them: latches written between frames, read through these.
#pragma once

#include <cstdint>

int32_t ButtonAPressed();  // 1 once per press of A (clears the latch)
int32_t LeftHeld();        // 1 while left is down
int32_t RightHeld();       // 1 while right is down
int32_t UpHeld();          // 1 while up is down
int32_t DownHeld();        // 1 while down is down
int32_t StylusTapped();    // 1 once per unread tap (marks it read)
int32_t TapX();            // x of the last pen-down
int32_t TapY();            // y of the last pen-down
int32_t KeyTyped();        // the unread key typed on the desktop keyboard, 0 if none (clears it)

// Typed keys are character codes 32..126, or these two.
constexpr int32_t TypedBackspace = 8;  // the Backspace key
constexpr int32_t TypedEnter = 13;     // the Enter key
