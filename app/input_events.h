// Buttons and stylus: where scripted and host input meet the latches, between frames.
#pragma once

#include <cstdint>
#include <cstdio>

#include "platform/host.h"

void LoadKeyList();  // KeyList from the host's default keys

bool TakeInputEvent(HostEvent* event);  // the next event for the pump: scripted or from the host
void HandleInputEvent(const HostEvent& event);  // applies one event to the latches

// Scripted input. The loaded script (app/script.h) is delivered from the pumps; with replay set,
// the host's keys and taps are dropped until the script is used up, so nothing but the recording
// steers the run. Start-up events (frame -1) are handed to the game here, before the first frame.
void BeginScriptedInput(bool replay);

// Recording: every event the pumps deliver is written to f as a script line (null stops).
void RecordInputTo(FILE* f);
