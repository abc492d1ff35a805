// Reading input scripts and recordings: what is accepted, and the message for every bad line.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/globals.h"
#include "app/script.h"

namespace {

bool Read(const std::string& text, bool recording, std::string* message) {
    FILE* f = text.empty() ? fopen("/dev/null", "r") : fmemopen(const_cast<char*>(text.data()), text.size(), "r");
    char buffer[ScriptMessageSize] = "";
    bool ok = ReadScript(f, "s.txt", recording, buffer, sizeof buffer);
    fclose(f);
    *message = buffer;
    return ok;
}

}  // namespace

TEST(Script, ReadsEveryKindOfEvent) {
    std::string message;
    ASSERT_TRUE(Read("# comment\n\n-1 down left\r\n  0\tup   a  # note\n3 tap 0 319\n3 down right\n"
                     "2147483647 quit",
                     false, &message))
        << message;
    const ScriptEvent expected[] = {{-1, HostEventKeyDown, KeyLeft, 0, 0}, {0, HostEventKeyUp, KeyA, 0, 0},
                                    {3, HostEventPenDown, 0, 0, 319},      {3, HostEventKeyDown, KeyRight, 0, 0},
                                    {2147483647, HostEventQuit, 0, 0, 0}};
    ASSERT_EQ(ScriptEventCount, 5);
    for (int i = 0; i < 5; i++) {
        const ScriptEvent &got = ScriptEvents[i], &want = expected[i];
        EXPECT_TRUE(got.frame == want.frame && got.type == want.type && got.button == want.button &&
                    got.x == want.x && got.y == want.y)
            << "event " << i;
    }
    ASSERT_TRUE(Read("murko-recording 1\n# notes\nseed 4294967295\n5 tap 1 2\n", true, &message)) << message;
    EXPECT_TRUE(ScriptHasSeed && ScriptSeed == 4294967295u && ScriptEventCount == 1);
}

TEST(Script, NamesTheFileLineAndFaultOfABadLine) {
    struct Case {
        bool recording;
        std::string text, message;
    };
    const Case cases[] = {
        {false, "x down a\n", "s.txt:1: bad frame number \"x\""},
        {false, "+1 down a\n", "s.txt:1: bad frame number \"+1\""},
        {false, "2147483648 down a\n", "s.txt:1: bad frame number \"2147483648\""},
        {false, "-2 down a\n", "s.txt:1: frame -2 is before the start (frames count from 0; -1 is start-up)"},
        {false, "5 down a\n\n4 up a\n", "s.txt:3: frame 4 comes after frame 5 (events must be in frame order)"},
        {false, "3\n", "s.txt:1: missing event after the frame number"},
        {false, "3 press a\n", "s.txt:1: unknown event \"press\" (expected down, up, tap or quit)"},
        {false, "3 down\n", "s.txt:1: missing key (expected up, down, left, right or a)"},
        {false, "3 up B\n", "s.txt:1: unknown key \"B\" (expected up, down, left, right or a)"},
        {false, "3 down a a\n", "s.txt:1: unexpected \"a\" after the event"},
        {false, "3 tap 4\n", "s.txt:1: a tap needs X and Y"},
        {false, "3 tap 240 4\n", "s.txt:1: bad tap x \"240\" (expected 0..239)"},
        {false, "3 tap 4 -1\n", "s.txt:1: bad tap y \"-1\" (expected 0..319)"},
        {false, "3 quit now\n", "s.txt:1: unexpected \"now\" after the event"},
        {false, "1 tap 1 2 3 4 5\n", "s.txt:1: unexpected text after the event"},
        {false, "1 tap 1 1 " + std::string(300, ' '), "s.txt:1: line longer than 255 characters"},
        {false, std::string("1 down a\n2 do\0wn a\n", 19), "s.txt:2: a NUL byte in the line"},
        {false, "seed 5\n", "s.txt:1: a seed line belongs in a recording (play it with --play)"},
        {true, "", "s.txt:1: empty file (a recording begins with \"murko-recording 1\")"},
        {true, "seed 5\n", "s.txt:1: not a recording (the first line must be \"murko-recording 1\")"},
        {true, "murko-recording 2\n", "s.txt:1: recording version 2 is not supported (this build reads version 1)"},
        {true, "murko-recording 1\n1 down a\n", "s.txt:2: an event before the seed line"},
        {true, "murko-recording 1\n# nothing\n", "s.txt:2: the recording has no seed line"},
        {true, "murko-recording 1\nseed 4294967296\n", "s.txt:2: bad seed \"4294967296\" (expected 0..4294967295)"},
        {true, "murko-recording 1\nseed 1\nseed 2\n", "s.txt:3: a second seed line"},
    };
    for (const Case& c : cases) {
        std::string message;
        EXPECT_FALSE(Read(c.text, c.recording, &message)) << c.text;
        EXPECT_EQ(message, c.message) << c.text;
        EXPECT_TRUE(ScriptEventCount == 0 && !ScriptHasSeed) << "a bad file leaves nothing half-read: " << c.text;
    }
    std::string many, message;
    for (int i = 0; i <= ScriptCapacity; i++) many += "1 down a\n";
    EXPECT_FALSE(Read(many, false, &message));
    EXPECT_EQ(message, "s.txt:262145: too many events (at most 262144)");
}
