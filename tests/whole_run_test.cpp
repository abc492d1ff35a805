// Whole games through the headless runner: a name typed by taps and by keys after a lost fight, and
// the front-end screens worked with the d-pad and A alone.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>

#include "core/globals.h"
#include "screens/high_scores.h"

namespace fs = std::filesystem;

namespace {

// Seed 2: PLAY GAME after frame 2, LEVEL 1 after frame 5; the dog stands still until the spiders
// end the run (by frame 5250) with a score that opens the name entry. From frame 6000: Caps Lock,
// a, 2, 3 while 2 is lit (lost), Space, # and OK type "A@ #", once by taps and once on the
// keyboard.
const std::string Start = "2 tap 100 200\n5 tap 100 40\n6000 tap 160 225\n";
const std::string Taps =
    "6004 tap 40 140\n6008 tap 56 100\n6009 tap 72 100\n6012 tap 6 205\n6016 tap 72 100\n6020 tap "
    "100 300\n";
const std::string Keys =
    "6004 type 97\n6008 type 50\n6009 type 51\n6012 down a\n6012 type 32\n6016 type 35\n6020 down "
    "a\n6020 type 13\n";

fs::path Folder() {
    return fs::temp_directory_path() / ("murko-whole-" + std::to_string(getpid()));
}

std::string Read(const std::string& name) {
    std::stringstream all;
    all << std::ifstream(Folder() / name, std::ios::binary).rdbuf();
    return all.str();
}

// A press of a button in the pump after frame f, released in the next one.
std::string P(int f, const char* button) {
    return std::to_string(f) + " down " + button + "\n" + std::to_string(f + 1) + " up " + button +
           "\n";
}

// The game run with its data in the folder `game` ('@' in args is the test's folder); its state
// dump
// @game.json without the folders, which differ from run to run.
std::string Play(const std::string& game, const std::string& args) {
    std::error_code linked;
    fs::create_directories(Folder() / game);
    fs::create_directory_symlink(MURKO_BINARY_DIR "/Graph", Folder() / game / "Graph", linked);
    std::string command = "'" MURKO_EXECUTABLE "' --headless --audio nosound --data @" + game +
                          " --dump-state @" + game + ".json " + args;
    for (size_t at; (at = command.find('@')) != std::string::npos;)
        command.replace(at, 1, Folder().string() + "/");
    EXPECT_EQ(std::system((command + " >/dev/null 2>&1").c_str()), 0) << command;
    std::string kept;
    std::string line;
    for (std::istringstream lines(Read(game + ".json")); std::getline(lines, line);) {
        if (line.find("Folder\"") == std::string::npos) kept += line + "\n";
    }
    return kept;
}

// A number field of a state dump, -1 when missing.
long Field(const std::string& dump, const std::string& name) {
    const size_t at = dump.find("\"" + name + "\": ");
    return at == std::string::npos ? -1 : std::stol(dump.substr(at + name.size() + 4));
}

// Whether a dump's table begins with the run's name and score, then the old first place.
bool TableBegins(const std::string& dump, long score) {
    const std::string rows =
        "\"HighScoreTable\": [\n    {\"name\": \"A@ #\", \"score\": " + std::to_string(score) +
        "},\n    {\"name\": \"Murko-Dog\", \"score\": 100},";
    return dump.find(rows) != std::string::npos;
}

// A fresh folder for one test, gone afterwards.
struct TestFolder {
    TestFolder() {
        fs::remove_all(Folder());
        fs::create_directories(Folder());
    }
    ~TestFolder() { fs::remove_all(Folder()); }
};

}  // namespace

