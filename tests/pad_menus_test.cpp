// The front-end screens worked with the d-pad and A alone, through the headless game.
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

// Seed 2: the pad starts LEVEL 1, where the dog stands still until the name entry opens (by frame 5100).
const std::string ToNameEntry = P(2, "down") + P(5, "a") + P(8, "a");

// The game run headless in a folder of its own, with no score file at the start; '@' is the folder.
struct Game {
    fs::path path = fs::temp_directory_path() / ("murko-pad-" + std::to_string(getpid()));
    Game() {
        fs::remove_all(path), fs::create_directories(path);
        fs::create_directory_symlink(MURKO_BINARY_DIR "/Graph", path / "Graph");
    }
    ~Game() { fs::remove_all(path); }
    std::string Read(const std::string& name) const {
        std::stringstream all;
        all << std::ifstream(path / name, std::ios::binary).rdbuf();
        return all.str();
    }
    // The state dump after the script's run, without the folder lines.
    std::string Run(const std::string& script, int frames, std::string args = "--seed 2 --input @s") const {
        fs::remove(path / "Mhighscore.dat");
        std::ofstream(path / "s") << script;
        std::string command = "'" MURKO_EXECUTABLE "' --headless --audio nosound --data @ --dump-state @d.json --frames " +
                              std::to_string(frames) + " " + args + " >/dev/null 2>&1";
        for (size_t at; (at = command.find('@')) != std::string::npos;) command.replace(at, 1, path.string() + "/");
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        std::string kept, line;
        for (std::istringstream lines(Read("d.json")); std::getline(lines, line);)
            if (line.find("Folder\"") == std::string::npos) kept += line + "\n";
        return kept;
    }
};

std::string Field(const std::string& dump, const std::string& name) {
    const size_t from = dump.find("\"" + name + "\": ") + name.size() + 4;
    return dump.substr(from, dump.find_first_of(",\n", from) - from);
}

}  // namespace

TEST(PadMenus, TheHighlightOnEachScreen) {
    const std::string menuA = P(5, "down") + P(8, "a");  // PLAY GAME: the level list from frame 10
    const std::string help = P(5, "down") + P(8, "down") + P(11, "down") + P(14, "a");
    const struct {
        std::string script;
        int frames;
        const char* field;
        const char* value;
    } cases[] = {
        {"", 10, "HighlightShown", "0"},
        {P(5, "down"), 10, "HighlightItem", "0"},  // the first press only shows it
        {P(5, "down") + P(8, "up") + P(11, "down"), 14, "HighlightItem", "1"},
        {P(5, "a"), 10, "ScreenState", "2"},  // nothing shown: A does nothing ...
        {P(5, "a"), 10, "ALatch", "0"},       // ... and is taken
        {P(5, "down") + "8 tap 10 10\n", 12, "HighlightShown", "0"},
        {P(5, "down") + P(8, "down") + P(11, "a") + P(14, "a"), 17, "ScreenState", "2"},  // the table and its OK
        {help + P(17, "a") + P(20, "a"), 23, "HelpPage", "2"},
        {menuA + "11 down down\n40 up down\n", 45, "HighlightItem", "6"},  // held from frame 12: repeats at 24, 28 ... 40
        {menuA + P(11, "down") + P(14, "down") + P(17, "a"), 30, "Level", "2"},
        {menuA + P(11, "down") + P(14, "down") + P(17, "a"), 30, "MapView", "0"},
        {ToNameEntry + P(5100, "right") + P(5103, "down") + P(5106, "a"), 5110, "EnteredName", "\"w\""},
        {ToNameEntry + P(5100, "a") + P(5102, "a"), 5110, "EnteredName", "\"1\""},  // lost while "1" is lit
        {ToNameEntry + "5100 down a\n5100 type 32\n", 5110, "EnteredName", "\" \""},  // Space typed, not a tap
    };
    Game game;
    for (const auto& c : cases) EXPECT_EQ(Field(game.Run(c.script, c.frames), c.field), c.value) << c.script;
}

TEST(PadMenus, APointerTapLeavesTheDesignsPicture) {
    Game game;
    game.Run("5 tap 230 310\n", 8, "--input @s --screenshot @plain.png");
    game.Run(P(2, "down") + "5 tap 230 310\n", 8, "--input @s --screenshot @padded.png");
    game.Run(P(2, "down"), 8, "--input @s --screenshot @shown.png");
    EXPECT_EQ(game.Read("padded.png"), game.Read("plain.png"));
    EXPECT_NE(game.Read("shown.png"), game.Read("plain.png"));
}

// "w", five rows down to OK, the table's OK, and down twice to HELP: recorded, then replayed.
TEST(PadMenus, APadRunReplaysExactly) {
    Game game;
    std::string script = ToNameEntry + P(5100, "right") + P(5103, "down") + P(5106, "a");
    for (int f = 5112; f < 5127; f += 3) script += P(f, "down");
    script += P(5127, "a") + P(5130, "a") + P(5133, "down") + P(5136, "down") + P(5139, "a");
    const std::string played = game.Run(script, 5150, "--seed 2 --input @s --record @r");
    EXPECT_EQ(Field(played, "ScreenState"), "4");
    EXPECT_EQ(game.Read("Mhighscore.dat").substr(0, 2), std::string("w\0", 2));
    EXPECT_TRUE(game.Run("", 5150, "--play @r") == played) << "the replay's dump differs";
}

// A direction held as the screen opens (the dog was walking) neither shows the highlight nor repeats.
TEST(PadMenus, ADirectionHeldFromTheGameShowsNothing) {
    std::tie(G.ScreenState, G.TapConsumed, G.DownDown, G.FrameCount) = std::tuple(ScreenHighScores, 1, 1, 500);
    for (int i = 0; i < 40; i++, G.FrameCount++) PadHighlight();
    EXPECT_EQ(G.HighlightShown, 0);
}
