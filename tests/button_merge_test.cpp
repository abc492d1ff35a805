// Merging keyboard, d-pad and stick into host key events, and the stick's dead zone.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

#include "platform/button_merge.h"

namespace {

// Plays a script of "+L2" (source 2 presses left), "-L2" (lets go), "x8" (source 8 unplugged) and
// "s-20000" (stick of source 9 moves left-right), spelling the events as "+L" (key-down left),
// "-L". Buttons are named "UDLRABCS?", '?' being one past the last and any other letter -1.
std::string Play(const char* script) {
    const std::string names = "UDLRABCS?";
    const int16_t codes[] = {HostKeyUp, HostKeyDown, HostKeyLeft, HostKeyRight, HostKeyA};
    ButtonMerge m;
    MergeReset(&m);
    int8_t stick = 0;
    std::istringstream in(script);
    std::string out;
    for (std::string t; in >> t;) {
        if (t[0] == 's')
            MergeStickAxis(&m, &stick, std::stoi(t.substr(1)), ButtonLeft, ButtonRight, 9);
        if (t[0] == 'x') MergeReleaseSource(&m, std::stoi(t.substr(1)));
        if (t[0] == '+') MergePress(&m, int(names.find(t[1])), std::stoi(t.substr(2)));
        if (t[0] == '-') MergeRelease(&m, int(names.find(t[1])), std::stoi(t.substr(2)));
        for (HostEvent e; MergeTake(&m, &e);) {
            out += e.type == HostEventKeyDown ? "+" : e.type == HostEventKeyUp ? "-" : "?";
            out += names[std::find(codes, codes + 5, e.key) - codes];
        }
    }
    return out;
}

}  // namespace

TEST(ButtonMerge, KeyUpOnlyWhenTheLastSourceLetsGoAndTheStickHasHysteresis) {
    const char* cases[][2] = {
        {"+L2 -L2", "+L-L"},
        {"+U2 +U8 -U8 +L8 -U2 -L8", "+U+U+L-U-L"},  // key-up once the last holder lets go
        {"+U2 -U8 -D2", "+U"},                      // releases by sources that never pressed
        {"+A5 +A5 -A5", "+A+A-A"},                  // A latches on every press, repeats too
        {"+R2 +U2 +U8 +L8 +A8 x8 x3",
         "+R+U+U+L+A-L-A"},                // unplugging releases only what the pad alone held
        {"s-20000 +L8 s0 -L8", "+L+L-L"},  // stick and d-pad together
        {"+!2 +?2 +U64 +U-1", ""},         // no such button or source
        {"s16000 s-16000 s0", ""},         // inside the dead zone
        {"s16001 s11001 s16500 s11000",
         "+R-R"},  // presses past the outer edge, lets go inside the inner
        {"s-32768 s-11001 s-11000", "+L-L"},
        {"s-32768 s32767", "+L-L+R"},  // straight across
    };
    for (const auto& c : cases) EXPECT_EQ(Play(c[0]), c[1]) << c[0];
}
