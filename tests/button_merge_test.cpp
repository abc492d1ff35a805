// Merging keyboard, d-pad and stick into host key events, and the stick's dead zone.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/button_merge.h"

namespace {

enum Op { Press, Release, Unplug, StickX };

struct Step {
    Op op;
    int a, b;  // Press/Release: button, source. Unplug: source. StickX: value, source.
};

// Runs the steps and spells the queued events as "+U" (key-down up), "-L" (key-up left) and so on.
std::string Play(const std::vector<Step>& steps) {
    ButtonMerge m;
    MergeReset(&m);
    int8_t stick = 0;
    std::string out;
    for (const Step& s : steps) {
        if (s.op == Press) MergePress(&m, s.a, s.b);
        if (s.op == Release) MergeRelease(&m, s.a, s.b);
        if (s.op == Unplug) MergeReleaseSource(&m, s.a);
        if (s.op == StickX) MergeStickAxis(&m, &stick, s.a, ButtonLeft, ButtonRight, s.b);
        HostEvent e;
        while (MergeTake(&m, &e)) {
            out += e.type == HostEventKeyDown ? "+" : e.type == HostEventKeyUp ? "-" : "?";
            switch (e.key) {
                case HostKeyUp: out += "U"; break;
                case HostKeyDown: out += "D"; break;
                case HostKeyLeft: out += "L"; break;
                case HostKeyRight: out += "R"; break;
                case HostKeyA: out += "A"; break;
                default: out += "?"; break;
            }
        }
    }
    return out;
}

}  // namespace

TEST(ButtonMerge, KeyUpOnlyWhenTheLastSourceLetsGo) {
    struct Case {
        const char* name;
        std::vector<Step> steps;
        const char* events;
    };
    const int key = 2, pad = 8, stick = 9;
    const Case cases[] = {
        {"one source", {{Press, ButtonLeft, key}, {Release, ButtonLeft, key}}, "+L-L"},
        {"key and pad", {{Press, ButtonLeft, key}, {Press, ButtonLeft, pad}, {Release, ButtonLeft, key},
                         {Release, ButtonLeft, pad}}, "+L+L-L"},
        {"release order swapped", {{Press, ButtonUp, key}, {Press, ButtonUp, pad}, {Release, ButtonUp, pad},
                                   {Release, ButtonUp, key}}, "+U+U-U"},
        {"release of a source that never pressed", {{Press, ButtonUp, key}, {Release, ButtonUp, pad}}, "+U"},
        {"release with nothing held", {{Release, ButtonDown, key}}, ""},
        {"repeat of a held key", {{Press, ButtonA, 5}, {Press, ButtonA, 5}, {Release, ButtonA, 5}}, "+A+A-A"},
        {"same source on two buttons", {{Press, ButtonUp, pad}, {Press, ButtonLeft, pad}, {Release, ButtonUp, pad}},
         "+U+L-U"},
        {"pad unplugged while held", {{Press, ButtonUp, key}, {Press, ButtonUp, pad}, {Press, ButtonLeft, pad},
                                      {Press, ButtonA, pad}, {Unplug, pad, 0}}, "+U+U+L+A-L-A"},
        {"unplugging an idle pad", {{Press, ButtonRight, key}, {Unplug, pad, 0}}, "+R"},
        {"stick and d-pad", {{StickX, -20000, stick}, {Press, ButtonLeft, pad}, {StickX, 0, stick},
                             {Release, ButtonLeft, pad}}, "+L+L-L"},
        {"bad button or source", {{Press, -1, key}, {Press, ButtonCount, key}, {Press, ButtonUp, MergeSources},
                                  {Press, ButtonUp, -1}}, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(Play(c.steps), c.events) << c.name;
}

TEST(ButtonMerge, StickHasADeadZoneWithHysteresis) {
    const int s = 9;
    struct Case {
        const char* name;
        std::vector<Step> steps;
        const char* events;
    };
    const Case cases[] = {
        {"inside the dead zone", {{StickX, 15000, s}, {StickX, -16000, s}, {StickX, 0, s}}, ""},
        {"out and back", {{StickX, 17000, s}, {StickX, 0, s}}, "+R-R"},
        {"no chatter near the edge", {{StickX, 16500, s}, {StickX, 15900, s}, {StickX, 16100, s}, {StickX, 11500, s},
                                      {StickX, 16001, s}}, "+R"},
        {"let go inside the inner edge", {{StickX, 16500, s}, {StickX, 11000, s}}, "+R-R"},
        {"straight across", {{StickX, -32768, s}, {StickX, 32767, s}}, "+L-L+R"},
        {"full deflection each way", {{StickX, -32768, s}, {StickX, -11001, s}, {StickX, -10999, s}}, "+L-L"},
    };
    for (const Case& c : cases) EXPECT_EQ(Play(c.steps), c.events) << c.name;
}
