// Merges the keyboard, gamepad d-pads and sticks into one set of host key events: a button is down
// while any source holds it, and its key-up goes out only when the last source lets go.
#pragma once

#include <cstdint>

#include "platform/host.h"

// Buttons in the order of the host key list.
enum : int {
    ButtonUp,
    ButtonDown,
    ButtonLeft,
    ButtonRight,
    ButtonA,
    ButtonB,
    ButtonC,
    ButtonStart,
    ButtonCount
};

constexpr int MergeSources = 64;  // source numbers 0..63 (a key, a pad's d-pad, a pad's stick, ...)
constexpr int MergeQueueSize = 32;       // events waiting to be taken
constexpr int32_t StickPress = 16000;    // a stick further out than this presses its direction
constexpr int32_t StickRelease = 11000;  // and lets go only once back inside this

struct ButtonMerge {
    uint64_t holders[ButtonCount];    // per button, one bit for every source holding it
    int16_t keys[ButtonCount];        // host key code sent for each button
    HostEvent queue[MergeQueueSize];  // key events not yet taken, oldest first
    int head, count;                  // ring position and fill of queue
};

void MergeReset(ButtonMerge* m);                            // nothing held, nothing queued
void MergePress(ButtonMerge* m, int button, int source);    // queues a key-down (repeats too)
void MergeRelease(ButtonMerge* m, int button, int source);  // key-up when no holder is left
void MergeReleaseSource(ButtonMerge* m, int source);        // a source vanished (pad unplugged)
bool MergeHeld(const ButtonMerge* m, int button);           // any source holds the button
bool MergeTake(ButtonMerge* m, HostEvent* event);           // takes the oldest queued event

// One stick axis: state -1, 0 or +1 with hysteresis; presses and releases the two buttons.
int8_t StickStep(int8_t state, int32_t value);
void MergeStickAxis(ButtonMerge* m, int8_t* state, int32_t value, int negative, int positive,
                    int source);
