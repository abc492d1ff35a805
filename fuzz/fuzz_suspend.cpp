// Fuzz target: a suspend file as anyone may have left it. The bytes are read as a whole file, and
// again as the packed state behind a header of their own (so the hash lets them through to the
// unpacking and the checks); a run that is taken up then plays on with fuzzed input, the game's
// invariants checked after every frame.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/input_events.h"
#include "app/suspend.h"
#include "fuzz/fuzz_input.h"
#include "fuzz/headless_run.h"
#include "fuzz/invariants.h"

constexpr int PlayedFrames = 60;  // frames a run taken up plays

static void PlayOn(uint32_t seed) {
    RestartRun(seed);
    TakeUpRun();
    for (int frame = 0; frame < PlayedFrames; frame++) {
        HandleInputEvent(HostEvent{HostEventKeyDown, G.KeyList[seed % 5].code, 0, 0});
        seed = seed * 1103515245u + 12345u;
        if (!RunOneFrame()) break;
        CheckInvariants();
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!StartState) {
        const char* folder = getenv("MURKO_FUZZ_DATA");
        StartHeadless(folder ? folder : ".", FuzzFolder());
    }
    static std::vector<uint8_t> file(SuspendFileMax + 1);
    const char* why = nullptr;
    if (CheckRunBytes(data, size, &why)) PlayOn(size);
    if (size > SuspendFileMax - SuspendHeaderBytes) return 0;
    memcpy(file.data() + SuspendHeaderBytes, data, size);
    if (CheckRunBytes(file.data(), WriteRunHeader(file.data(), size), &why)) PlayOn(size);
    return 0;
}
