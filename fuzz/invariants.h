// What must hold after every frame, whatever the input: checked by the fuzzer and the soak.
#pragma once

#include <cstdio>
#include <cstdlib>

#include "core/globals.h"

// A broken rule ends the process with the rule's text, so the fuzzer keeps the input.
#define MURKO_REQUIRE(rule)                                   \
    do {                                                      \
        if (!(rule)) {                                        \
            fprintf(stderr, "invariant broken: %s\n", #rule); \
            abort();                                          \
        }                                                     \
    } while (0)

inline void CheckInvariants() {
    MURKO_REQUIRE(G.ScreenState >= 0 && G.ScreenState < ScreenCount);
    MURKO_REQUIRE(G.Energy >= 0 && G.Energy <= MaxEnergy);
    MURKO_REQUIRE(G.BonesCollected >= 0 && G.BonesCollected <= G.BonesNeeded);
    MURKO_REQUIRE(G.PoisonCarried == 0 || G.PoisonCarried == 1);
    MURKO_REQUIRE(G.FightPhase >= 0 && G.FightPhase <= 3);
    MURKO_REQUIRE(G.HeroX >= 0 && G.HeroX < G.MazeWidth * CellSize);
    MURKO_REQUIRE(G.HeroY >= 0 && G.HeroY < G.MazeHeight * CellSize);
    MURKO_REQUIRE(G.HeroMoving || (G.HeroX % CellSize == 0 && G.HeroY % CellSize == 0));
    MURKO_REQUIRE(G.MenuChasePos >= 0 && G.MenuChasePos < 400 && G.MenuChasePos % 2 == 0);
    MURKO_REQUIRE(G.TransitionAngle >= 0 && G.TransitionAngle < 360);
    MURKO_REQUIRE(G.HelpPage >= 0 && G.HelpPage <= 2);
    MURKO_REQUIRE(G.EnteredNameLength >= 0 && G.EnteredNameLength <= 10);
    MURKO_REQUIRE(G.EnteredName[10] == 0);
    MURKO_REQUIRE(G.KeyFlashFrames >= 0 && G.KeyFlashFrames <= 4);
    for (int i = 0; i < SpiderSlots; i++) {
        const SpiderRecord& s = G.SpiderTable[i];
        if (!s.active || s.stepsLeft > 0) continue;
        MURKO_REQUIRE(s.x % CellSize == 0 && s.y % CellSize == 0);
        MURKO_REQUIRE(G.MazeGrid[(s.x / CellSize) * MazeStride + s.y / CellSize] == CellOpen);
    }
    for (int i = 1; i < HighScoreEntries; i++)
        MURKO_REQUIRE(G.HighScoreTable[i - 1].score >= G.HighScoreTable[i].score);
}
