// Fuzz target: whole headless runs over every screen, steered by fuzzed input, with the game's
// invariants checked after every frame. Each input is a list of events, four bytes each.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/input_events.h"
#include "app/script.h"
#include "fuzz/fuzz_input.h"
#include "fuzz/headless_run.h"
#include "fuzz/invariants.h"

constexpr int MaxFrames = 1000;     // frames one input may run
constexpr int AfterLastEvent = 30;  // frames run after the last event

// Four bytes an event: frames to wait (low 3 bits) and kind (tap, key down, key up, typed key),
// then the position, the button or the typed code.
static void DecodeEvents(const uint8_t* data, size_t size) {
    ClearScript();
    int32_t frame = 0;
    for (size_t i = 0; i + 4 <= size && ScriptEventCount < ScriptCapacity; i += 4) {
        frame += data[i] & 7;
        ScriptEvent& e = ScriptEvents[ScriptEventCount++];
        e = ScriptEvent{frame, HostEventPenDown, 0, 0, 0, 0};
        int kind = (data[i] >> 3) % 4;
        if (kind == 3) {
            e.type = HostEventTyped;
            e.character = int16_t(data[i + 1] % 97 < 95    ? 32 + data[i + 1] % 97
                                  : data[i + 1] % 97 == 95 ? 8
                                                           : 13);
        } else if (kind == 0) {
            e.x = int16_t(data[i + 1] * 240 / 256);
            e.y = int16_t((data[i + 2] | data[i + 3] << 8) % 320);
        } else {
            e.type = kind == 1 ? HostEventKeyDown : HostEventKeyUp;
            e.button = int8_t(data[i + 1] % 5);
        }
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!StartState) {
        const char* data = getenv("MURKO_FUZZ_DATA");
        StartHeadless(data ? data : ".", FuzzFolder());
    }
    if (size < 2) return 0;
    RestartRun(data[0] | data[1] << 8);
    DecodeEvents(data + 2, size - 2);
    BeginScriptedInput(true);
    uint32_t last = ScriptEventCount ? uint32_t(ScriptEvents[ScriptEventCount - 1].frame) : 0;
    uint32_t frames = last + AfterLastEvent < MaxFrames ? last + AfterLastEvent : MaxFrames;
    for (bool going = true; going && G.FrameCount < frames;) {
        going = RunOneFrame();
        CheckInvariants();
    }
    return 0;
}
