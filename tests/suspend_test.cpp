// Suspend and resume: a run put away at any moment and taken up again ends exactly as the run
// played straight through; a run that ends leaves no file; a bad file is never taken up.

#include "app/suspend.h"
#include "core/globals.h"
#include "tests/test_support.h"

namespace {

struct Straight {
    const char* moment;
    int seed;
    const char* before;  // events up to the suspend frame
    int suspendAt;       // the window closes after this frame
    const char* after;   // events after it
    int frames;          // the run's length
    const char* shows;   // what the suspended state shows, in the dump
};

// Level 1 walked and left by the exit icon; level 9 with the map shown; a fight on level 1
// (seed 2, the dog standing still: the first spider reaches him at frame 5000).
const Straight Runs[] = {
    {"level 1, walking", 9, "2 tap 100 200\n5 tap 100 40\n20 down right\n40 up right\n", 45,
     "50 down down\n70 up down\n100 tap 230 5\n", 130, "\"Level\": 0,"},
    {"level 9, the map shown", 3, "2 tap 100 200\n5 tap 100 300\n30 down a\n31 up a\n", 40,
     "60 down left\n80 up left\n", 120, "\"MapView\": 1,"},
    {"in a fight", 2, "2 tap 100 200\n5 tap 100 40\n", 4999, "5040 down a\n5041 up a\n", 5060,
     "\"FightPhase\": 3,"},
};

}  // namespace

TEST(Suspend, ARunTakenUpAgainEndsAsTheRunPlayedStraightThrough) {
    for (const Straight& r : Runs) {
        SCOPED_TRACE(r.moment);
        TestFolder t("suspend");
        const std::string seed = " --seed " + std::to_string(r.seed);
        const std::string frames = " --frames " + std::to_string(r.frames);
        t.Write("all.txt", std::string(r.before) + r.after);
        t.Write("before.txt", std::string(r.before) + std::to_string(r.suspendAt) + " quit\n");
        t.Write("after.txt", r.after);
        ASSERT_EQ(
            t.Run("--input @all.txt --dump-state @a.json --screenshot @a.png" + seed + frames), 0);
        ASSERT_EQ(t.Run("--input @before.txt --resume @s.dat --dump-state @s.json" + seed), 0);
        EXPECT_NE(t["s.json"].find(r.shows), std::string::npos);
        ASSERT_EQ(t.Run("--input @after.txt --resume @s.dat --record @b.rec --dump-state @b.json "
                        "--screenshot @b.png --seed 1" +
                        frames),
                  0);
        EXPECT_EQ(WithoutTick(t["a.json"]), WithoutTick(t["b.json"]));
        EXPECT_EQ(t["a.png"], t["b.png"]);
        // The recording holds the run it resumed, so it replays the same.
        ASSERT_EQ(t.Run("--play @b.rec --dump-state @c.json" + frames), 0);
        EXPECT_EQ(WithoutTick(t["b.json"]), WithoutTick(t["c.json"]));
        // A run still going is put away again; one left by the exit icon leaves no file.
        bool going = t["b.json"].find("\"ScreenState\": 0,") != std::string::npos;
        EXPECT_EQ(fs::exists(t.path / "s.dat"), going);
    }
}

// One valid run, then the ways a file can be wrong; each is turned down with a reason, and the
// game starts at the menu with one line on stderr, leaving the file as it was.
TEST(Suspend, ABadFileIsNeverTakenUp) {
    TestFolder t("suspend-bad");
    t.Write("go.txt", "2 tap 100 200\n5 tap 100 40\n25 down right\n30 quit\n");
    ASSERT_EQ(t.Run("--input @go.txt --resume @s.dat --seed 9"), 0);
    const std::string good = t["s.dat"];
    const char* why = nullptr;
    auto check = [&](const std::string& bytes) {
        return CheckRunBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &why);
    };
    ASSERT_TRUE(check(good)) << why;
    const GameGlobals before = G;
    TakeUpRun();
    EXPECT_EQ(G.RightDown, 0) << "a key held when the run was put away is let go";
    const GameGlobals run = G;
    const int heroCell = run.HeroX / CellSize * MazeStride + run.HeroY / CellSize;
    int spider = 0;
    while (!run.SpiderTable[spider].active) spider++;
    const SpiderRecord& s = run.SpiderTable[spider];
    const int spiderCell = (s.x + CellSize - 1) / CellSize * MazeStride + s.y / CellSize;
    // Each case spoils the run G holds, or the file's bytes.
    const struct {
        const char* name;
        void (*spoil)(GameGlobals& g, int cell);
        int cell;
        std::string bytes;
    } cases[] = {
        {"short", nullptr, 0, good.substr(0, 30)},
        {"another version", nullptr, 0, good.substr(0, 8) + '\x02' + good.substr(9)},
        {"damaged", nullptr, 0, good.substr(0, 100) + char(good[100] ^ 1) + good.substr(101)},
        {"hero on a wall", [](GameGlobals& g, int c) { g.MazeGrid[c] = CellWall; }, heroCell, ""},
        {"spider on a wall", [](GameGlobals& g, int c) { g.MazeGrid[c] = CellWall; }, spiderCell,
         ""},
        {"spider walking into a wall",  // a step to the right begun, a wall made there
         [](GameGlobals& g, int) {
             SpiderRecord& r = *std::find_if(g.SpiderTable, g.SpiderTable + SpiderSlots,
                                             [](const SpiderRecord& s) { return s.active; });
             r = {int16_t(r.x / CellSize * CellSize),
                  int16_t(r.y / CellSize * CellSize),
                  SpiderRight,
                  1,
                  10,
                  r.strength};
             g.MazeGrid[(r.x / CellSize + 1) * MazeStride + r.y / CellSize] = CellWall;
         },
         0, ""},
        {"screen out of range", [](GameGlobals& g, int) { g.ScreenState = 9; }, 0, ""},
        {"size outside the grid", [](GameGlobals& g, int) { g.MazeWidth = 101; }, 0, ""},
    };
    for (const auto& c : cases) {
        std::string bytes = c.bytes;
        if (c.spoil) {
            G = run;
            c.spoil(G, c.cell);
            std::vector<uint8_t> file(SuspendFileMax);
            bytes.assign(reinterpret_cast<char*>(file.data()), PackRun(file.data()));
        }
        EXPECT_FALSE(check(bytes)) << c.name;
        EXPECT_NE(why, nullptr) << c.name;
    }
    G = before;
    t.Write("s.dat", cases[2].bytes);
    std::string errors;
    ASSERT_EQ(t.Run("--resume @s.dat --frames 3 --dump-state @m.json", &errors), 0);
    EXPECT_NE(t["m.json"].find("\"ScreenState\": 2,"), std::string::npos);
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    EXPECT_EQ(t["s.dat"], cases[2].bytes);
}
