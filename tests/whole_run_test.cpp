// Whole runs through the headless game: PLAY GAME, level 1, a lost fight, a name typed, the table and its file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

// Seed 2: PLAY GAME after frame 2, LEVEL 1 after frame 5, and the hero, standing where he starts, loses
// his third fight near frame 5000 with more than the table's last 10 points. From frame 6000 on: Shift,
// R, typed e and x, OK, the table's OK, EXIT.
const char* const Script =
    "2 tap 100 200\n5 tap 100 40\n"
    "6000 tap 20 228\n6008 tap 88 120\n6016 type 101\n6024 type 120\n6032 tap 100 300\n"
    "6036 tap 100 300\n6040 tap 100 310\n";

// A data folder of its own (pictures and music linked in), so the player's score file is never touched.
struct DataFolder {
    fs::path path = fs::temp_directory_path() / ("murko-whole-" + std::to_string(getpid()));
    DataFolder() {
        fs::remove_all(path), fs::create_directories(path);
        fs::create_directory_symlink(MURKO_BINARY_DIR "/Graph", path / "Graph");
        fs::create_directory_symlink(MURKO_BINARY_DIR "/Sound", path / "Sound");
        std::ofstream(path / "run.txt") << Script;
    }
    ~DataFolder() { fs::remove_all(path); }
    std::string Read(const std::string& name) const {
        std::stringstream all;
        all << std::ifstream(path / name, std::ios::binary).rdbuf();
        return all.str();
    }
    std::string Run(const std::string& args) const {  // the state dump after the run
        const std::string command = "'" MURKO_EXECUTABLE "' --headless --audio nosound --seed 2 --data '" + path.string() +
                                    "' --dump-state '" + (path / "d.json").string() + "' " + args + " >/dev/null 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return Read("d.json");
    }
};

bool Has(const std::string& dump, const std::string& text) { return dump.find(text) != std::string::npos; }

// A number field of the dump.
long Field(const std::string& dump, const std::string& name) {
    const size_t at = dump.find("\"" + name + "\": ");
    return at == std::string::npos ? -1 : std::stol(dump.substr(at + name.size() + 4));
}

// The table's first rows: the run's name and score, then the old first place.
std::string RexFirst(long score) {
    return "\"HighScoreTable\": [\n    {\"name\": \"Rex\", \"score\": " + std::to_string(score) +
           "},\n    {\"name\": \"Murko-Dog\", \"score\": 100},";
}

}  // namespace

TEST(WholeRun, ANameTypedAfterALostFightStaysInTheTableAndItsFile) {
    DataFolder data;
    const std::string run = data.Run("--input '" + (data.path / "run.txt").string() + "' --frames 7000");
    EXPECT_TRUE(Has(run, "\"QuitRequested\": 1,")) << "EXIT";
    EXPECT_EQ(Field(run, "FrameCount"), 6042);
    const long score = Field(run, "Score");
    ASSERT_GT(score, 10) << "the hero died with a score for the table; the order of random draws decides it";
    EXPECT_TRUE(Has(run, RexFirst(score))) << run.substr(run.find("\"HighScoreTable\""), 200);
    const std::string file = data.Read("Mhighscore.dat");
    ASSERT_EQ(file.size(), 200u);
    EXPECT_EQ(file.substr(0, 12), std::string("Rex\0\0\0\0\0\0\0\0\0", 12));
    EXPECT_EQ(file.substr(12, 4), std::string({char(score), char(score >> 8), 0, 0})) << "little-endian";
    EXPECT_EQ(file.substr(20, 10), std::string("Murko-Dog\0", 10)) << "the old first place one down";
    EXPECT_TRUE(Has(data.Run("--frames 1"), RexFirst(score))) << "a second start reads it back";
}

TEST(WholeRun, AScoreThatEarnsNoPlaceGoesStraightToTheTable) {
    DataFolder data;
    std::string table;
    for (int i = 0; i < 10; i++) table += std::string("Best\0\0\0\0\0\0\0\0\xe8\x03\0\0\0\0\0\0", 20);  // 1000 each
    std::ofstream(data.path / "Mhighscore.dat", std::ios::binary) << table;
    const std::string run = data.Run("--input '" + (data.path / "run.txt").string() + "' --frames 6000");
    EXPECT_EQ(Field(run, "ScreenState"), 1) << "the table at once";
    EXPECT_EQ(Field(run, "Energy"), 0) << "after a lost fight";
    EXPECT_EQ(data.Read("Mhighscore.dat"), table) << "nothing written";
}
