// The desktop's keys, gamepads, mouse and touch through the SDL backend's own poll.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/host.h"
#include "tests/sdl_inject.h"

namespace {

// Keys by their USB usage ids, which SDL's scancodes are.
constexpr int UsbX = 27, UsbEnter = 40, UsbSpace = 44, UsbF11 = 68;
constexpr int UsbLeft = 80, UsbUp = 82;
// SDL's game controller buttons and axes.
constexpr int PadSouth = 0, PadEast = 1, PadUp = 11, PadDown = 12, PadLeft = 13, PadRight = 14;
constexpr int StickX = 0, StickY = 1;

// The host events one poll round gives, as text ("down 38", "up 193", "tap 17 30"); typed
// characters are the name entry's business and left out.
std::string Polled() {
    std::string out;
    HostEvent e;
    while (HostPollEvent(&e)) {
        if (e.type == HostEventKeyDown) out += " down " + std::to_string(e.key);
        if (e.type == HostEventKeyUp) out += " up " + std::to_string(e.key);
        if (e.type == HostEventPenDown)
            out += " tap " + std::to_string(e.x) + " " + std::to_string(e.y);
    }
    return out;
}

}  // namespace

// A 240 x 320 window at scale 1 on SDL's invisible display.
class SdlInput : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        HostUse(SdlBackend());
        ASSERT_TRUE(HostOpen(HostConfig{DisplayRgb565, 1, false, true}));
        Polled();
    }
    void TearDown() override {
        HostClose();
        HostUse(HeadlessBackend());
    }
};

TEST_F(SdlInput, KeysPressTheirButtons) {
    const struct {
        int usb;
        bool alt;
        const char* events;
    } keys[] = {
        {UsbSpace, false, " down 193 up 193"},
        {UsbEnter, false, " down 193 up 193"},
        {UsbUp, false, " down 38 up 38"},
        {UsbLeft, false, " down 37 up 37"},
        {UsbEnter, true, ""},  // Alt+Enter switches fullscreen
        {UsbF11, false, ""},
        {UsbX, false, ""},
    };
    for (const auto& k : keys) {
        SdlInjectKey(k.usb, true, k.alt);
        SdlInjectKey(k.usb, false, k.alt);
        EXPECT_EQ(Polled(), k.events) << "USB key " << k.usb << (k.alt ? " with Alt" : "");
    }
}

TEST_F(SdlInput, PadDpadStickAndSouthButtonPressTheirButtons) {
    const int pad = SdlInjectPad();
    ASSERT_GE(pad, 0);
    Polled();
    const struct {
        int button;
        const char* events;
    } buttons[] = {
        {PadUp, " down 38 up 38"},    {PadDown, " down 40 up 40"},    {PadLeft, " down 37 up 37"},
        {PadRight, " down 39 up 39"}, {PadSouth, " down 193 up 193"}, {PadEast, ""},
    };
    for (const auto& b : buttons) {
        SdlInjectPadButton(pad, b.button, true);
        SdlInjectPadButton(pad, b.button, false);
        EXPECT_EQ(Polled(), b.events) << "pad button " << b.button;
    }
    const struct {
        int axis;
        int16_t value;
        const char* events;
    } stick[] = {
        {StickX, -20000, " down 37"}, {StickX, 0, " up 37"},        {StickX, 20000, " down 39"},
        {StickX, 0, " up 39"},        {StickY, -20000, " down 38"}, {StickY, 0, " up 38"},
        {StickY, 20000, " down 40"},  {StickY, 0, " up 40"},
    };
    for (const auto& s : stick) {
        SdlInjectPadAxis(pad, s.axis, s.value);
        EXPECT_EQ(Polled(), s.events) << "stick axis " << s.axis << " at " << s.value;
    }
}

// The window widened to 340: the picture keeps its size in the middle, black bars 50 wide beside
// it.
TEST_F(SdlInput, MouseAndTouchTapThePictureOnceAndTheBarsNever) {
    SdlInjectWindowSize(340, 320);
    Polled();
    SdlInjectClick(67, 30, false);
    EXPECT_EQ(Polled(), " tap 17 30");
    SdlInjectClick(20, 30, false);
    EXPECT_EQ(Polled(), "") << "a click on the left bar";
    SdlInjectTouch(67.5f / 340, 30.5f / 320);
    SdlInjectClick(67, 30, true);
    EXPECT_EQ(Polled(), " tap 17 30") << "a touch, and the mouse press SDL makes of it";
    SdlInjectTouch(335.0f / 340, 30.5f / 320);
    EXPECT_EQ(Polled(), "") << "a touch on the right bar";
}

TEST_F(SdlInput, FocusLossReleasesHeldButtonsAndKeepsRealReleases) {
    SdlInjectKey(UsbLeft, true, false);
    SdlInjectKey(UsbLeft, false, false);
    SdlInjectFocusLoss();
    EXPECT_EQ(Polled(), " down 37 up 37") << "released just before the window lost focus";
    SdlInjectKey(UsbUp, true, false);
    SdlInjectFocusLoss();
    EXPECT_EQ(Polled(), " down 38 up 38") << "held while the window lost focus";
    const int pad = SdlInjectPad();
    ASSERT_GE(pad, 0);
    SdlInjectPadAxis(pad, StickX, 20000);
    SdlInjectFocusLoss();
    SdlInjectPadAxis(pad, StickX, 20000);
    EXPECT_EQ(Polled(), " down 39 up 39 down 39") << "a stick still pushed presses again";
}
