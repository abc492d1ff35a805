// The front-end screens worked with the d-pad and A alone: the highlight's moves, A as a tap, the A
// latch, a pointer tap hiding it, and a pad-driven run that replays exactly.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <tuple>

#include "core/globals.h"
#include "screens/highlight.h"

namespace fs = std::filesystem;

namespace {

// A press of a button in the pump after frame f, released in the next one.
std::string P(int f, const char* button) {
    return std::to_string(f) + " down " + button + "\n" + std::to_string(f + 1) + " up " + button + "\n";
}

// Seed 2: the pad starts a game on LEVEL 1 and the dog stands still until the name entry opens (by frame 5100).
const std::string ToNameEntry = P(2, "down") + P(5, "a") + P(8, "a");

// A data folder of its own (the name entry writes its score file there); '@' in args is the folder.
struct Game {
    fs::path path = fs::temp_directory_path() / ("murko-pad-" + std::to_string(getpid()));
    Game() {
        fs::remove_all(path), fs::create_directories(path);
        fs::create_directory_symlink(MURKO_BINARY_DIR "/Graph", path / "Graph");
        fs::create_directory_symlink(MURKO_BINARY_DIR "/Sound", path / "Sound");
    }
    ~Game() { fs::remove_all(path); }
    std::string Read(const std::string& name) const {
        std::stringstream all;
        all << std::ifstream(path / name, std::ios::binary).rdbuf();
        return all.str();
    }
    // The state dump (its folder lines left out) after a run of the script for the given frames.
    std::string Run(const std::string& script, int seed, int frames, std::string args = "--input @s") const {
        fs::remove(path / "Mhighscore.dat");
        std::ofstream(path / "s") << script;
        if (seed) args += " --seed " + std::to_string(seed);
        std::string command = "'" MURKO_EXECUTABLE "' --headless --audio nosound --data @ --dump-state @d.json --frames " +
                              std::to_string(frames) + " " + args;
        for (size_t at; (at = command.find('@')) != std::string::npos;) command.replace(at, 1, path.string() + "/");
        EXPECT_EQ(std::system((command + " >/dev/null 2>&1").c_str()), 0) << command;
        std::string kept, line;
        for (std::istringstream lines(Read("d.json")); std::getline(lines, line);)
            if (line.find("Folder\"") == std::string::npos) kept += line + "\n";
        return kept;
    }
};

// The value of a field of the dump, as written.
std::string Field(const std::string& dump, const std::string& name) {
    const size_t at = dump.find("\"" + name + "\": ");
    if (at == std::string::npos) return "?";
    const size_t from = at + name.size() + 4;
    return dump.substr(from, dump.find_first_of(",\n", from) - from);
}

}  // namespace

