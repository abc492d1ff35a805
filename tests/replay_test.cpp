// The state dump, and whole runs of the game: scripted input, determinism, record and replay.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <algorithm>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/globals.h"
#include "app/state_dump.h"

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

// The value of a top-level number field of a dump (each sits on its own line).
long Number(const std::string& dump, const std::string& name) {
    size_t at = dump.find("\n  \"" + name + "\": ");
    EXPECT_NE(at, std::string::npos) << "no field " << name;
    if (at == std::string::npos) return -99999;
    return std::stol(dump.substr(at + name.size() + 7));
}

// The names of GameGlobals' fields, read from its declaration.
std::vector<std::string> GlobalFieldNames() {
    std::ifstream in(fs::path(MURKO_SOURCE_DIR) / "app/globals.h");
    std::string line;
    std::vector<std::string> names;
    bool inside = false;
    while (std::getline(in, line)) {
        line = line.substr(0, line.find("//"));
        if (line.find("struct GameGlobals") != std::string::npos) inside = true;
        else if (inside && line.find("};") != std::string::npos) break;
        size_t end = line.find_first_of("[;");  // the name stands before its size or the ';'
        if (!inside || end == std::string::npos) continue;
        size_t start = line.find_last_not_of("_0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", end - 1);
        start = start == std::string::npos ? 0 : start + 1;
        if (start < end) names.push_back(line.substr(start, end - start));
    }
    return names;
}

