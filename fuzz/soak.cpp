// The soak: a long series of headless runs over random seeds, driven by random taps and keys
// over every screen, with the game's invariants checked after every frame.
// Usage: murko_soak FRAMES [SEED] [DATA_FOLDER]
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/input_events.h"
#include "fuzz/headless_run.h"
#include "fuzz/invariants.h"

constexpr long MaxRunFrames = 20000;  // frames after which a run that never quits is started anew

static uint64_t SoakState = 0;  // the soak's own generator (the game's sequence stays the game's)

static uint32_t SoakRand(uint32_t n) {
    SoakState ^= SoakState << 13;
    SoakState ^= SoakState >> 7;
    SoakState ^= SoakState << 17;
    return uint32_t(SoakState % n);
}

// The kinds of input a player gives, with how often each comes.
static void RandomInput() {
    uint32_t roll = SoakRand(100);
    if (roll < 35) {
        HandleInputEvent(
            HostEvent{HostEventPenDown, 0, int32_t(SoakRand(240)), int32_t(SoakRand(320))});
    } else if (roll < 80) {
        for (int b = KeyUp; b <= KeyRight; b++)
            HandleInputEvent(HostEvent{HostEventKeyUp, G.KeyList[b].code, 0, 0});
        HandleInputEvent(HostEvent{HostEventKeyDown, G.KeyList[SoakRand(4)].code, 0, 0});
    } else if (roll < 90) {
        HandleInputEvent(HostEvent{HostEventKeyDown, G.KeyList[KeyA].code, 0, 0});
        HandleInputEvent(HostEvent{HostEventKeyUp, G.KeyList[KeyA].code, 0, 0});
    } else if (roll < 97) {
        HandleInputEvent(HostEvent{HostEventTyped, int16_t(32 + SoakRand(95)), 0, 0});
    } else {
        HandleInputEvent(HostEvent{HostEventTyped, int16_t(SoakRand(2) ? 8 : 13), 0, 0});
    }
}

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: murko_soak FRAMES [SEED] [DATA_FOLDER]\n");
        return 2;
    }
    long total = atol(argv[1]);
    SoakState = argc > 2 ? strtoull(argv[2], nullptr, 10) * 2654435761u + 1 : 88172645463325252ull;
    std::string scores = "/tmp/murko-soak-" + std::to_string(getpid()) + "/";
    StartHeadless(argc > 3 ? argv[3] : ".", scores);
    long frames = 0, runs = 0;
    long perScreen[ScreenCount] = {};
    while (frames < total) {
        RestartRun(SoakRand(1u << 31));
        runs++;
        for (bool going = true; going && frames < total && G.FrameCount < MaxRunFrames; frames++) {
            if (SoakRand(8) == 0) RandomInput();
            perScreen[G.ScreenState]++;
            going = RunOneFrame();
            CheckInvariants();
        }
    }
    printf("soak: %ld frames in %ld runs, every invariant held; frames by screen:", frames, runs);
    for (int s = 0; s < ScreenCount; s++) printf(" %d:%ld", s, perScreen[s]);
    printf("\n");
    return 0;
}