TEST(PadMenus, TheHighlightOnEachScreen) {
    struct Case {
        const char* what;
        std::string script;
        int seed, frames;
        const char* field;
        const char* value;
    };
    const std::string menuA = P(5, "down") + P(8, "a");  // PLAY GAME by the pad: the level list from frame 10
    const std::string help = P(5, "down") + P(8, "down") + P(11, "down") + P(14, "a");  // help from frame 16
    const Case cases[] = {
        {"no direction: hidden", "", 1, 10, "HighlightShown", "0"},
        {"the first press shows it", P(5, "down"), 1, 10, "HighlightShown", "1"},
        {"... on the first item", P(5, "down"), 1, 10, "HighlightItem", "0"},
        {"down moves", P(5, "down") + P(8, "down"), 1, 12, "HighlightItem", "1"},
        {"it stops at EXIT", P(5, "down") + P(8, "down") + P(11, "down") + P(14, "down") + P(17, "down"), 1, 20, "HighlightItem", "3"},
        {"up stops at PLAY GAME", P(5, "down") + P(8, "up"), 1, 12, "HighlightItem", "0"},
        {"A with nothing shown does nothing", P(5, "a"), 1, 10, "ScreenState", "2"},
        {"... and is taken", P(5, "a"), 1, 10, "ALatch", "0"},
        {"a tap hides it", P(5, "down") + "8 tap 10 10\n", 1, 12, "HighlightShown", "0"},
        {"A on HIGH SCORES", P(5, "down") + P(8, "down") + P(11, "a"), 1, 14, "ScreenState", "1"},
        {"A on the table's OK", P(5, "down") + P(8, "down") + P(11, "a") + P(14, "a"), 1, 17, "ScreenState", "2"},
        {"A on HELP", help, 1, 17, "ScreenState", "4"},
        {"A turns the help pages", help + P(17, "a") + P(20, "a"), 1, 23, "HelpPage", "2"},
        {"A on the last page's OK", help + P(17, "a") + P(20, "a") + P(23, "a"), 1, 26, "ScreenState", "2"},
        {"A on PLAY GAME", menuA, 1, 10, "ScreenState", "5"},
        {"the level list keeps it shown", menuA, 1, 12, "HighlightShown", "1"},
        {"a held direction repeats", menuA + "11 down down\n40 up down\n", 1, 45, "HighlightItem", "6"},
        {"A on LEVEL 3", menuA + P(11, "down") + P(14, "down") + P(17, "a"), 1, 20, "Level", "2"},
        {"... starts it", menuA + P(11, "down") + P(14, "down") + P(17, "a"), 1, 20, "ScreenState", "0"},
        {"... without the map", menuA + P(11, "down") + P(14, "down") + P(17, "a"), 1, 30, "MapView", "0"},
        {"a key typed on the name entry", ToNameEntry + P(5100, "right") + P(5103, "right") + P(5106, "down") + P(5109, "a"), 2, 5112, "EnteredName", "\"e\""},
        {"A lost while a key is lit", ToNameEntry + P(5100, "a") + P(5102, "a"), 2, 5110, "EnteredName", "\"1\""},
        {"A that typed a space only types", ToNameEntry + "5100 down a\n5100 type 32\n5101 up a\n", 2, 5110, "EnteredName", "\" \""},
        {"down to OK and A", ToNameEntry + P(5100, "down") + P(5103, "down") + P(5106, "down") + P(5109, "down") + P(5112, "down") + P(5115, "down") + P(5118, "a"), 2, 5121, "ScreenState", "1"},
    };
    Game game;
    for (const Case& c : cases) EXPECT_EQ(Field(game.Run(c.script, c.seed, c.frames), c.field), c.value) << c.what;
}

TEST(PadMenus, APointerTapLeavesTheDesignsPicture) {
    Game game;
    game.Run("5 tap 230 310\n", 1, 12, "--input @s --screenshot @plain.png");
    game.Run(P(2, "down") + "5 tap 230 310\n", 1, 12, "--input @s --screenshot @padded.png");
    game.Run(P(2, "down"), 1, 12, "--input @s --screenshot @shown.png");
    EXPECT_EQ(game.Read("padded.png"), game.Read("plain.png"));
    EXPECT_NE(game.Read("shown.png"), game.Read("plain.png"));
}

TEST(PadMenus, APadRunReplaysExactly) {
    Game game;
    const std::string script = ToNameEntry + P(5100, "right") + P(5103, "down") + P(5106, "a") + P(5112, "down") +
                               P(5115, "down") + P(5118, "down") + P(5121, "down") + P(5124, "down") + P(5127, "a") +
                               P(5130, "a") + P(5133, "down") + P(5136, "down") + P(5139, "a");
    const std::string played = game.Run(script, 2, 5200, "--input @s --record @r");
    EXPECT_EQ(Field(played, "HighlightScreen"), "4") << "through the table to the menu and HELP";
    EXPECT_EQ(game.Read("Mhighscore.dat").substr(0, 2), std::string("w\0", 2));
    EXPECT_EQ(game.Run("", 0, 5200, "--play @r"), played);
}

// A direction held when a front-end screen opens (the dog was walking) neither shows the highlight nor repeats.
TEST(PadMenus, ADirectionHeldFromTheGameShowsNothing) {
    std::tie(G.ScreenState, G.TapConsumed, G.DownDown, G.FrameCount) = std::tuple(ScreenHighScores, 1, 1, 500);
    std::tie(G.HighlightShown, G.HighlightHeld, G.HighlightFrame) = std::tuple(0, 0, 0);
    for (int i = 0; i < 40; i++, G.FrameCount++) PadHighlight();
    EXPECT_EQ(G.HighlightShown, 0);
    G.DownDown = 0;
    PadHighlight();
    G.FrameCount++;
    G.DownDown = 1;
    PadHighlight();
    EXPECT_EQ(G.HighlightShown, 1) << "a fresh press";
}
