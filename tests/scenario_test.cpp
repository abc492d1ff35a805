// Whole runs from the scripts in tests/scenarios: each ends as its golden says (the state dump, a
// hash of the last picture and of the score file; MURKO_WRITE_GOLDEN=1 writes them afresh), says
// nothing on stderr, and its recording replays to the same dump.

#include <set>

#include "tests/test_support.h"

TEST(Scenario, EveryScriptEndsAsItsGoldenAndItsRecordingReplays) {
    const std::set<fs::path> scripts(fs::directory_iterator(MURKO_SOURCE_DIR "/tests/scenarios"),
                                     {});
    for (const fs::path& script : scripts) {
        const std::string name = script.stem().string(), text = ReadFile(script);
        SCOPED_TRACE(name);
        const size_t run = text.find("# run:") + 6;
        const std::string args = text.substr(run, text.find('\n', run) - run);
        TestFolder t("scenario", true), replay("replay", true);
        std::string errors;
        ASSERT_EQ(t.Run("--input '" + script.string() + "' --record @r.rec --dump-state @d.json " +
                            "--screenshot @d.png" + args,
                        &errors),
                  0);
        EXPECT_EQ(errors, "");
        fs::copy_file(t.path / "r.rec", replay.path / "r.rec");
        const std::string frames = args.substr(args.find("--frames"));
        ASSERT_EQ(replay.Run("--play @r.rec --dump-state @d.json " + frames), 0);
        const std::string dump = WithoutTick(t["d.json"]);
        EXPECT_EQ(WithoutTick(replay["d.json"]), dump) << "the replay differs";
        const std::string got =
            dump + "picture " + Hash(t["d.png"]) + "\nscores " + Hash(t["Mhighscore.dat"]) + "\n";
        ExpectGolden("scenarios/" + name + ".txt", got);
    }
}
