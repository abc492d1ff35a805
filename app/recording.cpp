// --record: the seed and every input event of a run, written as a replayable script.
#include "app/recording.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "app/input_events.h"
#include "app/options.h"
#include "app/script.h"
#include "core/globals.h"
#include "platform/host.h"

static FILE* RecordFile = nullptr;  // --record: the recording being written

bool OpenRecording() {
    if (Options.recordFile.empty()) return true;
    RecordFile = fopen(Options.recordFile.c_str(), "w");
    if (!RecordFile) {
        fprintf(stderr, "murko: cannot create the recording %s: %s\n", Options.recordFile.c_str(),
                strerror(errno));
        return false;
    }
    return true;
}

void StartRecording() {
    if (!RecordFile) return;
    if (!Options.haveSeed) {
        Options.haveSeed = true;
        Options.seed = HostSeedTicks();
    }
    WriteRecordingHeader(RecordFile, Options.seed);
    RecordInputTo(RecordFile);
}

void FinishRecording() {
    if (!RecordFile) return;
    RecordInputTo(nullptr);
    fprintf(RecordFile, "# the run ended after %u frames\n", G.FrameCount);
    bool ok = !ferror(RecordFile);
    if (fclose(RecordFile) != 0 || !ok)
        fprintf(stderr, "murko: cannot write the recording %s\n", Options.recordFile.c_str());
    RecordFile = nullptr;
}

void DropRecording() {
    if (!RecordFile) return;
    fclose(RecordFile);
    RecordFile = nullptr;
    remove(Options.recordFile.c_str());
}
