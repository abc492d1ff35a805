// The button and stylus latches, and how scripted, host and recorded input meet in the pump.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/input_events.h"
#include "app/script.h"
#include "core/globals.h"
#include "core/input.h"
#include "platform/headless.h"

namespace {

HostEvent Down(int16_t code) { return HostEvent{HostEventKeyDown, code, 0, 0}; }
HostEvent Up(int16_t code) { return HostEvent{HostEventKeyUp, code, 0, 0}; }
HostEvent Tap(int x, int y) { return HostEvent{HostEventPenDown, 0, x, y}; }
const HostEvent Quit{HostEventQuit, 0, 0, 0};

// What the game reads: A twice, the tap twice and its place, then left, right, up, down and quit.
std::string Read() {
    const int a1 = ButtonAPressed();
    const int a2 = ButtonAPressed();
    const int t1 = StylusTapped();
    const int t2 = StylusTapped();
    char s[64];
    snprintf(s, sizeof s, "A%d%d T%d%d %d,%d %d%d%d%d%d", a1, a2, t1, t2, TapX(), TapY(),
             LeftHeld(), RightHeld(), UpHeld(), DownHeld(), int(G.QuitRequested));
    return s;
}

// From a fresh start with a script, pump n (after frame n - 1) gets the host events of step n, then
// the game reads what the step expects. Returns what was recorded.
using Step = std::pair<std::vector<HostEvent>, const char*>;
std::string Play(const std::string& script, bool replay, const std::vector<Step>& steps) {
    HostUse(HeadlessBackend());
    HostOpen(HostConfig{DisplayRgb565, 1, false, true});  // empties the event queue
    LoadKeyList();
    G.LeftDown = 0;
    G.RightDown = 0;
    G.UpDown = 0;
    G.DownDown = 0;
    G.TapPosX = 0;
    G.TapPosY = 0;
    G.QuitRequested = 0;
    G.FrameCount = 0;
    Read();  // no unread press or tap
    FILE* f = fmemopen(const_cast<char*>(script.data()), script.size(), "r");
    char message[ScriptMessageSize] = "";
    char* recorded = nullptr;
    EXPECT_TRUE(ReadScript(f, "test", false, message, sizeof message)) << message;
    fclose(f);
    size_t size = 0;
    f = open_memstream(&recorded, &size);
    RecordInputTo(f);
    BeginScriptedInput(replay);
    for (G.FrameCount = 0; G.FrameCount < steps.size(); G.FrameCount++) {
        for (const HostEvent& e : steps[G.FrameCount].first) HeadlessPushEvent(e);
        for (HostEvent e; TakeInputEvent(&e);) HandleInputEvent(e);
        EXPECT_EQ(Read(), steps[G.FrameCount].second) << "pump " << G.FrameCount;
    }
    RecordInputTo(nullptr);
    fclose(f);
    std::string text(recorded, size);
    free(recorded);
    return text;
}

}  // namespace

TEST(Input, LatchesFollowTheRules) {
    Play("# the host alone\n", false,
         {
             {{Down(HostKeyA), Up(HostKeyA)},
              "A10 T00 0,0 00000"},  // pressed and released between frames
             {{Down(HostKeyA), Tap(10, 20), Tap(200, 300)}, "A10 T10 200,300 00000"},
             {{Down(HostKeyA), Tap(240, 5), Tap(5, -1), Tap(-1, 5), Tap(5, 320)},
              "A10 T00 200,300 00000"},  // held
             {{Down(HostKeyLeft), Down(HostKeyUp), Down(HostKeyDown), Up(HostKeyDown)},
              "A00 T00 200,300 10100"},
             {{Down(HostKeyRight), Up(HostKeyLeft), Quit}, "A00 T00 200,300 01101"},
             {{Up(HostKeyA), Down(HostKeyB), Down(HostKeyStart), Down(0x41)},
              "A00 T00 200,300 01101"},
         });
    G.KeyList[KeyA].code = HostKeyB;  // a code matching two entries sets both
    G.KeyList[KeyLeft].code = HostKeyB;
    HandleInputEvent(Down(HostKeyB));
    EXPECT_EQ(Read(), "A10 T00 200,300 11101");
}

TEST(Input, ScriptedEventsArriveAfterTheirFrameAndAreRecordedWithHostEvents) {
    const std::string recorded =
        Play("-1 down left\n0 tap 5 6\n2 down a\n2 up left\n3 quit\n", false,
             {
                 {{Tap(1, 2), Down(HostKeyStart)},
                  "A00 T10 1,2 10000"},  // pump 0 runs before the first frame
                 {{}, "A00 T10 5,6 10000"},
                 {{Down(HostKeyRight)}, "A00 T00 5,6 11000"},
                 {{}, "A10 T00 5,6 01000"},
                 {{}, "A00 T00 5,6 01001"},
             });
    EXPECT_EQ(recorded,
              "-1 down left\n-1 tap 1 2\n0 tap 5 6\n1 down right\n2 down a\n2 up left\n3 quit\n");
    Play("0 down a\n",
         true,  // a replay shuts out the host but for closing the window, until it is used up
         {{{Down(HostKeyLeft), Tap(1, 2), Quit}, "A00 T00 0,0 00001"},
          {{Down(HostKeyRight)}, "A10 T00 0,0 01001"}});
}
