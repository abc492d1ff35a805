// Input scripts and recordings: input events by frame, as text, read before the first frame.
//
// A script is one event a line:
//     F down KEY      F up KEY      F tap X Y      F type CODE      F quit      F mute
// KEY is up, down, left, right or a; X is 0..239 and Y 0..319; CODE is a key typed on the
// desktop keyboard: a character code 32..126, 8 Backspace or 13 Enter. Blank lines and '#'
// comments are allowed. "mute" is the speaker corner tapped while the game was paused, which
// flips the sound at once. F counts frames from 0: an event of frame F arrives in the message pump
// that follows frame F's present, so frame F + 1 is the first to see it. F = -1 is start-up: the
// event arrives before the first frame (a recording writes there what came in the start-up
// pumps). Frames never go down from one line to the next.
//
// A recording is a script that begins with the line "murko-recording 1" and then, before its
// first event, a line "seed N" giving the random seed of the run. A recording of a resumed run
// follows the seed line with "resume DIGITS" lines: together, in base 64, the bytes of the
// suspend file it resumed (app/suspend.cpp), so that it replays from the same state.
#pragma once

#include <cstdint>
#include <cstdio>

#include "platform/host.h"

constexpr int ScriptCapacity = 262144;      // events a script may hold
constexpr int ScriptLineMax = 255;          // characters a line may hold
constexpr long ScriptBytesMax = 32L << 20;  // bytes a script or recording may hold (32 MiB)
constexpr int32_t StartUpFrame = -1;        // frame number of events before the first frame
constexpr int RecordingVersion = 1;         // the recording format this build writes and reads
constexpr int ScriptMessageSize = 512;      // room for one error message

// One scripted event.
struct ScriptEvent {
    int32_t frame;       // frame after whose present the event arrives; -1 = start-up
    HostEventType type;  // key down, key up, pen-down or quit
    int8_t button;       // KeyList index (KeyUp, KeyDown, KeyLeft, KeyRight, KeyA) of key events
    int16_t x, y;        // screen position of a pen-down
    int16_t character;   // code of a typed key (no default: the 3 MB event table stays zeroed BSS,
                         // not built at start-up)
};

extern ScriptEvent ScriptEvents[ScriptCapacity];  // the loaded script, in frame order
extern int ScriptEventCount;                      // events in ScriptEvents
extern int ScriptNextEvent;                       // index of the next event to deliver
extern bool ScriptHasSeed;                     // a recording was loaded: ScriptSeed holds its seed
extern uint32_t ScriptSeed;                    // the seed line of the loaded recording
constexpr size_t ScriptResumeMax = 1 << 20;    // bytes the resume lines may carry
extern uint8_t ScriptResume[ScriptResumeMax];  // the suspend file a recording resumes
extern size_t ScriptResumeSize;                // its bytes, 0 for none

void ClearScript();  // forgets any loaded script

// Reads a script (recording = false) or a recording (recording = true) from f into the
// ScriptEvents table, stopping at the first bad line. On failure the table is cleared, message
// holds one line "NAME:LINE: what is wrong" and the result is false.
bool ReadScript(FILE* f, const char* name, bool recording, char* message, int messageSize);

// Opens and reads a script or recording file; message as ReadScript (also when it cannot be
// opened).
bool LoadScriptFile(const char* path, bool recording, char* message, int messageSize);

// The host event a scripted event stands for, with the key codes of KeyList.
HostEvent HostEventFromScript(const ScriptEvent& event);

// The scripted form of a host event taken in a pump (frame = the frame it follows, -1 at
// start-up). False for events a script cannot hold and that change nothing: keys of no
// KeyList button, B, C and Start, pen-downs off the screen and typed codes outside CODE's range.
bool ScriptEventFromHost(const HostEvent& event, int32_t frame, ScriptEvent* out);

void WriteRecordingHeader(FILE* f, uint32_t seed);  // version line, format notes, seed line
void WriteScriptEvent(FILE* f, const ScriptEvent& event);
void WriteRecordingResume(FILE* f, const uint8_t* bytes,
                          size_t size);  // the resume lines  // one event line
