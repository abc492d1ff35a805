// Closing the window at any moment: mid-walk, mid-fight, during the name entry. The run ends at
// the next frame start with exit 0, nothing leaked (the sanitizer build checks), and a windowed
// game lets go of its instance lock so the next start runs.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

struct Closing {
    const char* moment;
    int quitFrame;    // the window is closed in the pump after this frame
    int screenState;  // what the game showed then
    int fightPhase;
};

// Seed 2, PLAY GAME and level 1, then the hero stands where he starts: a fight runs at frame 5000
// and the run is lost before frame 5250.
const Closing Moments[] = {
    {"standing in the maze", 40, 0, 0},
    {"in a fight", 4999, 0, 3},
    {"typing a name", 5500, 3, 0},
};

std::string Read(const fs::path& path) {
    std::stringstream all;
    all << std::ifstream(path).rdbuf();
    return all.str();
}

long Field(const std::string& dump, const std::string& name) {
    const size_t at = dump.find("\"" + name + "\": ");
    return at == std::string::npos ? -1 : std::stol(dump.substr(at + name.size() + 4));
}

// Runs the game until the window closes; returns the exit code, with stderr and the dump.
int RunUntilClosed(const fs::path& folder, const std::string& mode, int quitFrame,
                   std::string* errors, std::string* dump) {
    std::ofstream(folder / "run.txt") << "2 tap 100 200\n5 tap 100 40\n" << quitFrame << " quit\n";
    const std::string command =
        "SDL_VIDEODRIVER=dummy XDG_RUNTIME_DIR='" + folder.string() + "' '" MURKO_EXECUTABLE "' " +
        mode + " --audio nosound --seed 2 --data '" MURKO_BINARY_DIR "' --input '" +
        (folder / "run.txt").string() + "' --dump-state '" + (folder / "d.json").string() +
        "' 2>'" + (folder / "err").string() + "' >/dev/null";
    fs::remove(folder / "d.json");
    int status = std::system(command.c_str());
    *errors = Read(folder / "err");
    *dump = Read(folder / "d.json");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

TEST(Shutdown, ClosingTheWindowAtAnyMomentEndsTheRunCleanly) {
    const fs::path folder = fs::temp_directory_path() / ("murko-close-" + std::to_string(getpid()));
    fs::create_directories(folder);
    for (const Closing& c : Moments) {
        SCOPED_TRACE(c.moment);
        std::string errors, dump;
        EXPECT_EQ(RunUntilClosed(folder, "--headless", c.quitFrame, &errors, &dump), 0) << errors;
        EXPECT_EQ(Field(dump, "FrameCount"), c.quitFrame + 1);
        EXPECT_EQ(Field(dump, "QuitRequested"), 1);
        EXPECT_EQ(Field(dump, "ScreenState"), c.screenState);
        EXPECT_EQ(Field(dump, "FightPhase"), c.fightPhase);
        EXPECT_EQ(errors, "");
    }
    fs::remove_all(folder);
}

// Twice in a row in a window: the first run's lock is gone, so the second is a game of its own
// (not a request to raise the first window) and plays its frames.
TEST(Shutdown, AClosedWindowReleasesTheInstanceLock) {
    const fs::path folder =
        fs::temp_directory_path() / ("murko-close-window-" + std::to_string(getpid()));
    fs::create_directories(folder);
    fs::permissions(folder, fs::perms::owner_all);  // the instance lock's private folder
    for (int start = 1; start <= 2; start++) {
        SCOPED_TRACE(start);
        std::string errors, dump;
        EXPECT_EQ(RunUntilClosed(folder, "--windowed", 20, &errors, &dump), 0) << errors;
        EXPECT_EQ(Field(dump, "FrameCount"), 21);
    }
    fs::remove_all(folder);
}

// A game killed while a child of its tries an audio driver (here one that waits for ever on its
// settings): the child goes with it and holds no lock, so the next start is a game of its own.
TEST(Shutdown, AGameKilledDuringItsAudioTrialLeavesNoLockBehind) {
    const fs::path folder = fs::temp_directory_path() / ("murko-trial-" + std::to_string(getpid()));
    fs::create_directories(folder);
    fs::permissions(folder, fs::perms::owner_all);
    const std::string fifo = (folder / "alsa.conf").string();
    mkfifo(fifo.c_str(), 0600);
    const std::string killed =
        "ALSA_CONFIG_PATH=" + fifo + " SDL_VIDEODRIVER=dummy XDG_RUNTIME_DIR=" + folder.string() +
        " '" MURKO_EXECUTABLE
        "' --windowed --audio alsa 2>/dev/null & p=$!; "
        "for i in $(seq 400); do grep -q . /proc/$p/task/$p/children && break; "
        "sleep 0.05; done; kill -9 $p; wait $p";
    std::system(killed.c_str());
    std::string errors, dump;
    EXPECT_EQ(RunUntilClosed(folder, "--windowed", 5, &errors, &dump), 0) << errors;
    EXPECT_EQ(Field(dump, "FrameCount"), 6) << errors;
    int writer = open(fifo.c_str(), O_WRONLY | O_NONBLOCK);  // frees a child still waiting on it
    if (writer >= 0) close(writer);
    fs::remove_all(folder);
}
