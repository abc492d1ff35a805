// Recordings: where the seed of a windowed run comes from, and the files a run must never spoil.

#include <set>

#include "tests/test_support.h"

TEST(Replay, BadFilesStopTheRunAndNoRecordingIsSpoilt) {
    TestFolder t("replay", true);
    std::string errors;
    t.Write("s.txt", "1 down left\n");
    ASSERT_EQ(t.Run("--input @s.txt --frames 3 --record @a.rec", &errors), 0) << errors;
    t.Write("bad.txt", "0 down a\n\n# fine so far\n3 jump\n");
    const struct {
        std::string args;
        int code;
        const char* said;
    } cases[] = {
        {"--input @bad.txt", 2, "bad.txt:4: unknown event \"jump\""},
        {"--play @a.rec --record /nonexistent/murko/r.rec", 2, "cannot create the recording"},
        {"--play @a.rec --record @a.rec", 2, ""},
        {"--play @a.rec --seed 3", 2, "--seed cannot be combined with --play"},
        {"--windowed --record @keep.rec", 1, ""},
    };
    const std::string recording = t["a.rec"];
    t.Write("keep.rec", "precious");
    for (const auto& c : cases) {
        EXPECT_EQ(t.Run(c.args + " --dump-state @d.json", &errors, "SDL_VIDEODRIVER=nonexistent"),
                  c.code)
            << c.args;
        EXPECT_NE(errors.find(c.said), std::string::npos) << errors;
        EXPECT_FALSE(fs::exists(t.path / "d.json")) << "stopped before the first frame";
    }
    EXPECT_EQ(t["a.rec"], recording) << "never recorded over the recording played";
    EXPECT_EQ(t["keep.rec"], "precious") << "no run, no recording written";
}

// The seed is the milliseconds since the machine started, so starts a moment apart differ.
TEST(Replay, WindowedStartsBeginDifferentGamesAndTheirRecordingsReplay) {
    TestFolder t("replay-seed", true);
    std::set<long> states;
    for (int run = 0; run < 4; run++) {
        ASSERT_EQ(t.Run("--windowed --frames 2 --record @w.rec --dump-state @w.json"), 0);
        states.insert(Field(t["w.json"], "RandomState"));
    }
    EXPECT_EQ(states.size(), 4u);
    ASSERT_EQ(t.Run("--play @w.rec --frames 2 --dump-state @p.json"), 0);
    EXPECT_EQ(Field(t["p.json"], "RandomState"), Field(t["w.json"], "RandomState"));
    const uint32_t bootMs = uint32_t(std::stod(ReadFile("/proc/uptime")) * 1000);
    const std::string rec = t["w.rec"];
    const uint32_t seed = uint32_t(std::stoul(rec.substr(rec.find("\nseed ") + 6)));
    EXPECT_LT(bootMs - seed, 10000u) << "seed " << seed << ", " << bootMs << " ms since boot";
}