TEST(WholeRun, ANameTypedByTapsOrKeysGoesIntoTheTableAndItsFileAndReplays) {
    TestFolder folder;
    std::ofstream(Folder() / "taps") << Start + Taps;
    std::ofstream(Folder() / "keys") << Start + Keys;
    const std::string lit =
        Play("a", "--seed 2 --frames 6014 --input @taps --screenshot @taps.png");
    ASSERT_EQ(Field(lit, "ScreenState"), ScreenNewHighScore)
        << "the run has not reached the name entry";
    Play("b", "--seed 2 --frames 6014 --input @keys --screenshot @keys.png");
    EXPECT_TRUE(Read("keys.png") == Read("taps.png"))
        << "keys type the same name and light the same key as taps";
    Play("c", "--seed 2 --frames 6030 --input @taps");
    const std::string typed = Play("d", "--seed 2 --frames 6030 --input @keys --record @d.rec");
    const std::string file = Read("d/Mhighscore.dat");
    EXPECT_EQ(Read("c/Mhighscore.dat"), file);
    EXPECT_TRUE(Play("e", "--frames 6030 --play @d.rec") == typed)
        << "the recording of typed keys replays exactly";
    const long score = Field(typed, "Score");
    ASSERT_EQ(file.size(), 200u);
    EXPECT_EQ(file.substr(0, 12), std::string("A@ #\0\0\0\0\0\0\0\0", 12));
    EXPECT_EQ(file.substr(12, 4), std::string({char(score), char(score >> 8), 0, 0}))
        << "little-endian";
    EXPECT_EQ(file.substr(20, 10), std::string("Murko-Dog\0", 10))
        << "the old first place one down";
    EXPECT_TRUE(TableBegins(typed, score)) << typed;
    EXPECT_EQ(Field(typed, "ALatch"), 0) << "A typed into the name latches no map";
    EXPECT_TRUE(TableBegins(Play("d", "--frames 1"), score)) << "a second start reads the file";
}

TEST(WholeRun, TheHighlightOnTheMenus) {
    const std::string levels = P(5, "down") + P(8, "a");  // PLAY GAME: the level list from frame 10
    const std::string level2 = levels + P(11, "down") + P(14, "down") + P(17, "a");
    const struct {
        std::string script;
        int frames;
        const char* field;
        long value;
    } cases[] = {
        {"", 10, "HighlightShown", 0},
        {P(5, "down"), 10, "HighlightItem", 0},          // the first press only shows it
        {P(5, "a"), 10, "ScreenState", ScreenMainMenu},  // nothing shown: A does nothing ...
        {P(5, "a"), 10, "ALatch", 0},                    // ... and is taken
        {P(5, "down") + "8 tap 10 10\n", 12, "HighlightShown", 0},
        {levels + "11 down down\n40 up down\n", 45, "HighlightItem",
         6},  // held from frame 12: repeats at 24, 28 ... 40
        {level2, 30, "Level", 2},
        {level2, 30, "MapView", 0},
    };
    TestFolder folder;
    for (const auto& c : cases) {
        std::ofstream(Folder() / "s") << c.script;
        EXPECT_EQ(
            Field(Play("p", "--seed 2 --input @s --frames " + std::to_string(c.frames)), c.field),
            c.value)
            << c.script;
    }
}

// The pad starts LEVEL 1 (seed 2), where the dog stands still until the name entry opens (by frame
// 5100). There: "w" by the pad, Space typed (pressing A too, which must not tap "w" again), down to
// OK, the table's OK, and down twice to HELP. Recorded, then replayed.
TEST(WholeRun, APadRunReplaysExactly) {
    TestFolder folder;
    std::string script =
        P(2, "down") + P(5, "a") + P(8, "a") + P(5100, "right") + P(5103, "down") + P(5106, "a");
    script += "5112 down a\n5112 type 32\n5113 up a\n";
    for (int f = 5115; f < 5130; f += 3) script += P(f, "down");
    script += P(5130, "a") + P(5133, "a") + P(5136, "down") + P(5139, "down") + P(5142, "a");
    std::ofstream(Folder() / "s") << script;
    const std::string played = Play("p", "--seed 2 --frames 5150 --input @s --record @r");
    EXPECT_EQ(Field(played, "ScreenState"), ScreenHelp);
    EXPECT_EQ(Read("p/Mhighscore.dat").substr(0, 3), std::string("w \0", 3));
    EXPECT_TRUE(Play("q", "--frames 5150 --play @r") == played) << "the replay's dump differs";
}

// A direction held as the screen opens (the dog was walking) neither shows the highlight nor
// repeats.
TEST(WholeRun, ADirectionHeldFromTheGameShowsNothing) {
    G.ScreenState = ScreenHighScores;
    G.TapConsumed = 1;
    G.DownDown = 1;
    for (G.FrameCount = 500; G.FrameCount < 540; G.FrameCount++) HighScoreScreen();
    EXPECT_EQ(G.HighlightShown, 0);
}
