// The high-score table: its taps, a name shown from its 12 bytes only, reading, insertion and safe saving.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "core/globals.h"
#include "screens/high_scores.h"

namespace fs = std::filesystem;

namespace {

// A fresh score folder for one test, gone afterwards.
struct ScoreFolder {
    fs::path path = fs::temp_directory_path() / ("murko-scores-" + std::to_string(getpid()));
    ScoreFolder() {
        fs::remove_all(path);
        fs::create_directories(path);
        G.ProgramFolder = path.string() + "/";
        SetDefaultHighScores();
    }
    ~ScoreFolder() { fs::remove_all(path); }
    std::string File() const {
        std::stringstream all;
        all << std::ifstream(path / "Mhighscore.dat", std::ios::binary).rdbuf();
        return all.str();
    }
    void Write(const std::string& bytes) const { std::ofstream(path / "Mhighscore.dat", std::ios::binary) << bytes; }
};

std::string TableBytes() { return std::string(reinterpret_cast<const char*>(G.HighScoreTable), sizeof G.HighScoreTable); }

std::string Scores() {
    std::string text;
    for (const HighScoreEntry& e : G.HighScoreTable) text += std::to_string(e.score) + " ";
    return text;
}

ssize_t HalfThenDiskFull(int fd, const void* bytes, size_t count) {
    static bool second = false;
    second = !second;
    if (!second) return errno = ENOSPC, -1;
    return write(fd, bytes, count / 2);
}

}  // namespace

TEST(HighScores, OkAndSpeakerTapsAndTheNameReadOnlyFromItsField) {
    const struct { int x, y; int8_t screen; int8_t sound; } taps[] = {
        {0, 292, ScreenMainMenu, 1},   {219, 319, ScreenMainMenu, 1}, {100, 291, ScreenHighScores, 1},
        {220, 300, ScreenHighScores, 1}, {224, 303, ScreenHighScores, 0}, {223, 319, ScreenHighScores, 1},
        {239, 302, ScreenHighScores, 1},
    };
    for (const auto& t : taps) {
        std::tie(G.ScreenState, G.SoundOn, G.TapConsumed, G.TapPosX, G.TapPosY) = std::tuple(ScreenHighScores, 1, 0, t.x, t.y);
        HighScoreScreen();
        EXPECT_EQ(G.ScreenState, t.screen) << t.x << "," << t.y;
        EXPECT_EQ(G.SoundOn, t.sound) << t.x << "," << t.y;
    }
    // Only 'A' has ink. Entry 9 fills its field with 'W' and its score bytes read "AAAA", as does
    // the name buffer behind the table: a name read past its 12 bytes would show them.
    std::fill_n(G.BackdropImage, std::size(G.BackdropImage), 0);
    std::fill_n(G.FontGlyphs, sizeof G.FontGlyphs, 0);
    std::fill_n(G.FontGlyphs + 16 * 'A', 16, 0xFF);
    SetDefaultHighScores();
    std::fill_n(G.HighScoreTable[9].name, 12, 'W');
    G.HighScoreTable[9].score = G.HighScoreTable[9].reserved = 0x41414141;
    std::fill_n(G.EnteredName, sizeof G.EnteredName, 'A');
    G.HighScoreTable[0].name[0] = 'A';
    HighScoreScreen();
    const uint16_t* rows = G.BackBuffer + 30 * ScreenWidth;
    EXPECT_EQ(std::count(rows, rows + 250 * ScreenWidth, 0xFFFF), 8 * 16) << "one white 'A': entry 0's";
    std::fill_n(G.EnteredName, sizeof G.EnteredName, 0);
}

TEST(HighScores, FileReadOverTheDefaultsAsItIs) {
    ScoreFolder t;
    LoadHighScores();
    EXPECT_EQ(Scores(), "100 90 80 70 60 50 40 30 20 10 ") << "no file: the defaults";
    EXPECT_FALSE(fs::exists(t.path / "Mhighscore.dat")) << "and none is made";
    for (int i = 0; i < HighScoreEntries; i++) G.HighScoreTable[i].score = 1000 + i;
    std::fill_n(G.HighScoreTable[0].name, 12, 'Z');
    std::string bytes = TableBytes().substr(0, 120);
    t.Write(bytes);
    SetDefaultHighScores();
    LoadHighScores();
    EXPECT_EQ(Scores(), "1000 1001 1002 1003 1004 1005 40 30 20 10 ") << "120 bytes: entries 0..5";
    EXPECT_EQ(std::string(G.HighScoreTable[0].name, 12), "ZZZZZZZZZZZZ") << "a name without an end mark stays so";
    EXPECT_EQ(TableBytes().substr(0, 120), bytes);
}

TEST(HighScores, InsertionPlacesBelowEqualScoresAndEverySaveWritesTheFile) {
    const struct { int32_t score; const char* scores; int at; } cases[] = {
        {55, "100 90 80 70 60 55 50 40 30 20 ", 5},
        {100, "100 100 90 80 70 60 50 40 30 20 ", 1},
        {101, "101 100 90 80 70 60 50 40 30 20 ", 0},
        {10, "100 90 80 70 60 50 40 30 20 10 ", -1},  // -1: nowhere
    };
    for (const auto& c : cases) {
        ScoreFolder t;
        const char name[20] = "ABCDEFGHIJKLMNO";  // only 10 characters are kept
        InsertHighScore(c.score, name);
        SaveHighScores();
        EXPECT_EQ(Scores(), c.scores) << c.score;
        const std::string placed = c.at >= 0 ? std::string("ABCDEFGHIJ\0\0", 12) : std::string("Murko-Dog\0\0\0", 12);
        EXPECT_EQ(std::string(G.HighScoreTable[c.at >= 0 ? c.at : 9].name, 12), placed) << c.score;
        EXPECT_EQ(t.File(), TableBytes()) << c.score;
        EXPECT_EQ(fs::directory_iterator(t.path)->path().filename(), "Mhighscore.dat") << "no temporary file left";
    }
}

TEST(HighScores, AFailedSaveLeavesTheOldFileWholeAndTheGameRunning) {
    ScoreFolder t;
    SaveHighScores();
    const std::string old = t.File();
    const char name[20] = "NEW";
    InsertHighScore(500, name);
    const std::string table = TableBytes();
    testing::internal::CaptureStderr();
    ScoreFileWrite = HalfThenDiskFull;
    SaveHighScores();
    ScoreFileWrite = write;
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(t.File(), old) << "disk full after half the table";
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find("No space left"), std::string::npos) << said;
    EXPECT_EQ(TableBytes(), table) << "the table keeps the new entry";
    EXPECT_EQ(std::distance(fs::directory_iterator(t.path), fs::directory_iterator()), 1) << "no temporary file left";

    pid_t child = fork();  // a real file-size limit of 100 bytes: the save fails, the game lives on
    if (child == 0) {
        rlimit limit = {100, 100};
        setrlimit(RLIMIT_FSIZE, &limit);
        freopen("/dev/null", "w", stderr);
        SaveHighScores();
        _exit(42);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 42) << "status " << status;
    EXPECT_EQ(t.File(), old) << "file-size limit";

    G.ProgramFolder = (t.path / "a" / "b" / "c").string() + "/";  // missing folders are made
    SaveHighScores();
    std::ifstream made(t.path / "a" / "b" / "c" / "Mhighscore.dat", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(made), {}), table);
}
