// The button and stylus latches, and how scripted, host and recorded input meet in the pump.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/globals.h"
#include "app/input.h"
#include "app/script.h"
#include "platform/headless.h"

namespace {

void ResetInput() {
    HostUse(HeadlessBackend());
    HostOpen(HostConfig{DisplayRgb565, 1, false, true});  // empties the event queue
    int16_t keys[8];
    HostGetDefaultKeys(keys);
    for (int i = 0; i < 8; i++) G.KeyList[i] = KeyListEntry{keys[i], 0, 0};
    G.ALatch = G.LeftDown = G.RightDown = G.UpDown = G.DownDown = G.TapPosX = G.TapPosY = 0;
    G.TapConsumed = 1;
    G.QuitRequested = 0;
    G.FrameCount = 0;
    ClearScript();
    RecordInputTo(nullptr);
}

HostEvent Down(int16_t code) { return HostEvent{HostEventKeyDown, code, 0, 0}; }
HostEvent Up(int16_t code) { return HostEvent{HostEventKeyUp, code, 0, 0}; }
HostEvent Tap(int x, int y) { return HostEvent{HostEventPenDown, 0, x, y}; }

void Pump(uint32_t frameCount) {  // the pump that runs while G.FrameCount is frameCount
    G.FrameCount = frameCount;
    HostEvent e;
    while (TakeInputEvent(&e)) HandleInputEvent(e);
}

void LoadScript(const char* text, bool recording) {
    FILE* f = fmemopen(const_cast<char*>(text), strlen(text), "r");
    char message[ScriptMessageSize] = "";
    EXPECT_TRUE(ReadScript(f, "test", recording, message, sizeof message)) << message;
    fclose(f);
}

}  // namespace

TEST(Input, LatchesAndDirectionsFollowTheRules) {
    struct Case {
        const char* what;
        std::vector<HostEvent> events;
        int a;                          // the first ButtonAPressed; the second is always 0
        int left, right, up, down;
    };
    const Case cases[] = {
        {"A down and up between frames is one press", {Down(HostKeyA), Up(HostKeyA)}, 1, 0, 0, 0, 0},
        {"a held A repeating is a press each time it is read", {Down(HostKeyA), Down(HostKeyA)}, 1, 0, 0, 0, 0},
        {"a key-up of A alone is nothing", {Up(HostKeyA)}, 0, 0, 0, 0, 0},
        {"directions follow their keys", {Down(HostKeyLeft), Down(HostKeyUp), Down(HostKeyDown), Up(HostKeyDown)}, 0, 1, 0, 1, 0},
        {"another key's release leaves a direction held", {Down(HostKeyRight), Up(HostKeyLeft)}, 0, 0, 1, 0, 0},
        {"B, C, Start and unknown codes are nothing", {Down(HostKeyB), Down(HostKeyC), Down(HostKeyStart), Down(0x41)}, 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        ResetInput();
        for (const HostEvent& e : c.events) HandleInputEvent(e);
        EXPECT_EQ(ButtonAPressed(), c.a) << c.what;
        EXPECT_EQ(ButtonAPressed(), 0) << c.what;
        EXPECT_EQ(LeftHeld() * 1000 + RightHeld() * 100 + UpHeld() * 10 + DownHeld(),
                  c.left * 1000 + c.right * 100 + c.up * 10 + c.down)
            << c.what;
    }
    ResetInput();  // a code that matches two entries sets both
    G.KeyList[KeyA].code = G.KeyList[KeyLeft].code = HostKeyUp;
    HandleInputEvent(Down(HostKeyUp));
    EXPECT_EQ(ButtonAPressed() + LeftHeld() + UpHeld(), 3);
}

TEST(Input, TapsAreReadOnceAndKeepTheirPosition) {
    ResetInput();
    EXPECT_EQ(StylusTapped(), 0) << "start-up leaves no unread tap";
    HeadlessPushEvent(Tap(10, 20));
    HeadlessPushEvent(Tap(200, 300));  // two taps between frames: one, at the second
    Pump(1);
    EXPECT_EQ(StylusTapped(), 1);
    EXPECT_EQ(StylusTapped(), 0);
    HeadlessPushEvent(Tap(240, 5));  // off the picture: no tap
    HeadlessPushEvent(Tap(5, -1));
    HeadlessPushEvent(Down(HostKeyA));
    Pump(2);
    EXPECT_EQ(StylusTapped(), 0);
    EXPECT_EQ(TapX() * 1000 + TapY(), 200300) << "the read tap keeps its place";
}

TEST(Input, ScriptsArriveAfterTheirFrameAndReplaysShutOutTheHost) {
    for (bool replay : {false, true}) {
        ResetInput();
        LoadScript("murko-recording 1\nseed 3\n-1 down left\n0 tap 5 6\n2 down a\n2 up left\n3 quit\n", true);
        BeginScriptedInput(replay);
        EXPECT_EQ(LeftHeld(), 1) << "start-up events come before the first frame";
        Pump(0);  // a start-up pump: frame 0's events are not due
        HeadlessPushEvent(Down(HostKeyRight));
        const int expect[][4] = {{1, 0, 1, 0}, {0, 0, 1, 0}, {0, 1, 0, 0}, {0, 0, 0, 1}};  // tap, A, left, quit
        for (int f = 0; f < 4; f++) {
            Pump(uint32_t(f + 1));
            int got[4] = {StylusTapped(), ButtonAPressed(), LeftHeld(), G.QuitRequested};
            for (int i = 0; i < 4; i++) EXPECT_EQ(got[i], expect[f][i]) << "after frame " << f << " item " << i;
        }
        EXPECT_EQ(RightHeld(), replay ? 0 : 1) << "host keys during a replay";
        HeadlessPushEvent(Down(HostKeyDown));
        Pump(5);
        EXPECT_EQ(DownHeld(), 1) << "the script is used up: the host steers again";
    }
}

TEST(Input, RecordingWritesWhatThePumpsDeliver) {
    ResetInput();
    char* text = nullptr;
    size_t size = 0;
    FILE* f = open_memstream(&text, &size);
    RecordInputTo(f);
    LoadScript("-1 down right\n1 tap 7 8\n", false);
    BeginScriptedInput(false);
    HeadlessPushEvent(Tap(1, 2));
    Pump(0);
    HeadlessPushEvent(Down(HostKeyA));
    HeadlessPushEvent(Down(HostKeyStart));  // changes nothing, so it is not written
    Pump(1);
    HeadlessPushEvent(Up(HostKeyDown));
    HeadlessPushEvent(HostEvent{HostEventQuit, 0, 0, 0});
    Pump(2);
    RecordInputTo(nullptr);
    fclose(f);
    EXPECT_EQ(std::string(text, size), "-1 down right\n-1 tap 1 2\n0 down a\n1 tap 7 8\n1 up down\n1 quit\n");
    free(text);
}
