// The button and stylus latches, and how scripted, host and recorded input meet in the pump.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/globals.h"
#include "app/input.h"
#include "app/main_loop.h"
#include "app/script.h"
#include "platform/headless.h"

namespace {

// A fresh input state over the headless host, with the host key list.
void ResetInput() {
    HostUse(HeadlessBackend());
    HostOpen(HostConfig{DisplayRgb565, 1, false, true});
    int16_t keys[8];
    HostGetDefaultKeys(keys);
    for (int i = 0; i < 8; i++) G.KeyList[i] = KeyListEntry{keys[i], 0, 0};
    G.ALatch = G.LeftDown = G.RightDown = G.UpDown = G.DownDown = 0;
    G.TapConsumed = 1;
    G.TapPosX = G.TapPosY = 0;
    G.QuitRequested = 0;
    G.FrameCount = 0;
    ClearScript();
    RecordInputTo(nullptr);
    BeginScriptedInput(false);
}

HostEvent Key(HostEventType type, int16_t code) { return HostEvent{type, code, 0, 0}; }
HostEvent Tap(int x, int y) { return HostEvent{HostEventPenDown, 0, x, y}; }

// Everything the pump would hand to the latches now.
void Pump() {
    HostEvent e;
    while (TakeInputEvent(&e)) HandleInputEvent(e);
}

void LoadScript(const char* text, bool recording = false) {
    FILE* f = fmemopen(const_cast<char*>(text), strlen(text), "r");
    char message[ScriptMessageSize] = "";
    ASSERT_TRUE(ReadScript(f, "test", recording, message, sizeof message)) << message;
    fclose(f);
}

struct Held {
    int left, right, up, down;
};
Held HeldNow() { return Held{LeftHeld(), RightHeld(), UpHeld(), DownHeld()}; }

}  // namespace

