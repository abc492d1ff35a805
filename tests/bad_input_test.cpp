// Bad files and folders: each case is a whole headless run over every screen that must finish its
// frames with exit 0, end on the main menu and, where something was wrong, say which file.
#include <sys/stat.h>

#include "tests/test_support.h"

namespace {

// Menu, the three help pages, the table, PLAY GAME, level 1, a walk, the exit icon: back on the
// menu after 60 frames.
const char* const Tour =
    "2 tap 100 270\n4 tap 100 300\n6 tap 100 300\n8 tap 100 300\n10 tap 100 240\n12 tap 100 300\n"
    "14 tap 100 200\n16 tap 100 40\n18 down left\n30 up left\n31 down up\n45 up up\n50 tap 230 5\n";

// A data folder whose files are links to the built ones, so that one can be spoilt cheaply.
struct DataFolder : TestFolder {
    explicit DataFolder(const std::string& name) : TestFolder(name) {
        ownData = true;
        for (const char* sub : {"Graph", "Sound"}) {
            fs::create_directories(path / sub);
            for (const auto& entry :
                 fs::directory_iterator(MURKO_BINARY_DIR "/" + std::string(sub)))
                fs::create_symlink(entry.path(), path / sub / entry.path().filename());
        }
        Write("tour.txt", Tour);
    }
    // The tour's exit code; what it said on stderr; whether it ended on the menu after 60 frames.
    int TakeTour(std::string* errors, bool* onMenu, const std::string& extra = "") const {
        const int code = Run(
            "--seed 3 --frames 60 --input '@tour.txt' --dump-state '@dump.json' " + extra, errors);
        *onMenu = Field((*this)["dump.json"], "ScreenState") == 2 &&
                  Field((*this)["dump.json"], "FrameCount") == 60;
        return code;
    }
};

enum Spoil { Missing, Empty, Short, Garbage, Folder, Fifo };  // the ways a file goes bad
const char* const SpoilNames[] = {"missing", "empty", "short", "garbage", "folder", "fifo"};

void SpoilFile(const fs::path& path, Spoil how) {
    std::string bytes = ReadFile(path);
    fs::remove(path);
    bytes.resize(how == Short ? bytes.size() / 2 : how == Garbage ? 10 << 20 : 0);
    uint32_t x = 12345;
    for (char& c : bytes) c = how == Garbage ? char((x = x * 1103515245 + 12345) >> 16) : c;
    if (how == Folder) fs::create_directory(path);
    if (how == Fifo) mkfifo(path.c_str(), 0600);  // would hold a plain open until someone writes
    if (how == Empty || how == Short || how == Garbage) std::ofstream(path) << bytes;
}

class BadDataFile : public ::testing::TestWithParam<Spoil> {};

TEST_P(BadDataFile, GameTakesTheWholeTourAndNamesTheFile) {
    const Spoil how = GetParam();
    int files = 0;
    for (const char* sub : {"Graph", "Sound"})
        for (const auto& entry : fs::directory_iterator(MURKO_BINARY_DIR "/" + std::string(sub))) {
            const std::string name = entry.path().filename().string();
            if (name[0] == '.') continue;  // the tools' stamps
            SCOPED_TRACE(name + " " + SpoilNames[how]);
            DataFolder data("bad-" + std::string(SpoilNames[how]));
            SpoilFile(data.path / sub / name, how);
            std::string errors;
            bool onMenu = false;
            EXPECT_EQ(data.TakeTour(&errors, &onMenu), 0);
            EXPECT_TRUE(onMenu);
            // Any bytes make a picture, so garbage pictures go unnamed.
            EXPECT_TRUE((how == Garbage && sub[0] == 'G') || errors.find(name) != errors.npos)
                << errors;
            EXPECT_EQ(errors.find("runtime error"), std::string::npos) << errors;
            files++;
        }
    EXPECT_EQ(files, 30);  // 26 pictures, the font, two tunes and the bark
}

INSTANTIATE_TEST_SUITE_P(Spoilt, BadDataFile,
                         ::testing::Values(Missing, Empty, Short, Garbage, Folder, Fifo),
                         [](const auto& info) { return std::string(SpoilNames[info.param]); });

// A FIFO where the scores, the settings or a script are read: the start goes on at once, calling
// it no regular file.
TEST(BadScoreFile, NoFifoHoldsTheStart) {
    DataFolder data("fifo");
    mkfifo((data.path / "Mhighscore.dat").c_str(), 0600);
    mkfifo((data.path / "fifo").c_str(), 0600);
    for (const auto& [option, exitCode] :
         {std::pair{"", 0}, {"--config @fifo", 0}, {"--input @fifo", 2}}) {
        std::string errors;
        bool onMenu = false;
        EXPECT_EQ(data.TakeTour(&errors, &onMenu, option), exitCode) << option;
        EXPECT_NE(errors.find("not a regular file"), std::string::npos) << option;
    }
}

}  // namespace
