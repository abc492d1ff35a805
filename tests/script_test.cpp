// Reading input scripts and recordings: what is accepted, and the message for every bad line.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "app/globals.h"
#include "app/script.h"

namespace {

// Reads text as a script or recording named "s.txt"; message gets the error, if any.
bool Read(const std::string& text, bool recording, std::string* message) {
    FILE* f = fmemopen(const_cast<char*>(text.data()), text.size(), "r");
    if (text.empty()) f = fopen("/dev/null", "r");
    char buffer[ScriptMessageSize] = "";
    bool ok = ReadScript(f, "s.txt", recording, buffer, sizeof buffer);
    fclose(f);
    *message = buffer;
    return ok;
}

}  // namespace

TEST(Script, ReadsEveryKindOfEvent) {
    std::string message;
    const std::string text =
        "# a comment line\n"
        "\n"
        "-1 down left\r\n"
        "  0\tdown   a   # pressed on the first frame\n"
        "0 up up\n"
        "3 tap 0 0\n"
        "3 tap 239 319\n"
        "7 down right\n"
        "7 up down\n"
        "2147483647 quit";
    ASSERT_TRUE(Read(text, false, &message)) << message;
    struct Expect {
        int32_t frame;
        HostEventType type;
        int button, x, y;
    };
    const Expect expected[] = {
        {-1, HostEventKeyDown, KeyLeft, 0, 0}, {0, HostEventKeyDown, KeyA, 0, 0},
        {0, HostEventKeyUp, KeyUp, 0, 0},      {3, HostEventPenDown, 0, 0, 0},
        {3, HostEventPenDown, 0, 239, 319},    {7, HostEventKeyDown, KeyRight, 0, 0},
        {7, HostEventKeyUp, KeyDown, 0, 0},    {2147483647, HostEventQuit, 0, 0, 0},
    };
    ASSERT_EQ(ScriptEventCount, int(std::size(expected)));
    for (int i = 0; i < ScriptEventCount; i++) {
        const ScriptEvent& e = ScriptEvents[i];
        EXPECT_EQ(e.frame, expected[i].frame) << "event " << i;
        EXPECT_EQ(e.type, expected[i].type) << "event " << i;
        if (e.type == HostEventPenDown) {
            EXPECT_EQ(e.x, expected[i].x) << "event " << i;
            EXPECT_EQ(e.y, expected[i].y) << "event " << i;
        } else if (e.type != HostEventQuit) {
            EXPECT_EQ(e.button, expected[i].button) << "event " << i;
        }
    }
    EXPECT_FALSE(ScriptHasSeed);
    ASSERT_TRUE(Read("", false, &message)) << "an empty script is fine";
    EXPECT_EQ(ScriptEventCount, 0);
}

TEST(Script, ReadsARecordingWithItsSeed) {
    std::string message;
    ASSERT_TRUE(Read("murko-recording 1\n# notes\nseed 4294967295\n5 tap 1 2\n# the end\n", true, &message))
        << message;
    EXPECT_TRUE(ScriptHasSeed);
    EXPECT_EQ(ScriptSeed, 4294967295u);
    EXPECT_EQ(ScriptEventCount, 1);
}