TEST(Input, KeyEventsDriveTheLatchesAndDirections) {
    struct Case {
        const char* what;
        HostEvent events[4];
        int count;
        int aPresses;  // ButtonAPressed read twice: 1 0 or 0 0
        Held held;
    };
    const Case cases[] = {
        {"A down then up between frames is one press", {Key(HostEventKeyDown, HostKeyA), Key(HostEventKeyUp, HostKeyA)}, 2, 1, {0, 0, 0, 0}},
        {"two presses between reads are one", {Key(HostEventKeyDown, HostKeyA), Key(HostEventKeyDown, HostKeyA)}, 2, 1, {0, 0, 0, 0}},
        {"a key-up of A leaves the latch alone", {Key(HostEventKeyUp, HostKeyA)}, 1, 0, {0, 0, 0, 0}},
        {"each direction follows its key", {Key(HostEventKeyDown, HostKeyLeft), Key(HostEventKeyDown, HostKeyUp), Key(HostEventKeyDown, HostKeyDown), Key(HostEventKeyUp, HostKeyDown)}, 4, 0, {1, 0, 1, 0}},
        {"right held", {Key(HostEventKeyDown, HostKeyRight)}, 1, 0, {0, 1, 0, 0}},
        {"B, C, Start and unknown codes change nothing", {Key(HostEventKeyDown, HostKeyB), Key(HostEventKeyDown, HostKeyC), Key(HostEventKeyDown, HostKeyStart), Key(HostEventKeyDown, 0x41)}, 4, 0, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        ResetInput();
        for (int i = 0; i < c.count; i++) HandleInputEvent(c.events[i]);
        EXPECT_EQ(ButtonAPressed(), c.aPresses) << c.what;
        EXPECT_EQ(ButtonAPressed(), 0) << c.what << ": the second read in a frame";
        Held h = HeldNow();
        EXPECT_EQ(h.left, c.held.left) << c.what;
        EXPECT_EQ(h.right, c.held.right) << c.what;
        EXPECT_EQ(h.up, c.held.up) << c.what;
        EXPECT_EQ(h.down, c.held.down) << c.what;
    }
}

TEST(Input, ARepeatLatchesAgainAndDirectionsStayHeldUntilTheirKeyUp) {
    ResetInput();
    HandleInputEvent(Key(HostEventKeyDown, HostKeyA));
    HandleInputEvent(Key(HostEventKeyDown, HostKeyLeft));
    EXPECT_EQ(ButtonAPressed(), 1);
    HandleInputEvent(Key(HostEventKeyDown, HostKeyA));  // the held key repeats
    EXPECT_EQ(ButtonAPressed(), 1);
    for (int frame = 0; frame < 5; frame++) EXPECT_EQ(LeftHeld(), 1) << "no key-up came (focus lost)";
    HandleInputEvent(Key(HostEventKeyUp, HostKeyRight));
    EXPECT_EQ(LeftHeld(), 1) << "another key's release";
    HandleInputEvent(Key(HostEventKeyUp, HostKeyLeft));
    EXPECT_EQ(LeftHeld(), 0);
}

TEST(Input, ACodeMatchingTwoEntriesSetsBoth) {
    ResetInput();
    G.KeyList[KeyA].code = HostKeyUp;
    HandleInputEvent(Key(HostEventKeyDown, HostKeyUp));
    EXPECT_EQ(UpHeld(), 1);
    EXPECT_EQ(ButtonAPressed(), 1);
    G.KeyList[KeyLeft].code = HostKeyRight;
    HandleInputEvent(Key(HostEventKeyDown, HostKeyRight));
    EXPECT_EQ(LeftHeld(), 1);
    EXPECT_EQ(RightHeld(), 1);
    HandleInputEvent(Key(HostEventKeyUp, HostKeyRight));
    EXPECT_EQ(LeftHeld() + RightHeld(), 0);
}

TEST(Input, TapsAreReadOnceAndKeepTheirPosition) {
    ResetInput();
    EXPECT_EQ(StylusTapped(), 0) << "start-up leaves no unread tap";
    HeadlessPushEvent(Tap(10, 20));
    HeadlessPushEvent(Tap(200, 300));  // two taps between frames: the second wins
    Pump();
    EXPECT_EQ(StylusTapped(), 1);
    EXPECT_EQ(StylusTapped(), 0);
    EXPECT_EQ(TapX(), 200);
    EXPECT_EQ(TapY(), 300);
    HeadlessPushEvent(Key(HostEventKeyDown, HostKeyA));  // other input does not move the tap
    Pump();
    EXPECT_EQ(TapX(), 200);
    EXPECT_EQ(TapY(), 300);
    HeadlessPushEvent(Tap(300, 5));  // off the picture: not a tap
    HeadlessPushEvent(Tap(5, -1));
    Pump();
    EXPECT_EQ(StylusTapped(), 0);
    EXPECT_EQ(TapX(), 200);
    HandleInputEvent(Tap(0x12345, 7));  // the fields hold 16 bits, as the window message did
    EXPECT_EQ(TapX(), 0x2345);
}

TEST(Input, ScriptedEventsArriveInThePumpAfterTheirFrame) {
    ResetInput();
    LoadScript("-1 down left\n0 tap 5 6\n2 down a\n2 up left\n4 quit\n");
    BeginScriptedInput(false);
    EXPECT_EQ(LeftHeld(), 1) << "start-up events come before the first frame";
    Pump();  // a start-up pump: frame 0's events are not due yet
    EXPECT_EQ(StylusTapped(), 0);
    struct Step {
        uint32_t frameCount;  // G.FrameCount inside the pump
        int tapped, a, left, quit;
    };
    const Step steps[] = {{1, 1, 0, 1, 0}, {2, 0, 0, 1, 0}, {3, 0, 1, 0, 0}, {4, 0, 0, 0, 0}, {5, 0, 0, 0, 1}};
    for (const Step& s : steps) {
        G.FrameCount = s.frameCount;
        Pump();
        EXPECT_EQ(StylusTapped(), s.tapped) << "pump after frame " << s.frameCount - 1;
        EXPECT_EQ(ButtonAPressed(), s.a) << "pump after frame " << s.frameCount - 1;
        EXPECT_EQ(LeftHeld(), s.left) << "pump after frame " << s.frameCount - 1;
        EXPECT_EQ(G.QuitRequested, s.quit) << "pump after frame " << s.frameCount - 1;
    }
    EXPECT_EQ(TapX(), 5);
    EXPECT_EQ(TapY(), 6);
}

TEST(Input, AReplayIgnoresTheHostUntilItEndsButAScriptDoesNot) {
    for (bool replay : {false, true}) {
        ResetInput();
        LoadScript("murko-recording 1\nseed 3\n1 down up\n", true);
        BeginScriptedInput(replay);
        G.FrameCount = 1;
        HeadlessPushEvent(Key(HostEventKeyDown, HostKeyA));
        Pump();
        EXPECT_EQ(ButtonAPressed(), replay ? 0 : 1) << "replay " << replay;
        G.FrameCount = 2;
        HeadlessPushEvent(Key(HostEventKeyDown, HostKeyRight));
        Pump();
        EXPECT_EQ(UpHeld(), 1);
        EXPECT_EQ(RightHeld(), 1) << "the recording is used up: the host steers again";
    }
    ResetInput();
    LoadScript("murko-recording 1\nseed 3\n9 down up\n", true);
    BeginScriptedInput(true);
    G.FrameCount = 1;
    HeadlessPushEvent(HostEvent{HostEventQuit, 0, 0, 0});
    Pump();
    EXPECT_EQ(G.QuitRequested, 1) << "closing the window still ends a replay";
}

TEST(Input, RecordingWritesWhatThePumpsDeliverAndReadsBackTheSame) {
    ResetInput();
    char* text = nullptr;
    size_t size = 0;
    FILE* f = open_memstream(&text, &size);
    WriteRecordingHeader(f, 4000000000u);
    RecordInputTo(f);
    LoadScript("-1 down right\n1 tap 7 8\n");
    BeginScriptedInput(false);
    HeadlessPushEvent(Tap(1, 2));  // a start-up pump
    Pump();
    G.FrameCount = 1;
    HeadlessPushEvent(Key(HostEventKeyDown, HostKeyA));
    HeadlessPushEvent(Key(HostEventKeyDown, HostKeyStart));  // changes nothing: not written
    Pump();
    G.FrameCount = 2;
    HeadlessPushEvent(Key(HostEventKeyUp, HostKeyDown));
    HeadlessPushEvent(HostEvent{HostEventQuit, 0, 0, 0});
    Pump();
    RecordInputTo(nullptr);
    fclose(f);
    std::string written(text, size);
    free(text);
    const char* expected = "-1 down right\n-1 tap 1 2\n0 down a\n1 tap 7 8\n1 up down\n1 quit\n";
    EXPECT_NE(written.find(expected), std::string::npos) << written;
    EXPECT_EQ(written.rfind("murko-recording 1\n", 0), 0u) << written;

    LoadScript(written.c_str(), true);
    EXPECT_TRUE(ScriptHasSeed);
    EXPECT_EQ(ScriptSeed, 4000000000u);
    ASSERT_EQ(ScriptEventCount, 6);
    EXPECT_EQ(ScriptEvents[1].frame, -1);
    EXPECT_EQ(ScriptEvents[3].type, HostEventPenDown);
    EXPECT_EQ(ScriptEvents[4].button, KeyDown);
}
