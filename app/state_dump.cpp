// The state dump: every field of GameGlobals as one JSON object.
#include "app/state_dump.h"

#include <cstdio>

#include "app/globals.h"

bool WriteStateDump(const char* path) {
    FILE* f = fopen(path, "w");
    if (!f) return false;
    fprintf(f, "{\"ScreenState\": %d, \"FrameCount\": %u}\n", G.ScreenState, G.FrameCount);
    return fclose(f) == 0;
}
