// Bad files and folders: each case is a whole headless run over every screen that must finish its
// frames with exit 0, end on the main menu and, where something was wrong, say which file.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path Built = MURKO_BINARY_DIR;  // the build folder, holding Graph/ and Sound/

// Menu, the three help pages, the table, PLAY GAME, level 1, a walk, the exit icon: back on the
// menu.
const char* const Tour =
    "2 tap 100 270\n4 tap 100 300\n6 tap 100 300\n8 tap 100 300\n10 tap 100 240\n12 tap 100 300\n"
    "14 tap 100 200\n16 tap 100 40\n18 down left\n30 up left\n31 down up\n45 up up\n50 tap 230 5\n";
constexpr int TourFrames = 60;

std::string Read(const fs::path& path) {
    std::stringstream all;
    all << std::ifstream(path, std::ios::binary).rdbuf();
    return all.str();
}

void Write(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// A data folder whose files are links to the built ones, so that one can be spoilt cheaply.
struct DataFolder {
    fs::path root;
    explicit DataFolder(const std::string& name) : root(fs::temp_directory_path() / name) {
        fs::remove_all(root);
        for (const char* sub : {"Graph", "Sound"}) {
            fs::create_directories(root / sub);
            for (const auto& entry : fs::directory_iterator(Built / sub))
                fs::create_symlink(entry.path(), root / sub / entry.path().filename());
        }
    }
    ~DataFolder() { fs::remove_all(root); }
    // Runs the tour; returns the exit code, with stderr and the final dump.
    int Tour(std::string* errors, std::string* dump, const std::string& extra = "") const {
        Write(root / "tour.txt", ::Tour);
        std::string command =
            "timeout 60 '" MURKO_EXECUTABLE "' --headless --seed 3 --audio nosound --frames " +
            std::to_string(TourFrames) + " --input '" + (root / "tour.txt").string() +
            "' --data '" + root.string() + "' --dump-state '" + (root / "dump.json").string() +
            "' " + extra + " >/dev/null 2>'" + (root / "err").string() + "'";
        int status = std::system(command.c_str());
        *errors = Read(root / "err");
        *dump = Read(root / "dump.json");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

// The ways a file goes bad.
enum Spoil { Missing, Empty, Short, Garbage, Folder, Fifo };
const char* const SpoilNames[] = {"missing", "empty", "short", "garbage", "folder", "fifo"};

void SpoilFile(const fs::path& path, Spoil how, size_t garbageBytes) {
    std::string whole = Read(path);
    fs::remove(path);
    std::string bytes;
    if (how == Missing) return;
    if (how == Folder) {
        fs::create_directory(path);
        return;
    }
    if (how == Fifo) {
        mkfifo(path.c_str(), 0600);  // would hold a plain open until someone writes
        return;
    }
    if (how == Short) bytes = whole.substr(0, whole.size() / 2);
    if (how == Garbage) {
        bytes.resize(garbageBytes);
        uint32_t x = 12345;
        for (char& c : bytes) c = char((x = x * 1103515245 + 12345) >> 16);
    }
    Write(path, bytes);
}

// Every file the game reads, in each way of going bad.
struct FileCase {
    std::string folder;  // "Graph" or "Sound"
    std::string name;    // the file
};

std::vector<FileCase> DataFiles() {
    std::vector<FileCase> files;
    for (const char* sub : {"Graph", "Sound"})
        for (const auto& entry : fs::directory_iterator(Built / sub))
            if (entry.path().filename().string()[0] != '.')
                files.push_back({sub, entry.path().filename().string()});
    return files;
}

class BadDataFile : public ::testing::TestWithParam<Spoil> {};

TEST_P(BadDataFile, GameTakesTheWholeTourAndNamesTheFile) {
    const Spoil how = GetParam();
    const std::vector<FileCase> files = DataFiles();
    ASSERT_EQ(files.size(), 30u);  // 26 pictures, the font, two tunes and the bark
    for (const FileCase& f : files) {
        SCOPED_TRACE(f.name + " " + SpoilNames[how]);
        DataFolder data("murko-bad-" + std::to_string(getpid()) + "-" + SpoilNames[how]);
        SpoilFile(data.root / f.folder / f.name, how, 10 << 20);
        std::string errors, dump;
        EXPECT_EQ(data.Tour(&errors, &dump), 0);
        EXPECT_NE(dump.find("\"ScreenState\": 2,"), std::string::npos);
        EXPECT_NE(dump.find("\"FrameCount\": 60,"), std::string::npos);
        bool garbageIsWhole = how == Garbage && f.folder == "Graph";  // any bytes make a picture
        if (!garbageIsWhole) {
            EXPECT_NE(errors.find(f.name), std::string::npos) << errors;
        }
        EXPECT_EQ(errors.find("runtime error"), std::string::npos) << errors;
    }
}

INSTANTIATE_TEST_SUITE_P(Spoilt, BadDataFile,
                         ::testing::Values(Missing, Empty, Short, Garbage, Folder, Fifo),
                         [](const auto& info) { return std::string(SpoilNames[info.param]); });

// The score file as someone else left it: read over the defaults as far as it goes, shown safely.
TEST(BadScoreFile, AnyContentIsShownAndTheTourGoesOn) {
    std::string noTerminators;
    for (int i = 0; i < 10; i++)
        noTerminators += std::string(12, 'N') + std::string("\x05\0\0\0\0\0\0\0", 8);
    const std::pair<const char*, std::string> cases[] = {
        {"short", std::string(50, 'A')},
        {"long", std::string(300, '\x7F')},
        {"garbage", std::string("\xFF\x00\x80\x01\xFE", 5) + std::string(195, '\x9C')},
        {"names without terminators", noTerminators},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        DataFolder data("murko-bad-scores-" + std::to_string(getpid()));
        Write(data.root / "Mhighscore.dat", bytes);
        std::string errors, dump;
        EXPECT_EQ(data.Tour(&errors, &dump), 0);
        EXPECT_NE(dump.find("\"ScreenState\": 2,"), std::string::npos);
        EXPECT_EQ(Read(data.root / "Mhighscore.dat"),
                  bytes);  // no name was entered: left as it was
    }
}

// A FIFO where the scores, the settings or a script are read: the start goes on at once, calling
// it no regular file.
TEST(BadScoreFile, NoFifoHoldsTheStart) {
    DataFolder data("murko-fifo-" + std::to_string(getpid()));
    mkfifo((data.root / "Mhighscore.dat").c_str(), 0600);
    mkfifo((data.root / "fifo").c_str(), 0600);
    const std::string fifo = " '" + (data.root / "fifo").string() + "'";
    const std::pair<std::string, int> cases[] = {
        {"", 0}, {"--config" + fifo, 0}, {"--input" + fifo, 2}};
    for (const auto& [option, exitCode] : cases) {
        std::string errors, dump;
        EXPECT_EQ(data.Tour(&errors, &dump, option), exitCode) << option;
        EXPECT_NE(errors.find("not a regular file"), std::string::npos) << option;
    }
}

// Folders with awkward names: nothing to complain about.
TEST(BadDataFolder, SpacesNonAsciiAndLongPathsWork) {
    const std::string pid = std::to_string(getpid());
    const std::string names[] = {
        "murko data " + pid, "murko-dätä-ßpiel-" + pid,
        "murko-" + pid + "/" + std::string(240, 'l') + "/" + std::string(240, 'm')};
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        DataFolder data(name);
        EXPECT_GE(data.root.string().size(), name.size());
        std::string errors, dump;
        EXPECT_EQ(data.Tour(&errors, &dump), 0);
        EXPECT_NE(dump.find("\"ScreenState\": 2,"), std::string::npos);
        EXPECT_EQ(errors, "");
    }
    fs::remove_all(fs::temp_directory_path() / ("murko-" + pid));
}

// No audio device: one line of ours, none of the audio libraries'.
TEST(NoAudioDevice, OneLineOfOurs) {
    for (const char* driver : {"alsa", "pulseaudio"}) {
        SCOPED_TRACE(driver);
        DataFolder data("murko-no-audio-" + std::to_string(getpid()));
        std::string errors, dump;
        setenv("ALSA_CONFIG_PATH", "/nonexistent/murko.conf", 1);
        setenv("PULSE_SERVER", "unix:/nonexistent/murko-socket", 1);
        EXPECT_EQ(data.Tour(&errors, &dump, std::string("--audio ") + driver), 0);
        unsetenv("ALSA_CONFIG_PATH");
        unsetenv("PULSE_SERVER");
        EXPECT_EQ(errors, "murko: no audio output (it failed a trial start), playing silent\n");
    }
}

}  // namespace
