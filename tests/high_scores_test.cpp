// The high-score table: a name shown from its 12 bytes only, reading, insertion and safe
// saving.
#include <sys/resource.h>

#include <cerrno>
#include <cstring>

#include "core/files.h"
#include "core/globals.h"
#include "screens/high_scores.h"
#include "screens/score_file.h"
#include "tests/test_support.h"

namespace {

// A fresh score folder with the default table.
struct ScoreFolder : TestFolder {
    ScoreFolder() : TestFolder("scores") {
        G.ProgramFolder = path.string() + "/";
        SetDefaultHighScores();
    }
    std::string File() const { return (*this)["Mhighscore.dat"]; }
    long Files() const { return std::distance(fs::directory_iterator(path), {}); }
};

std::string TableBytes() {
    return std::string(reinterpret_cast<const char*>(G.HighScoreTable), sizeof G.HighScoreTable);
}

std::string Scores() {
    std::string text;
    for (const HighScoreEntry& e : G.HighScoreTable) text += std::to_string(e.score) + " ";
    return text;
}

// The first write writes half, the second finds the disk full.
ssize_t HalfThenDiskFull(int fd, const void* bytes, size_t count) {
    static bool second = false;
    second = !second;
    if (second) return write(fd, bytes, count / 2);
    errno = ENOSPC;
    return -1;
}

}  // namespace

// Only 'A' has ink. Entry 9 fills its name with 'W' and its score bytes read "AAAA", as does the
// name buffer behind the table: a name read past its 12 bytes would show them.
TEST(HighScores, ANameIsShownFromItsTwelveBytesOnly) {
    std::fill_n(G.BackdropImage, std::size(G.BackdropImage), 0);
    std::fill_n(G.FontGlyphs, sizeof G.FontGlyphs, 0);
    std::fill_n(G.FontGlyphs + 16 * 'A', 16, 0xFF);
    SetDefaultHighScores();
    std::fill_n(G.HighScoreTable[9].name, 12, 'W');
    G.HighScoreTable[9].score = 0x41414141;
    G.HighScoreTable[9].reserved = 0x41414141;
    std::fill_n(G.EnteredName, sizeof G.EnteredName, 'A');
    G.HighScoreTable[0].name[0] = 'A';
    G.TapConsumed = 1;
    HighScoreScreen();
    const uint16_t* rows = G.BackBuffer + 30 * ScreenWidth;
    EXPECT_EQ(std::count(rows, rows + 250 * ScreenWidth, 0xFFFF), 8 * 16)
        << "one white 'A': entry 0's";
    std::fill_n(G.EnteredName, sizeof G.EnteredName, 0);
}

TEST(HighScores, TheFileIsReadOverTheDefaultsAsItIs) {
    ScoreFolder t;
    LoadHighScores();
    EXPECT_EQ(Scores(), "100 90 80 70 60 50 40 30 20 10 ") << "no file: the defaults";
    EXPECT_EQ(t.Files(), 0) << "and none is made";
    for (int i = 0; i < HighScoreEntries; i++) G.HighScoreTable[i].score = 1000 + i;
    std::fill_n(G.HighScoreTable[0].name, 12, 'Z');
    G.HighScoreTable[9].reserved = -1;
    const std::string whole = TableBytes();
    t.Write("Mhighscore.dat", whole.substr(0, 120));
    SetDefaultHighScores();
    LoadHighScores();
    EXPECT_EQ(Scores(), "1000 1001 1002 1003 1004 1005 40 30 20 10 ") << "120 bytes: entries 0..5";
    EXPECT_EQ(std::string(G.HighScoreTable[0].name, 12), "ZZZZZZZZZZZZ")
        << "a name without an end mark stays so";
    t.Write("Mhighscore.dat", whole);
    SetDefaultHighScores();
    LoadHighScores();
    EXPECT_EQ(TableBytes(), whole) << "200 bytes: every one";
}

TEST(HighScores, InsertionPlacesBelowEqualScoresAndEverySaveWritesTheFile) {
    const struct {
        int32_t score;
        const char* scores;
        int at;  // where "ABCDEFGHIJ" goes, or -1
    } cases[] = {
        {55, "100 90 80 70 60 55 50 40 30 20 ", 5},
        {100, "100 100 90 80 70 60 50 40 30 20 ", 1},
        {101, "101 100 90 80 70 60 50 40 30 20 ", 0},
        {10, "100 90 80 70 60 50 40 30 20 10 ", -1},
    };
    for (const auto& c : cases) {
        ScoreFolder t;
        for (HighScoreEntry& e : G.HighScoreTable) memcpy(e.name + 10, "KL", 2);  // a foreign file
        const char name[20] = "ABCDEFGHIJKLMNO";  // only 10 characters are kept, ended by zeros
        InsertHighScore(c.score, name);
        SaveHighScores();
        EXPECT_EQ(Scores(), c.scores) << c.score;
        EXPECT_EQ(TableBytes().find(std::string("ABCDEFGHIJ\0\0", 12)),
                  c.at < 0 ? std::string::npos : 20u * c.at)
            << c.score;
        EXPECT_EQ(t.File(), TableBytes()) << c.score;
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
    SaveFileWrite = HalfThenDiskFull;
    SaveHighScores();
    SaveFileWrite = write;
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(t.File(), old) << "disk full after half the table";
    EXPECT_NE(said.find("No space left"), std::string::npos) << said;
    EXPECT_EQ(TableBytes(), table) << "the table keeps the new entry";
    EXPECT_EQ(t.Files(), 1) << "no temporary file left";

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
    EXPECT_EQ(WEXITSTATUS(status), 42) << "status " << status;
    EXPECT_EQ(t.File(), old) << "file-size limit";
}

// A score file linked by the player stays a link to a file that keeps its mode; what saves killed
// mid-write left goes with the next save, a running game's temporary file stays.
TEST(HighScores, ASaveKeepsTheLinkAndTheModeAndClearsWhatKilledSavesLeft) {
    ScoreFolder t;
    const fs::path real = t.path / "kept" / "scores";
    fs::create_directory(t.path / "kept");
    std::ofstream(real) << "old";
    fs::permissions(real, fs::perms(0640));
    fs::create_symlink("kept/scores", t.path / "Mhighscore.dat");
    pid_t gone = fork();
    if (gone == 0) _exit(0);
    waitpid(gone, nullptr, 0);
    const fs::path stale = real.string() + "." + std::to_string(gone) + ".tmp";
    const fs::path running = real.string() + "." + std::to_string(getppid()) + ".tmp";
    std::ofstream(stale) << "torn";
    std::ofstream(running) << "being written";
    SaveHighScores();
    EXPECT_TRUE(fs::is_symlink(t.path / "Mhighscore.dat"));
    EXPECT_EQ(t.File(), TableBytes());
    EXPECT_EQ(fs::status(real).permissions(), fs::perms(0640));
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(running));
    // Another user's link (root can lay one) is neither read nor written through: a save puts a
    // file of ours in its place.
    if (geteuid() != 0) GTEST_SKIP() << "only root can give a link to another user";
    ASSERT_EQ(lchown((t.path / "Mhighscore.dat").c_str(), 12345, 12345), 0);
    const std::string kept = ReadFile(real);
    G.HighScoreTable[0].score = 7;
    LoadHighScores();
    EXPECT_EQ(G.HighScoreTable[0].score, 7) << "the table behind the link was read";
    SaveHighScores();
    EXPECT_FALSE(fs::is_symlink(t.path / "Mhighscore.dat"));
    EXPECT_EQ(ReadFile(real), kept) << "written through the link";
}