TEST(Script, NamesTheFileLineAndFaultOfABadLine) {
    struct Case {
        bool recording;
        std::string text;
        const char* message;  // the whole message
    };
    const std::string longLine = "1 tap 1 1 " + std::string(300, ' ') + "\n";
    const Case cases[] = {
        {false, "x down a\n", "s.txt:1: bad frame number \"x\""},
        {false, "1.5 down a\n", "s.txt:1: bad frame number \"1.5\""},
        {false, "+1 down a\n", "s.txt:1: bad frame number \"+1\""},
        {false, "2147483648 down a\n", "s.txt:1: bad frame number \"2147483648\""},
        {false, "-2 down a\n", "s.txt:1: frame -2 is before the start (frames count from 0; -1 is start-up)"},
        {false, "5 down a\n\n4 up a\n", "s.txt:3: frame 4 comes after frame 5 (events must be in frame order)"},
        {false, "3\n", "s.txt:1: missing event after the frame number"},
        {false, "3 press a\n", "s.txt:1: unknown event \"press\" (expected down, up, tap or quit)"},
        {false, "3 down\n", "s.txt:1: missing key (expected up, down, left, right or a)"},
        {false, "3 up b\n", "s.txt:1: unknown key \"b\" (expected up, down, left, right or a)"},
        {false, "3 down A\n", "s.txt:1: unknown key \"A\" (expected up, down, left, right or a)"},
        {false, "3 down a a\n", "s.txt:1: unexpected \"a\" after the event"},
        {false, "3 tap 4\n", "s.txt:1: a tap needs X and Y"},
        {false, "3 tap 240 4\n", "s.txt:1: bad tap x \"240\" (expected 0..239)"},
        {false, "3 tap -1 4\n", "s.txt:1: bad tap x \"-1\" (expected 0..239)"},
        {false, "3 tap 4 320\n", "s.txt:1: bad tap y \"320\" (expected 0..319)"},
        {false, "3 tap 4 5 6\n", "s.txt:1: unexpected \"6\" after the event"},
        {false, "3 quit now\n", "s.txt:1: unexpected \"now\" after the event"},
        {false, "1 tap 1 2 3 4 5\n", "s.txt:1: unexpected text after the event"},
        {false, longLine, "s.txt:1: line longer than 255 characters"},
        {false, std::string("1 down a\n2 do\0wn a\n", 19), "s.txt:2: a NUL byte in the line"},
        {false, "seed 5\n", "s.txt:1: a seed line belongs in a recording (play it with --play)"},
        {false, "murko-recording 1\n", "s.txt:1: a version line belongs only at the top of a recording"},
        {true, "", "s.txt:1: empty file (a recording begins with \"murko-recording 1\")"},
        {true, "seed 5\n", "s.txt:1: not a recording (the first line must be \"murko-recording 1\")"},
        {true, "murko-recording\n", "s.txt:1: bad version line (expected \"murko-recording 1\")"},
        {true, "murko-recording 2\n", "s.txt:1: recording version 2 is not supported (this build reads version 1)"},
        {true, "murko-recording 1\n1 down a\n", "s.txt:2: an event before the seed line"},
        {true, "murko-recording 1\n# nothing\n", "s.txt:2: the recording has no seed line"},
        {true, "murko-recording 1\nseed\n", "s.txt:2: the seed line is \"seed N\""},
        {true, "murko-recording 1\nseed 4294967296\n", "s.txt:2: bad seed \"4294967296\" (expected 0..4294967295)"},
        {true, "murko-recording 1\nseed 1\nseed 2\n", "s.txt:3: a second seed line"},
    };
    for (const Case& c : cases) {
        std::string message;
        EXPECT_FALSE(Read(c.text, c.recording, &message)) << c.text;
        EXPECT_EQ(message, c.message) << c.text;
        EXPECT_EQ(ScriptEventCount, 0) << "a bad file leaves no half-read script: " << c.text;
        EXPECT_FALSE(ScriptHasSeed) << c.text;
    }
}

TEST(Script, RefusesMoreEventsThanItHolds) {
    std::string text;
    for (int i = 0; i <= ScriptCapacity; i++) text += "1 down a\n";
    std::string message;
    EXPECT_FALSE(Read(text, false, &message));
    EXPECT_EQ(message, "s.txt:" + std::to_string(ScriptCapacity + 1) + ": too many events (at most " +
                           std::to_string(ScriptCapacity) + ")");
}

TEST(Script, AMissingFileIsNamed) {
    char message[ScriptMessageSize];
    EXPECT_FALSE(LoadScriptFile("/nonexistent/murko/s.txt", false, message, sizeof message));
    EXPECT_STREQ(message, "/nonexistent/murko/s.txt: cannot read it: No such file or directory");
}

TEST(Script, WrittenEventsReadBackUnchanged) {
    char* text = nullptr;
    size_t size = 0;
    FILE* f = open_memstream(&text, &size);
    WriteRecordingHeader(f, 77);
    const ScriptEvent events[] = {
        {-1, HostEventKeyDown, KeyUp, 0, 0},  {0, HostEventKeyUp, KeyDown, 0, 0},
        {0, HostEventKeyDown, KeyLeft, 0, 0}, {9, HostEventKeyDown, KeyRight, 0, 0},
        {9, HostEventKeyDown, KeyA, 0, 0},    {10, HostEventPenDown, 0, 239, 0},
        {12, HostEventQuit, 0, 0, 0},
    };
    for (const ScriptEvent& e : events) WriteScriptEvent(f, e);
    fclose(f);
    std::string message;
    ASSERT_TRUE(Read(std::string(text, size), true, &message)) << message;
    free(text);
    EXPECT_EQ(ScriptSeed, 77u);
    ASSERT_EQ(ScriptEventCount, int(std::size(events)));
    for (int i = 0; i < ScriptEventCount; i++) {
        const ScriptEvent &got = ScriptEvents[i], &want = events[i];
        EXPECT_EQ(got.frame, want.frame) << "event " << i;
        EXPECT_EQ(got.type, want.type) << "event " << i;
        EXPECT_EQ(got.button, want.button) << "event " << i;
        EXPECT_EQ(got.x, want.x) << "event " << i;
        EXPECT_EQ(got.y, want.y) << "event " << i;
    }
}
