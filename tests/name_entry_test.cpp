// The name entry: every tap boundary of the keyboard, Shift and Caps Lock, the lit frames and
// lost taps, OK, and keys typed on the desktop keyboard against the same taps through a script.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/input.h"
#include "app/script.h"
#include "core/globals.h"
#include "screens/high_scores.h"
#include "screens/name_entry.h"

namespace fs = std::filesystem;

namespace {

// One input at the start of a frame: a tap at (x, y), or (x = -1) the typed key `typed`.
struct Input {
    int frame, x, y, typed;
};

// An empty name on the name-entry screen, scores saved into a fresh folder.
void Open(int32_t score = 200) {
    fs::path folder = fs::temp_directory_path() / ("murko-names-" + std::to_string(getpid()));
    fs::remove_all(folder);
    G.ProgramFolder = folder.string() + "/";
    SetDefaultHighScores();
    memset(G.EnteredName, 0, sizeof G.EnteredName);
    std::tie(G.EnteredNameLength, G.KeyFlashFrames, G.ShiftOn, G.CapsLockOn, G.TypedKey) = std::tuple(0, 0, 0, 0, 0);
    std::tie(G.ScreenState, G.Score, G.TapConsumed, G.SoundOn, G.ALatch) = std::tuple(ScreenNewHighScore, score, 1, 1, 0);
}

// Runs frames with the inputs injected before them; per frame "length,flash" of the name after it.
std::string RunEntry(const std::vector<Input>& inputs, int frames) {
    std::string trace;
    for (int f = 0; f < frames; f++) {
        for (const Input& in : inputs) {
            if (in.frame != f) continue;
            if (in.x >= 0) std::tie(G.TapConsumed, G.TapPosX, G.TapPosY) = std::tuple(0, in.x, in.y);
            else G.TypedKey = in.typed;
        }
        if (G.ScreenState == ScreenNewHighScore) NewHighScoreScreen();
        trace += std::to_string(G.EnteredNameLength) + "," + std::to_string(G.KeyFlashFrames) + " ";
    }
    return trace;
}

std::string Name() { return std::string(G.EnteredName); }

// A number field of a state dump, -1 when missing.
long Field(const std::string& dump, const std::string& name) {
    const size_t at = dump.find("\"" + name + "\": ");
    return at == std::string::npos ? -1 : std::stol(dump.substr(at + name.size() + 4));
}

}  // namespace

TEST(NameEntry, EveryTapBoundaryOfTheKeyboard) {
    const struct { int x, y; const char* name; int code; int8_t screen; } taps[] = {
        {49, 109, "1", 0, ScreenNewHighScore},   // the 10 x 10 hit area's far corner
        {50, 100, "", -1, ScreenNewHighScore},   // just right of it
        {40, 110, "", -1, ScreenNewHighScore},   // just below it
        {184, 100, "0", 9, ScreenNewHighScore},  // the narrow tenth column ...
        {186, 129, "p", 9, ScreenNewHighScore},
        {187, 100, "", -1, ScreenNewHighScore},  // ... ends at x 186
        {184, 140, "", -1, ScreenNewHighScore},  // empty cells
        {168, 160, "", -1, ScreenNewHighScore},
        {49, 180, "", -1, ScreenNewHighScore},   // below the fourth row
        {46, 216, "", 11, ScreenNewHighScore},   // Space's far corner
        {47, 200, "", -1, ScreenNewHighScore},
        {160, 200, "", 12, ScreenNewHighScore},  // Backspace
        {6, 236, "", 13, ScreenNewHighScore},    // Shift
        {5, 220, "", -1, ScreenNewHighScore},
        {232, 236, "", 14, ScreenNewHighScore},  // Caps Lock
        {233, 236, "", -1, ScreenNewHighScore},
        {0, 292, "", -1, ScreenHighScores},      // OK
        {219, 319, "", -1, ScreenHighScores},
        {220, 300, "", -1, ScreenNewHighScore},
        {100, 291, "", -1, ScreenNewHighScore},
    };
    for (const auto& t : taps) {
        Open();
        G.LastKeyCode = -1;
        RunEntry({{0, t.x, t.y, 0}}, 1);
        EXPECT_EQ(Name(), t.name) << t.x << "," << t.y;
        EXPECT_EQ(G.LastKeyCode, t.code) << t.x << "," << t.y;
        EXPECT_EQ(G.ScreenState, t.screen) << t.x << "," << t.y;
    }
}

