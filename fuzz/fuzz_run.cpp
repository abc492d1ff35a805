// Fuzz target: whole headless runs over every screen, steered by fuzzed input, with the game's
// invariants checked after every frame. Each input is a list of events, four bytes each.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/data.h"
#include "app/input.h"
#include "app/main_loop.h"
#include "app/options.h"
#include "app/script.h"
#include "app/sound.h"
#include "core/globals.h"
#include "core/random.h"
#include "fuzz/fuzz_input.h"
#include "fuzz/invariants.h"
#include "platform/host.h"

constexpr int MaxFrames = 1000;   // frames one input may run
constexpr int AfterLastEvent = 30;  // frames run after the last event

static GameGlobals* StartState = nullptr;  // the state after start-up, restored before each run

// Start-up once: data from MURKO_FUZZ_DATA (a build folder holding Graph/ and Sound/), sound
// silent, scores in the scratch folder.
static void StartUp() {
    const char* data = getenv("MURKO_FUZZ_DATA");
    std::string dataArg = data ? data : ".";
    std::string scratch = FuzzFolder();
    char* argv[] = {(char*)"murko", (char*)"--headless", (char*)"--mute", (char*)"--data", dataArg.data(), nullptr};
    ParseOptions(5, argv);
    HostUse(HeadlessBackend());
    HostOpen(Options.host);
    G.DisplayBpp = 16;
    G.DisplayXPitch = 2;
    G.DisplayYPitch = 480;
    BuildDataPaths();
    G.ProgramFolder = scratch;
    InitSound();
    LoadResources();
    StartState = new GameGlobals(G);
}

// Four bytes an event: frames to wait (low 3 bits) and kind, then button or position.
static void DecodeEvents(const uint8_t* data, size_t size) {
    ClearScript();
    int32_t frame = 0;
    for (size_t i = 0; i + 4 <= size && ScriptEventCount < ScriptCapacity; i += 4) {
        frame += data[i] & 7;
        ScriptEvent& e = ScriptEvents[ScriptEventCount++];
        e = ScriptEvent{frame, HostEventPenDown, 0, 0, 0};
        int kind = (data[i] >> 3) % 3;
        if (kind == 0) {
            e.x = int16_t(data[i + 1] * 240 / 256);
            e.y = int16_t((data[i + 2] | data[i + 3] << 8) % 320);
        } else {
            e.type = kind == 1 ? HostEventKeyDown : HostEventKeyUp;
            e.button = int8_t(data[i + 1] % 5);
        }
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!StartState) StartUp();
    if (size < 2) return 0;
    G = *StartState;
    Srand(data[0] | data[1] << 8);
    DecodeEvents(data + 2, size - 2);
    BeginScriptedInput(true);
    G.FrameCount = 0;
    G.QuitRequested = 0;
    StartFrameTimer();
    uint32_t last = ScriptEventCount ? uint32_t(ScriptEvents[ScriptEventCount - 1].frame) : 0;
    uint32_t frames = last + AfterLastEvent < MaxFrames ? last + AfterLastEvent : MaxFrames;
    while (G.QuitRequested == 0 && G.FrameCount < frames) {
        Options.frames = G.FrameCount + 1;
        RunFrames();
        CheckInvariants();
    }
    return 0;
}
