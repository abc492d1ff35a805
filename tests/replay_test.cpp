// The state dump, and whole runs of the game: scripted input, determinism, record and replay.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "app/state_dump.h"
#include "core/globals.h"

namespace fs = std::filesystem;

namespace {

// A folder for one test's files, and the game run headless in it; '@' in args stands for the
// folder.
struct Folder {
    fs::path path = fs::temp_directory_path() / ("murko-replay-" + std::to_string(getpid()));
    Folder() {
        fs::remove_all(path);
        fs::create_directories(path);
        fs::permissions(path, fs::perms::owner_all);  // a private runtime folder for windowed runs
    }
    ~Folder() { fs::remove_all(path); }
    std::string operator[](const std::string& name) const {  // a file's content
        std::stringstream all;
        all << std::ifstream(path / name, std::ios::binary).rdbuf();
        return all.str();
    }
    int RunGame(std::string args, std::string* errors) const {  // the exit code
        return Run("'" MURKO_EXECUTABLE "' --headless " + args, errors);
    }
    // A window on SDL's invisible display, with its instance lock in this folder.
    int RunWindowed(std::string args, std::string* errors) const {
        return Run(
            "SDL_VIDEODRIVER=dummy XDG_RUNTIME_DIR=@ '" MURKO_EXECUTABLE "' --windowed " + args,
            errors);
    }
    int Run(std::string command, std::string* errors) const {
        command += " --audio nosound --data '" MURKO_BINARY_DIR "'";
        for (size_t at; (at = command.find('@')) != std::string::npos;)
            command.replace(at, 1, path.string() + "/");
        int status = std::system((command + " >/dev/null 2>" + path.string() + "/err").c_str());
        *errors = (*this)["err"];
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string Line(const std::string& name, const std::string& key) const {  // one line of a dump
        const std::string all = (*this)[name];
        const size_t at = all.find("\"" + key + "\"");
        return at == all.npos ? "" : all.substr(at, all.find('\n', at) - at);
    }
};

}  // namespace

TEST(Replay, TheDumpWritesEachKindOfField) {
    Folder t;
    const GameGlobals saved = G;
    G.MazeWidth = 3;
    G.MazeHeight = 2;
    const int8_t codes[6] = {1,  0, 5, 2,
                             12, 99};  // x = 0..2, y = 0..1; codes above 9 exist only while carving
    for (int i = 0; i < 6; i++) G.MazeGrid[i / 2 * MazeStride + i % 2] = codes[i];
    G.SpiderTable[149] = SpiderRecord{-5, 400, 3, 1, 9, -2};
    G.HighScoreTable[0].score = 0x41414141;  // "AAAA" if a name ran into it
    std::copy_n("ab\"c\\d\n\xe9xyzw", 12,
                G.HighScoreTable[0].name);                  // all 12 bytes used, no end mark
    std::fill_n(G.EnteredName, sizeof G.EnteredName, 'Q');  // nor here
    ASSERT_TRUE(WriteStateDump((t.path / "g.json").c_str()));
    G = saved;
    const std::string dump = t["g.json"];
    for (const char* part : {"\"MazeGrid\": [\n    \"15?\",\n    \"02?\"\n  ]",
                             "{\"x\": -5, \"y\": 400, \"direction\": 3, \"active\": 1, "
                             "\"stepsLeft\": 9, \"strength\": -2}\n  ]",
                             "{\"name\": \"ab\\\"c\\\\d\\u000a\\u00e9xyzw\", \"score\": ",
                             "\"EnteredName\": \"QQQQQQQQQQQQQQQQQQQQ\",\n"})
        EXPECT_NE(dump.find(part), std::string::npos) << part << "\n" << dump;
    EXPECT_EQ(std::count(dump.begin(), dump.end(), '{'), 1 + SpiderSlots + HighScoreEntries);
}

TEST(Replay, ScriptedRunsAreExactAndReplayable) {
    Folder t;
    std::string errors;
    // Frame 4's events come after the last frame, so no screen takes them; latches nobody reads
    // stay set.
    std::ofstream(t.path / "s.txt")
        << "-1 down down\n1 down left\n3 up left\n3 down up\n4 down a\n4 tap 17 301\n";
    for (const char* args :
         {"--input @s.txt --seed 8 --frames 4 --dump-state @4.json",
          "--input @s.txt --seed 8 --frames 5 --dump-state @a.json --screenshot @a.png --record "
          "@a.rec",
          "--input @s.txt --seed 8 --frames 5 --dump-state @b.json --screenshot @b.png",
          "--play @a.rec --frames 5 --dump-state @c.json --screenshot @c.png --record @c.rec"})
        ASSERT_EQ(t.RunGame(args, &errors), 0) << args << "\n" << errors;
    const std::string held =
        "\"LeftDown\": 0,\n  \"RightDown\": 0,\n  \"UpDown\": 1,\n  \"DownDown\": 1,\n  "
        "\"TapConsumed\": ";
    EXPECT_NE(t["4.json"].find("\"ALatch\": 0,\n  " + held + "1,"), std::string::npos)
        << "only frame 3's events";
    EXPECT_NE(t["a.json"].find("\"ALatch\": 1,\n  " + held + "0,\n  \"TapPosX\": 17,"),
              std::string::npos);
    for (std::string file :
         {"b.json", "b.png", "c.json", "c.png", "c.rec"})  // c replays a, b repeats it
        EXPECT_EQ(t[std::string("a").append(file, 1)], t[file]) << file;
    std::ofstream(t.path / "bad.txt") << "0 down a\n\n# fine so far\n3 jump\n";
    EXPECT_EQ(t.RunGame("--input @bad.txt --dump-state @d.json", &errors), 2);
    EXPECT_NE(errors.find("bad.txt:4: unknown event \"jump\""), std::string::npos) << errors;
    EXPECT_EQ(
        t.RunGame("--play @a.rec --record /nonexistent/murko/r.rec --dump-state @d.json", &errors),
        2);
    EXPECT_NE(errors.find("cannot create the recording"), std::string::npos) << errors;
    const std::string recording = t["a.rec"];
    EXPECT_EQ(t.RunGame("--play @a.rec --record @a.rec --dump-state @d.json", &errors), 2);
    EXPECT_EQ(t["a.rec"], recording) << "never recorded over the recording played";
    std::ofstream(t.path / "keep.rec") << "precious";
    EXPECT_EQ(t.Run("SDL_VIDEODRIVER=nonexistent XDG_RUNTIME_DIR=@ '" MURKO_EXECUTABLE
                    "' --windowed --record @keep.rec --dump-state @d.json",
                    &errors),
              1);
    EXPECT_EQ(t["keep.rec"], "precious") << "no run, no recording written";
    EXPECT_FALSE(fs::exists(t.path / "d.json"))
        << "a bad file stops the program before the first frame";
}

// The seed comes from the time since the machine started, so starts a moment apart differ.
TEST(Replay, WindowedStartsBeginDifferentGamesAndTheirRecordingsReplay) {
    Folder t;
    std::string errors;
    std::set<std::string> states;
    for (int run = 0; run < 4; run++) {
        const std::string dump = std::string("w").append(std::to_string(run)).append(".json");
        ASSERT_EQ(t.RunWindowed("--frames 2 --record @w.rec --dump-state @" + dump, &errors), 0)
            << errors;
        states.insert(t.Line(dump, "RandomState"));
    }
    EXPECT_EQ(states.size(), 4u);
    ASSERT_EQ(t.RunGame("--play @w.rec --frames 2 --dump-state @p.json", &errors), 0) << errors;
    EXPECT_EQ(t.Line("p.json", "RandomState"), t.Line("w3.json", "RandomState"));
    // The seed is the milliseconds since boot, which the kernel also gives as /proc/uptime.
    const uint32_t bootMs = uint32_t(std::stod(t["/proc/uptime"]) * 1000);
    const std::string recording = t["w.rec"];
    const uint32_t seed = uint32_t(std::stoul(recording.substr(recording.find("\nseed ") + 6)));
    EXPECT_LT(bootMs - seed, 10000u) << "seed " << seed << ", " << bootMs << " ms since boot";
}

// Taps made while the game starts up are not the first frame's: the menu never sees them.
TEST(Replay, TapsBeforeTheFirstFrameAreDiscarded) {
    Folder t;
    std::string errors;
    std::ofstream(t.path / "tap.txt") << "-1 tap 120 100\n";
    ASSERT_EQ(t.RunGame("--input @tap.txt --frames 0 --dump-state @t.json", &errors), 0) << errors;
    EXPECT_EQ(t.Line("t.json", "TapConsumed"), "\"TapConsumed\": 1,");
}