TEST(NameEntry, ShiftCapsLockLitFramesLostTapsAndTheTenCharacterLimit) {
    const int Shift = 6, Caps = 160, Low = 225, Space = 6, Back = 160, High = 205;  // special key taps: x and y
    std::vector<Input> tenTaps;
    for (int i = 0; i < 12; i++) tenTaps.push_back({4 * i, 40 + 16 * (i % 10), 140, 0});  // column 9 is empty
    tenTaps.push_back({48, Space, High, 0});
    tenTaps.push_back({52, Back, High, 0});
    const struct { const char* what; std::vector<Input> in; int frames; const char* name; int shift, caps; const char* trace; } cases[] = {
        {"a key types at once, lit 3 frames", {{0, 40, 120, 0}}, 4, "q", 0, 0, "1,2 1,3 1,4 1,0 "},
        {"Space acts 3 frames later", {{0, Space, High, 0}}, 4, " ", 0, 0, "0,2 0,3 0,4 1,0 "},
        {"the second tap is lost", {{0, 40, 100, 0}, {1, 56, 100, 0}}, 4, "1", 0, 0, "1,2 1,3 1,4 1,0 "},
        {"Shift, then a and x", {{0, Shift, Low, 0}, {4, 40, 140, 0}, {8, 56, 160, 0}}, 12, "Ax", 0, 0, nullptr},
        {"Caps Lock: A, then the top row", {{0, Caps, Low, 0}, {4, 40, 140, 0}, {8, 40, 100, 0}, {12, 184, 100, 0}, {16, 152, 160, 0}},
         20, "A!),", 0, 1, nullptr},
        {"Caps Lock while Shift is on", {{0, Shift, Low, 0}, {4, Caps, Low, 0}}, 8, "", 0, 1, nullptr},
        {"Backspace on nothing lights only", {{0, Back, High, 0}}, 4, "", 0, 0, "0,2 0,3 0,4 0,0 "},
        {"ten characters, no Space, Backspace", tenTaps, 56, "asdfghjkl", 0, 0, nullptr},
    };
    for (const auto& c : cases) {
        Open();
        std::string trace = RunEntry(c.in, c.frames);
        EXPECT_EQ(Name(), c.name) << c.what;
        EXPECT_EQ(G.ShiftOn, c.shift) << c.what;
        EXPECT_EQ(G.CapsLockOn, c.caps) << c.what;
        EXPECT_EQ(c.trace ? trace : "", c.trace ? c.trace : "") << c.what;
    }
}

TEST(NameEntry, OkStoresTheRunAndWritesTheFileEvenWithoutAPlace) {
    for (int32_t score : {200, 5}) {
        Open(score);
        RunEntry({{0, 100, 300, 0}}, 1);
        EXPECT_EQ(G.ScreenState, ScreenHighScores) << score;
        EXPECT_EQ(G.HighScoreTable[0].score, score == 200 ? 200 : 100) << score;
        EXPECT_EQ(std::string(G.HighScoreTable[0].name, 12), score == 200 ? std::string(12, '\0') : std::string("Murko-Dog\0\0\0", 12));
        EXPECT_EQ(fs::file_size(G.ProgramFolder + "Mhighscore.dat"), 200u) << score;
        fs::remove_all(G.ProgramFolder);
    }
}

TEST(NameEntry, TypedKeysActAsTheirKeysOnScreen) {
    const struct { int shift, caps, typed; const char* name; int row, code; } cases[] = {
        {0, 0, 'a', "a", 2, 0},
        {1, 0, 'a', "A", 2, 0},  // a plain-set character is shifted as its key
        {0, 1, '1', "!", 0, 0},
        {1, 0, '.', ",", 3, 7},
        {0, 0, 'A', "A", 2, 0},  // a shifted-set character types itself
        {0, 0, ',', ",", 3, 7},
        {0, 0, '-', "", -1, -1},  // no key
    };
    for (const auto& c : cases) {
        Open();
        std::tie(G.ShiftOn, G.CapsLockOn, G.LastKeyRow, G.LastKeyCode) = std::tuple(c.shift, c.caps, -1, -1);
        RunEntry({{0, -1, 0, c.typed}}, 1);
        EXPECT_EQ(Name(), c.name) << char(c.typed);
        EXPECT_EQ(G.LastKeyRow * 100 + G.LastKeyCode, c.row * 100 + c.code) << char(c.typed) << " lights its key";
        EXPECT_EQ(G.ShiftOn, 0) << char(c.typed);
    }
    G.ScreenState = ScreenMainMenu;
    HandleInputEvent(HostEvent{HostEventTyped, 'x', 0, 0});
    EXPECT_EQ(G.TypedKey, 0) << "typed keys wait for no other screen";
}