// A temporary folder for one test's files.
struct TempFolder {
    fs::path path;
    TempFolder() : path(fs::temp_directory_path() / ("murko-replay-" + std::to_string(getpid()))) {
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~TempFolder() { fs::remove_all(path); }
    fs::path Write(const char* name, const std::string& text) const {
        std::ofstream(path / name, std::ios::binary) << text;
        return path / name;
    }
};

// Runs the game headless with args; returns its exit code, its error output in *errors.
int RunGame(const TempFolder& t, const std::string& args, std::string* errors = nullptr) {
    fs::path err = t.path / "stderr.txt";
    std::string command = std::string("'") + MURKO_EXECUTABLE + "' --headless --audio nosound --data '" +
                          MURKO_BINARY_DIR + "' " + args + " >/dev/null 2>'" + err.string() + "'";
    int status = std::system(command.c_str());
    if (errors) *errors = ReadAll(err);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

TEST(StateDump, HoldsEveryFieldAndWholeTables) {
    TempFolder t;
    const GameGlobals saved = G;
    memset(G.MazeGrid, 0, sizeof G.MazeGrid);
    G.MazeWidth = 3;
    G.MazeHeight = 2;
    const int8_t codes[3][2] = {{1, 0}, {5, 2}, {12, 99}};  // [x][y]; codes above 9 exist only while carving
    for (int x = 0; x < 3; x++)
        for (int y = 0; y < 2; y++) G.MazeGrid[x * MazeStride + y] = codes[x][y];
    G.SpiderTable[149] = SpiderRecord{-5, 400, 3, 1, 9, -2};
    memcpy(G.HighScoreTable[0].name, "ab\"c\\d\n\xe9xyzw", 12);  // all 12 bytes used, no end mark
    memset(G.EnteredName, 'Q', sizeof G.EnteredName);            // nor here
    ASSERT_TRUE(WriteStateDump((t.path / "d.json").c_str()));
    G.MazeWidth = 250;  // a corrupt size never reads beyond the grid
    ASSERT_TRUE(WriteStateDump((t.path / "e.json").c_str()));
    G = saved;
    std::string dump = ReadAll(t.path / "d.json");
    const std::set<std::string> pictures = {"BackBuffer", "FontGlyphs", "RedFontCharMap", "HeroFrames",
                                            "SpiderFrames", "TileImages", "MenuBackImage", "BottomPanelImage",
                                            "HudPanelImage", "BackdropImage", "RedFontImage", "SpeakerImage",
                                            "ExitImage"};
    std::vector<std::string> fields = GlobalFieldNames();
    EXPECT_GT(fields.size(), 60u) << "the declaration of GameGlobals was not found";
    for (const std::string& name : fields)
        EXPECT_EQ(dump.find("\n  \"" + name + "\": ") != std::string::npos, pictures.count(name) == 0) << name;
    const char* parts[] = {
        "\"MazeGrid\": [\n    \"15?\",\n    \"02?\"\n  ]",
        "\"SpiderOccupancy\": [\n    [",
        "{\"x\": -5, \"y\": 400, \"direction\": 3, \"active\": 1, \"stepsLeft\": 9, \"strength\": -2}\n  ]",
        "{\"name\": \"ab\\\"c\\\\d\\u000a\\u00e9xyzw\", \"score\": ",
        "\"EnteredName\": \"QQQQQQQQQQQQQQQQQQQQ\"\n}",
    };
    for (const char* part : parts) EXPECT_NE(dump.find(part), std::string::npos) << part << "\n" << dump;
    EXPECT_EQ(std::count(dump.begin(), dump.end(), '{'), 1 + SpiderSlots + HighScoreEntries);
    std::string clamped = ReadAll(t.path / "e.json");
    EXPECT_NE(clamped.find("\"15?" + std::string(97, '0') + "\",\n    \"02?" + std::string(97, '0') + "\"\n  ]"),
              std::string::npos)
        << "100 columns, no more";
    EXPECT_FALSE(WriteStateDump("/nonexistent/murko/d.json"));
}

TEST(Replay, ScriptedRunsAreExactAndReplayable) {
    TempFolder t;
    const std::string p = t.path.string() + "/";
    // Taps come after the last frame, so no screen takes them; latches nobody reads stay set.
    t.Write("s.txt", "-1 down down\n1 down left\n3 up left\n3 down up\n4 down a\n4 tap 17 301\n");
    t.Write("q.txt", "6 quit\n");
    const std::string runs[] = {
        "--seed 8 --input 'P s.txt' --frames 4 --dump-state 'P four.json'",
        "--seed 8 --input 'P s.txt' --record 'P a.rec' --frames 5 --dump-state 'P a.json' --screenshot 'P a.png'",
        "--seed 8 --input 'P s.txt' --frames 5 --dump-state 'P b.json' --screenshot 'P b.png'",
        "--play 'P a.rec' --record 'P c.rec' --frames 5 --dump-state 'P c.json' --screenshot 'P c.png'",
        "--input 'P s.txt' --record 'P d.rec' --frames 5 --dump-state 'P d.json'",
        "--play 'P d.rec' --frames 5 --dump-state 'P e.json'",
        "--input 'P q.txt' --dump-state 'P q.json'",
    };
    for (std::string args : runs) {
        for (size_t at = 0; (at = args.find("'P ", at)) != std::string::npos;) args.replace(at, 3, "'" + p);
        std::string errors;
        ASSERT_EQ(RunGame(t, args, &errors), 0) << args << "\n" << errors;
    }
    std::string four = ReadAll(t.path / "four.json"), a = ReadAll(t.path / "a.json");
    const char* fields[] = {"FrameCount", "DownDown", "LeftDown", "UpDown", "ALatch", "TapConsumed", "TapPosX"};
    const long atFour[] = {4, 1, 0, 1, 0, 1, 0}, atFive[] = {5, 1, 0, 1, 1, 0, 17};
    for (int i = 0; i < 7; i++) {
        EXPECT_EQ(Number(four, fields[i]), atFour[i]) << fields[i] << " after 4 frames";
        EXPECT_EQ(Number(a, fields[i]), atFive[i]) << fields[i] << " after 5 frames";
    }
    const char* same[][2] = {{"a.json", "b.json"}, {"a.png", "b.png"}, {"a.json", "c.json"},
                             {"a.png", "c.png"},   {"a.rec", "c.rec"}, {"d.json", "e.json"}};
    for (const auto& pair : same) EXPECT_EQ(ReadAll(t.path / pair[0]), ReadAll(t.path / pair[1])) << pair[0];
    EXPECT_EQ(ReadAll(t.path / "a.rec").rfind("murko-recording 1\n", 0), 0u);
    EXPECT_NE(ReadAll(t.path / "a.rec").find("\nseed 8\n-1 down down\n1 down left\n3 up left\n3 down up\n4 down a\n"),
              std::string::npos);
    std::string quit = ReadAll(t.path / "q.json");
    EXPECT_EQ(Number(quit, "FrameCount"), 7) << "the quit after frame 6 ends the run at the next frame start";
}

TEST(Replay, BadInputFilesStopTheProgramBeforeTheFirstFrame) {
    TempFolder t;
    std::string bad = t.Write("bad.txt", "0 down a\n\n# fine so far\n3 jump\n").string();
    std::string rec = t.Write("good.rec", "murko-recording 1\nseed 4\n").string();
    std::string plain = t.Write("plain.txt", "1 down a\n").string();
    const std::string cases[][2] = {
        {"--input '" + bad + "'", bad + ":4: unknown event \"jump\""},
        {"--play '" + plain + "'", plain + ":1: not a recording"},
        {"--play '" + t.path.string() + "/none.rec'", "none.rec: cannot read it"},
        {"--play '" + rec + "' --seed 3", "--seed cannot be combined with --play"},
        {"--play '" + rec + "' --input '" + plain + "'", "--play cannot be combined with --input"},
        {"--input '" + plain + "' --record /nonexistent/murko/r.rec", "cannot create the recording"},
    };
    fs::path dump = t.path / "d.json";
    for (const auto& c : cases) {
        std::string errors;
        EXPECT_EQ(RunGame(t, c[0] + " --frames 3 --dump-state '" + dump.string() + "'", &errors), 2) << c[0];
        EXPECT_NE(errors.find(c[1]), std::string::npos) << c[0] << "\n" << errors;
        EXPECT_FALSE(fs::exists(dump)) << "no frame may run: " << c[0];
    }
}
