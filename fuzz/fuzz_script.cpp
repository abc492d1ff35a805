// Fuzz target: input scripts and recordings, read and then written back.
#include <cstdint>
#include <cstdio>

#include "app/script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    bool recording = data[0] & 1;
    FILE* f = fmemopen(const_cast<uint8_t*>(data + 1), size - 1, "rb");
    if (!f) return 0;
    char message[ScriptMessageSize];
    bool ok = ReadScript(f, "fuzz", recording, message, sizeof message);
    fclose(f);
    if (!ok) return 0;
    FILE* sink = fopen("/dev/null", "w");
    for (int i = 0; i < ScriptEventCount; i++) {
        HostEvent event = HostEventFromScript(ScriptEvents[i]);
        ScriptEvent again;
        if (ScriptEventFromHost(event, ScriptEvents[i].frame, &again))
            WriteScriptEvent(sink, again);
    }
    fclose(sink);
    return 0;
}
