// Buttons and stylus: latches written between frames, read by the screens through accessors.
#pragma once

#include <cstdint>
#include <cstdio>

#include "platform/host.h"

int32_t ButtonAPressed();  // 1 once per press of A (clears the latch)
int32_t LeftHeld();        // 1 while left is down
int32_t RightHeld();       // 1 while right is down
int32_t UpHeld();          // 1 while up is down
int32_t DownHeld();        // 1 while down is down
int32_t StylusTapped();    // 1 once per unread tap (marks it read)
int32_t TapX();            // x of the last pen-down
int32_t TapY();            // y of the last pen-down

bool TakeInputEvent(HostEvent* event);       // the next event for the pump: scripted or from the host
void HandleInputEvent(const HostEvent& event);  // applies one event to the latches

// Scripted input. The loaded script (app/script.h) is delivered from the pumps; with replay set,
// the host's keys and taps are dropped until the script is used up, so nothing but the recording
// steers the run. Start-up events (frame -1) are handed to the game here, before the first frame.
void BeginScriptedInput(bool replay);

// Recording: every event the pumps deliver is written to f as a script line (null stops).
void RecordInputTo(FILE* f);