TEST(NameEntry, TypedKeysInRecordingsAndScripts) {
    char text[256] = "", message[ScriptMessageSize] = "";
    FILE* f = fmemopen(text, sizeof text, "w");
    for (int16_t code : {65, 8, 13, 35}) WriteScriptEvent(f, ScriptEvent{7, HostEventTyped, 0, 0, 0, code});
    fclose(f);
    const std::string good = text, bad[] = {"1 type 7\n", "1 type 127\n", "1 type A\n", "1 type 65 66\n"};
    for (const std::string& lines : {good, bad[0], bad[1], bad[2], bad[3]}) {
        f = fmemopen(const_cast<char*>(lines.c_str()), lines.size(), "r");
        EXPECT_EQ(ReadScript(f, "s", false, message, sizeof message), lines == good) << lines << message;
        fclose(f);
    }
    EXPECT_EQ(HostEventFromScript(ScriptEvents[3]).key, '#') << "'#' survives its comment";
    ClearScript();
}

// Through the real game: seed 2, PLAY GAME, level 1, and the dog stands still until the spiders
// end the run (by frame 5250) with a score that opens the name entry. From frame 6000 the name
// "A@ (" is typed once by taps and once on the keyboard; the pictures, the table and the file match.
TEST(NameEntry, AGameOverNameTypedOnTheKeyboardMatchesTheTaps) {
    const fs::path dir = fs::temp_directory_path() / ("murko-typed-" + std::to_string(getpid()));
    fs::remove_all(dir);
    auto read = [&](const std::string& name) {
        std::stringstream all;
        all << std::ifstream(dir / name, std::ios::binary).rdbuf();
        return all.str();
    };
    auto run = [&](const std::string& game, const std::string& args) {
        fs::create_directories(dir / game);
        fs::create_directory_symlink(MURKO_BINARY_DIR "/Graph", dir / game / "Graph");
        std::string command = "'" MURKO_EXECUTABLE "' --headless --audio nosound --data '" + (dir / game).string() + "' " + args;
        for (size_t at; (at = command.find('@')) != std::string::npos;) command.replace(at, 1, dir.string() + "/");
        EXPECT_EQ(std::system((command + " >/dev/null 2>&1").c_str()), 0) << command;
        return read(game + "/Mhighscore.dat");
    };
    fs::create_directories(dir);
    const std::string start = "2 tap 100 200\n5 tap 100 40\n6000 tap 160 225\n";  // ... and Caps Lock
    std::ofstream(dir / "taps") << start << "6004 tap 40 140\n6008 tap 56 100\n6009 tap 72 100\n6012 tap 6 205\n6016 tap 168 100\n6020 tap 100 300\n";
    std::ofstream(dir / "keys") << start << "6004 type 97\n6008 type 50\n6009 type 51\n6012 down a\n6012 type 32\n6016 type 57\n6020 down a\n6020 type 13\n";
    const std::string frames[2] = {"--seed 2 --frames 6011 --screenshot @", "--seed 2 --frames 6030 --dump-state @"};
    EXPECT_EQ(run("a", frames[0] + "taps.png --input @taps --dump-state @a.json"), "");
    EXPECT_EQ(Field(read("a.json"), "ScreenState"), ScreenNewHighScore) << "the run has not reached the name entry";
    run("b", frames[0] + "keys.png --input @keys");
    EXPECT_EQ(read("keys.png"), read("taps.png")) << "the same keys lit in the same frames";
    const std::string file = run("c", frames[1] + "c.json --input @taps");
    EXPECT_EQ(run("d", frames[1] + "d.json --input @keys --record @d.rec"), file);
    EXPECT_EQ(run("e", "--frames 6030 --dump-state @e.json --play @d.rec"), file);
    EXPECT_EQ(file.substr(0, 12), std::string("A@ (\0\0\0\0\0\0\0\0", 12));
    auto state = [&](const std::string& dump) {  // the dump without the folders, which differ
        std::string kept, line;
        for (std::istringstream lines(read(dump)); std::getline(lines, line);)
            if (line.find("Folder\"") == std::string::npos) kept += line + "\n";
        return kept;
    };
    EXPECT_TRUE(state("e.json") == state("d.json")) << "the recording of typed keys replays exactly";
    EXPECT_EQ(Field(read("d.json"), "ALatch"), 0) << "A typed into the name latches no map";
    fs::remove_all(dir);
}
