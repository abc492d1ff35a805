// The frame loop against a scripted clock: the 30 ms gate, slow frames, the tick wrap and quitting.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/main_loop.h"
#include "app/options.h"
#include "app/script.h"
#include "app/shell.h"
#include "core/globals.h"
#include "platform/host.h"

namespace {

uint32_t Clock;                      // the fake millisecond clock
uint32_t IdleStep;                   // how far one HostIdle moves the clock (0: as far as asked)
std::vector<uint32_t> Presents;      // clock at each present
std::vector<uint32_t> HandlerCalls;  // clock at each handler call
int IdleCalls;                       // HostIdle calls so far
uint8_t Panel[153600];               // the device memory the frames go to

bool Open(const HostConfig&) { return true; }
void Close() {}
uint32_t Ticks() { return Clock; }
void Idle(uint32_t ms) {
    IdleCalls++;
    Clock += IdleStep ? IdleStep : ms;
}
bool Poll(HostEvent*) { return false; }
HostDisplayProperties Props() { return {16, 2, 480}; }
uint8_t* Begin() {
    Presents.push_back(Clock);
    return Panel;
}
void End() {}
const HostBackend FakeClock = {Open, Close, Ticks, Idle, Poll, Props, Begin, End, Ticks, nullptr};

// Frames run from a clock at start, until the handler has been called `frames` times and asks to
// quit.
struct LoopCase {
    const char* name;
    uint32_t start;     // clock when the loop begins (the frame timer starts there too)
    uint32_t idleStep;  // clock granularity of one idle pass
    int slowFrame;      // handler call that takes 50 ms (-1: none)
    int frames;         // handler calls before quitting
};

// A quiet start: the fake clock's host, a 16-bit panel, no script, no options.
void ResetLoop(uint32_t start) {
    HostUse(&FakeClock);
    Options = LaunchOptions{};
    ClearScript();
    G.QuitRequested = 0;
    G.FrameCount = 0;
    G.DisplayBpp = 16;
    G.DisplayXPitch = 2;
    G.DisplayYPitch = 480;
    Clock = start;
    G.FrameStartTick = start;
    Presents.clear();
    HandlerCalls.clear();
    IdleCalls = 0;
}

void RunLoop(const LoopCase& c) {
    ResetLoop(c.start);
    G.ScreenState = ScreenGame;
    IdleStep = c.idleStep;
    static int slowFrame, frames;
    slowFrame = c.slowFrame;
    frames = c.frames;
    const ScreenHandler game = ScreenHandlers[ScreenGame];
    ScreenHandlers[ScreenGame] = [] {
        HandlerCalls.push_back(Clock);
        if (int(HandlerCalls.size()) == slowFrame) Clock += 50;
        if (int(HandlerCalls.size()) == frames) G.QuitRequested = 1;
    };
    while (GameStep()) GameRest();
    ScreenHandlers[ScreenGame] = game;
}

}  // namespace

// Every test leaves the headless host behind it, as the other tests expect.
class FrameLoop : public ::testing::Test {
protected:
    void TearDown() override {
        HostUse(HeadlessBackend());
        Options = LaunchOptions{};
        G.QuitRequested = 0;
    }
};

TEST_F(FrameLoop, FramesStartEvery31MsAndSlowFramesAreFollowedAtOnce) {
    const LoopCase cases[] = {
        {"1 ms clock", 1000, 1, -1, 8},
        {"coarse idle", 1000, 0, -1, 8},
        {"slow third frame", 1000, 1, 3, 8},
        {"tick wrap", 0xFFFFFFFFu - 70, 1, -1, 8},
        {"slow frame across the wrap", 0xFFFFFFFFu - 40, 1, 1, 6},
    };
    for (const LoopCase& c : cases) {
        RunLoop(c);
        SCOPED_TRACE(c.name);
        ASSERT_EQ(int(HandlerCalls.size()), c.frames);
        EXPECT_EQ(HandlerCalls[0], c.start + 31);
        for (int i = 1; i < c.frames; i++) {
            uint32_t gap = HandlerCalls[i] - HandlerCalls[i - 1];
            EXPECT_EQ(gap, i == c.slowFrame ? 50u : 31u)
                << "between handler calls " << i << " and " << i + 1;
        }
        // Quitting: the frame that asked is still presented, the next frame start ends the loop.
        EXPECT_EQ(Presents.size(), HandlerCalls.size());
        EXPECT_EQ(G.FrameCount, uint32_t(c.frames));
        // A 1 ms clock: each frame start (the quitting one too) rests 31 passes, no spinning.
        if (c.idleStep == 1 && c.slowFrame < 0) {
            EXPECT_EQ(IdleCalls, (c.frames + 1) * 31);
        }
    }
}
