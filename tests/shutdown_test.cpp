// A closed window lets go of the instance lock, and so does a game killed during its audio trial:
// the next start is a game of its own and plays its frames.
#include <fcntl.h>
#include <sys/stat.h>

#include "tests/test_support.h"

namespace {

// A windowed run closed after frame 5; the frames it ran.
long RunUntilClosed(const TestFolder& t) {
    t.Write("run.txt", "5 quit\n");
    fs::remove(t.path / "d.json");
    EXPECT_EQ(t.Run("--windowed --input @run.txt --dump-state @d.json"), 0) << t["err"];
    return Field(t["d.json"], "FrameCount");
}

}  // namespace

TEST(Shutdown, AClosedOrKilledGameLeavesNoLockBehind) {
    TestFolder t("close", true);
    EXPECT_EQ(RunUntilClosed(t), 6);
    EXPECT_EQ(RunUntilClosed(t), 6) << "the first window's lock is gone";
    // Killed while a child tries a driver that waits for ever on its settings.
    const std::string fifo = (t.path / "alsa.conf").string();
    mkfifo(fifo.c_str(), 0600);
    std::system(("ALSA_CONFIG_PATH=" + fifo +
                 " SDL_VIDEODRIVER=dummy XDG_RUNTIME_DIR=" + t.path.string() +
                 " '" MURKO_EXECUTABLE "' --windowed --audio alsa 2>/dev/null & p=$!; "
                 "for i in $(seq 400); do grep -q . /proc/$p/task/$p/children && break; "
                 "sleep 0.05; done; kill -9 $p; wait $p")
                    .c_str());
    EXPECT_EQ(RunUntilClosed(t), 6) << "the killed game's trial child holds no lock";
    const int writer = open(fifo.c_str(), O_WRONLY | O_NONBLOCK);  // frees a child still waiting
    if (writer >= 0) close(writer);
}
