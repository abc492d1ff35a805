// The name entry: the keyboard's tap boundaries, Shift and Caps Lock, lost taps, OK, and typed
// keys.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/input_events.h"
#include "core/globals.h"
#include "core/random.h"
#include "screens/high_scores.h"
#include "screens/name_entry.h"

namespace fs = std::filesystem;

namespace {

// One input at the start of a frame: a tap at (x, y), or (x = -1) the typed key `typed`.
struct Input {
    int frame, x, y, typed;
};

// An empty name on the name-entry screen, scores saved into a fresh folder.
void Open(int32_t score) {
    fs::path folder = fs::temp_directory_path() / ("murko-names-" + std::to_string(getpid()));
    fs::remove_all(folder);
    G.ProgramFolder = folder.string() + "/";
    SetDefaultHighScores();
    memset(G.EnteredName, 0, sizeof G.EnteredName);
    G.EnteredNameLength = 0;
    G.KeyFlashFrames = 0;
    G.ShiftOn = 0;
    G.CapsLockOn = 0;
    G.TypedKey = 0;
    G.TapConsumed = 1;
    G.ScreenState = ScreenNewHighScore;
    G.Score = score;
}

// Runs frames with the inputs given before them; the name typed.
std::string RunEntry(const std::vector<Input>& inputs, int frames) {
    for (int f = 0; f < frames; f++) {
        for (const Input& in : inputs) {
            if (in.frame == f && in.x >= 0)
                HandleInputEvent(HostEvent{HostEventPenDown, 0, in.x, in.y});
            if (in.frame == f && in.x < 0)
                HandleInputEvent(HostEvent{HostEventTyped, int16_t(in.typed), 0, 0});
        }
        if (G.ScreenState == ScreenNewHighScore) NewHighScoreScreen();
    }
    return G.EnteredName;
}

}  // namespace

TEST(NameEntry, TapBoundariesOfTheKeyboard) {
    const struct {
        int x, y;
        const char* name;
    } taps[] = {
        {49, 109, "1"},                  // the 10 x 10 hit area's far corner
        {50, 100, ""},                   // just right of it
        {40, 110, ""},                   // just below it
        {184, 100, "0"},                 // the narrow tenth column ...
        {187, 100, ""},                  // ... ends at x 186
        {184, 140, ""},                  // empty cells
        {168, 160, ""},  {49, 180, ""},  // below the fourth row
    };
    for (const auto& t : taps) {
        Open(200);
        EXPECT_EQ(RunEntry({{0, t.x, t.y, 0}}, 1), t.name) << t.x << "," << t.y;
    }
}

TEST(NameEntry, ShiftCapsLockLostTapsAndTheTenCharacterLimit) {
    const int Left = 6, Right = 160, Low = 225,
              High = 205;  // special keys: Space and Shift left, Backspace and Caps Lock right
    std::vector<Input> elevenTaps;
    for (int i = 0; i < 11; i++) elevenTaps.push_back({4 * i, 40 + 16 * (i % 10), 120, 0});
    elevenTaps.push_back({44, Left, High, 0});
    const struct {
        const char* what;
        std::vector<Input> in;
        int frames;
        const char* name;
        int shift, caps;
    } cases[] = {
        {"Space not yet", {{0, Left, High, 0}}, 3, "", 0, 0},
        {"Space acts 3 frames later", {{0, Left, High, 0}}, 4, " ", 0, 0},
        {"the second tap is lost", {{0, 40, 100, 0}, {1, 56, 100, 0}}, 8, "1", 0, 0},
        {"Shift is used up by a",
         {{0, Left, Low, 0}, {4, 40, 140, 0}, {8, 56, 160, 0}},
         12,
         "Ax",
         0,
         0},
        {"Caps Lock shifts the top row",
         {{0, Right, Low, 0}, {4, 40, 100, 0}, {8, 184, 100, 0}, {12, 152, 160, 0}},
         16,
         "!),",
         0,
         1},
        {"Caps Lock ends Shift", {{0, Left, Low, 0}, {4, Right, Low, 0}}, 8, "", 0, 1},
        {"ten characters, Space too", elevenTaps, 50, "qwertyuiop", 0, 0},
        {"a typed letter is shifted", {{0, Left, Low, 0}, {4, -1, 0, 'a'}}, 6, "A", 0, 0},
    };
    for (const auto& c : cases) {
        Open(200);
        EXPECT_EQ(RunEntry(c.in, c.frames), c.name) << c.what;
        EXPECT_EQ(G.ShiftOn, c.shift) << c.what;
        EXPECT_EQ(G.CapsLockOn, c.caps) << c.what;
    }
    G.ScreenState = ScreenMainMenu;
    HandleInputEvent(HostEvent{HostEventTyped, 'x', 0, 0});
    EXPECT_EQ(G.TypedKey, 0) << "typed keys wait for no other screen";
}

TEST(NameEntry, OkWithAnEmptyNameStoresTheRunAndWritesTheFileEvenWithoutAPlace) {
    const struct {
        int32_t score;
        const char* first;
    } cases[] = {
        {200, ""},
        {5, "Murko-Dog"},
    };
    for (const auto& c : cases) {
        Open(c.score);
        RunEntry({{0, 100, 300, 0}}, 1);
        EXPECT_EQ(G.ScreenState, ScreenHighScores) << c.score;
        EXPECT_STREQ(G.HighScoreTable[0].name, c.first) << c.score;
        EXPECT_EQ(fs::file_size(G.ProgramFolder + "Mhighscore.dat"), 200u) << c.score;
        fs::remove_all(G.ProgramFolder);
    }
}

// The cursor's colour takes one random draw a frame: replays depend on the count.
TEST(NameEntry, OneRandomDrawAFrame) {
    Open(200);
    Srand(7);
    RunEntry({}, 5);
    const int next = Rand();
    Srand(7);
    for (int i = 0; i < 5; i++) Rand();
    EXPECT_EQ(next, Rand());
}
