// Reading input scripts and recordings: what is accepted, and the message for every bad line.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <tuple>

#include "app/script.h"
#include "core/globals.h"

namespace {

// Reads text as s.txt: the message of a bad file, else the events as the recorder writes them.
std::string Read(const std::string& text, bool recording) {
    FILE* f = text.empty() ? fopen("/dev/null", "r")
                           : fmemopen(const_cast<char*>(text.data()), text.size(), "r");
    char message[ScriptMessageSize] = "";
    char* events = nullptr;
    bool ok = ReadScript(f, "s.txt", recording, message, sizeof message);
    size_t size = 0;
    fclose(f);
    f = open_memstream(&events, &size);
    for (int i = 0; i < ScriptEventCount; i++) WriteScriptEvent(f, ScriptEvents[i]);
    fclose(f);
    std::string written(events, size);
    free(events);
    return ok ? written : message;
}

}  // namespace

TEST(Script, ReadsEveryKindOfEvent) {
    EXPECT_EQ(
        Read("#\n\n-1 down left\r\n  0\tup   a  # note\n3 tap 0 319\n3 down right\n2147483647 quit",
             false),
        "-1 down left\n0 up a\n3 tap 0 319\n3 down right\n2147483647 quit\n");
    EXPECT_EQ(Read("murko-recording 1\n# notes\nseed 4294967295\n5 tap 1 2\n", true),
              "5 tap 1 2\n");
    EXPECT_TRUE(ScriptHasSeed);
    EXPECT_EQ(ScriptSeed, 4294967295u);
}

TEST(Script, NamesTheFileLineAndFaultOfABadLine) {
    std::string many;
    for (int i = 0; i <= ScriptCapacity; i++) many += "1 down a\n";
    const std::tuple<bool, std::string, std::string> cases[] = {
        // recording, text, how the message begins
        {false, "2147483648 down a\n", "1: bad frame number"},
        {false, "-2 down a\n", "1: frame -2 is before the start"},
        {false, "5 down a\n\n4 up a\n", "3: frame 4 comes after frame 5"},
        {false, "3\n", "1: missing event"},
        {false, "3 up B\n", "1: unknown key \"B\""},
        {false, "3 tap 4\n", "1: a tap needs X and Y"},
        {false, "3 tap 240 4\n", "1: bad tap x \"240\" (expected 0..239)"},
        {false, "1 tap 1 2 3 4 5\n", "1: unexpected text"},
        {false, many, "262145: too many events"},
        {true, "", "1: empty file"},
        {false, "seed 5\n", "1: a seed line belongs in a recording"},
        {true, "seed 5\n", "1: not a recording"},
        {true, "murko-recording 2\n", "1: recording version 2 is not supported"},
        {true, "murko-recording 1\n1 down a\n", "2: an event before the seed line"},
        {true, "murko-recording 1\nseed 4294967296\n",
         "2: bad seed \"4294967296\" (expected 0..4294967295)"},
        {true, "murko-recording 1\nseed 1\nseed 2\n", "3: a second seed line"},
    };
    for (const auto& [recording, text, message] : cases) {
        EXPECT_EQ(Read(text, recording).rfind("s.txt:" + message, 0), 0u) << text.substr(0, 40);
        EXPECT_EQ(ScriptEventCount, 0) << "a bad file leaves nothing behind";
        EXPECT_FALSE(ScriptHasSeed) << "a bad file leaves nothing behind";
    }
}

// Nothing after the first bad byte is read, nor past the size limit: /dev/zero, an endless line
// or a huge recording ends at once.
TEST(Script, ReadingStopsAtTheFirstBadByte) {
    const struct {
        std::string text;
        long stop;            // bytes read
        const char* message;  // what follows "s.txt:LINE: "
    } cases[] = {
        {"1 down a\n2 do" + std::string(1 << 20, '\0'), 14, "a NUL byte in the line"},
        {"1 tap 1 1 " + std::string(1 << 20, ' '), ScriptLineMax + 1, "line longer than 255"},
        {std::string(ScriptBytesMax + 9, '\n'), ScriptBytesMax + 1, "the file is larger than"},
    };
    for (auto c : cases) {
        FILE* f = fmemopen(c.text.data(), c.text.size(), "r");
        char message[ScriptMessageSize] = "";
        EXPECT_FALSE(ReadScript(f, "s.txt", false, message, sizeof message));
        EXPECT_EQ(ftell(f), c.stop) << message;
        EXPECT_NE(strstr(message, c.message), nullptr) << message;
        fclose(f);
    }
}
