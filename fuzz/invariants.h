// What must hold after every frame, whatever the input: checked by the fuzzer and the soak.
#pragma once

#include <cstdio>
#include <cstdlib>

#include "core/globals.h"
#include "game/run_state.h"

// A broken rule ends the process with the rule's text, so the fuzzer keeps the input.
#define MURKO_REQUIRE(rule)                                   \
    do {                                                      \
        if (!(rule)) {                                        \
            fprintf(stderr, "invariant broken: %s\n", #rule); \
            abort();                                          \
        }                                                     \
    } while (0)

inline void CheckInvariants() {
    const char* fault = RunStateFault(G);
    if (fault) fprintf(stderr, "invariant broken: %s\n", fault);
    MURKO_REQUIRE(fault == nullptr);
    for (int i = 1; i < HighScoreEntries; i++)
        MURKO_REQUIRE(G.HighScoreTable[i - 1].score >= G.HighScoreTable[i].score);
}
