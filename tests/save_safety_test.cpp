// The score file under a sudden end: a game killed at any moment while saving leaves either the
// old table or the new one, never a torn file.
#include <signal.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "core/globals.h"
#include "screens/score_file.h"
#include "tests/test_support.h"

namespace {

// Table number n: every score n, so a file tells which table it holds and whether it is whole.
std::string TableBytes(int32_t n) {
    std::string bytes(sizeof G.HighScoreTable, '\0');
    for (int i = 0; i < HighScoreEntries; i++) {
        memcpy(&bytes[i * 20], "Murko-Dog", 9);
        memcpy(&bytes[i * 20 + 12], &n, 4);
    }
    return bytes;
}

}  // namespace

TEST(SaveSafety, KilledMidSaveLeavesTheOldOrTheNewTableNeverATornOne) {
    const TestFolder t("kill");
    G.ProgramFolder = t.path.string() + "/deeper/";
    for (int i = 0; i < HighScoreEntries; i++)
        memcpy(&G.HighScoreTable[i], TableBytes(1).data() + i * 20, 20);
    SaveHighScores();
    int32_t saved = 1;  // tables 1..saved may be on disk by now
    constexpr int Rounds = 60;
    for (int round = 0; round < Rounds; round++) {
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int32_t n = saved + 1;; n++) {
                for (int i = 0; i < HighScoreEntries; i++)
                    memcpy(&G.HighScoreTable[i], TableBytes(n).data() + i * 20, 20);
                SaveHighScores();
            }
        }
        // From a fraction of a save to many saves; the last round surely lets some finish.
        int waitUs = round == Rounds - 1 ? 500000 : 200 + 4987 * round % 50000;
        std::this_thread::sleep_for(std::chrono::microseconds(waitUs));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        const std::string file = t["deeper/Mhighscore.dat"];
        ASSERT_EQ(file.size(), 200u) << "round " << round;
        int32_t n = 0;
        memcpy(&n, file.data() + 12, 4);
        EXPECT_EQ(file, TableBytes(n)) << "round " << round;
        EXPECT_GE(n, saved) << "round " << round;
        saved = n;
    }
    EXPECT_GT(saved, 1);
}
