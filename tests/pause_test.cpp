// Pause, through the SDL window's own events: a run paused in the middle ends exactly as the same
// run never paused, nothing moves while it waits, and its recording replays the same.
#include <mikmod.h>

#include <cstring>

#include "app/input_events.h"
#include "app/pause.h"
#include "app/shell.h"
#include "core/globals.h"
#include "platform/headless.h"
#include "platform/host.h"
#include "tests/sdl_inject.h"
#include "tests/test_support.h"

namespace {

constexpr int UsbP = 19, UsbRight = 79;  // keys by their USB usage ids
constexpr uint32_t PauseAfter = 40;      // the window loses the focus after this frame

// The test's folder; a death test's child runs the test binary afresh, and finds it by name.
const fs::path Folder = [] {
    if (!getenv("MURKO_PAUSE_FOLDER"))
        setenv("MURKO_PAUSE_FOLDER", ("murko-pause-" + std::to_string(getpid())).c_str(), 1);
    return fs::temp_directory_path() / getenv("MURKO_PAUSE_FOLDER");
}();

uint32_t SongTime() { return Player_GetModule() ? Player_GetModule()->sngtime : 0; }

// While paused: a while of passes runs no frame, draws no number, leaves the picture and the
// tune where they were; then a key (dropped), the speaker corner (a mute) and P (going on).
void WaitAndGoOn() {
    const uint32_t frames = G.FrameCount, random = G.RandomState, song = SongTime();
    static uint16_t picture[BackBufferPixels];
    memcpy(picture, G.BackBuffer, sizeof picture);
    for (int i = 0; i < 20; i++) {
        GameStep();
        GameRest();
    }
    CHECK(GamePaused() && G.FrameCount == frames && G.RandomState == random);
    CHECK(SongTime() == song && song > 0);
    CHECK(memcmp(picture, G.BackBuffer, sizeof picture) == 0);
    SdlInjectKey(UsbRight, true, false);
    SdlInjectClick(230, 310, false);
    SdlInjectKey(UsbP, true, false);
    SdlInjectKey(UsbP, false, false);
}

// One windowed run of the script on SDL's invisible display; paused, it loses the focus after
// frame PauseAfter and goes on after a while.
void Play(const std::string& name, bool pause) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("XDG_RUNTIME_DIR", Folder.c_str(), 1);
    std::string script = (Folder / "run.txt").string(), out = (Folder / name).string();
    std::string wave = "wav:file=" + out + ".wav", dump = out + ".json", shot = out + ".png";
    std::string record = out + ".rec";
    const char* argv[] = {"murko",      "--windowed",   "--scale",    "1",        "--audio",
                          wave.c_str(), "--seed",       "3",          "--data",   Folder.c_str(),
                          "--input",    script.c_str(), "--frames",   "90",       "--dump-state",
                          dump.c_str(), "--screenshot", shot.c_str(), "--record", record.c_str(),
                          "--no-resume"};
    CHECK(GameStart(int(std::size(argv)), const_cast<char**>(argv), SdlBackend()) < 0);
    for (bool asked = false, waited = false; GameStep(); GameRest()) {
        if (pause && !asked && G.FrameCount == PauseAfter) SdlInjectFocusLoss();
        asked = asked || G.FrameCount == PauseAfter;
        if (!GamePaused() || waited) continue;
        WaitAndGoOn();
        waited = true;
    }
    CHECK(GameStop() == 0);
}

std::string Dump(const std::string& name) { return WithoutTick(ReadFile(Folder / name)); }

}  // namespace

TEST(Pause, APausedRunEndsAsTheRunWithoutItAndReplaysTheSame) {
    fs::create_directories(Folder);  // the data folder too, so no suspended run stays behind
    fs::permissions(Folder, fs::perms::owner_all);  // and a private runtime folder for the lock
    std::error_code made;                           // a death test's child finds them made
    for (const char* sub : {"Graph", "Sound"})
        fs::create_directory_symlink(MURKO_BINARY_DIR "/" + std::string(sub), Folder / sub, made);
    // Level 1, walking right; the paused run's mute comes from the speaker corner while paused.
    std::ofstream(Folder / "run.txt")
        << "2 tap 100 200\n5 tap 100 40\n20 down right\n30 up right\n";
    std::ofstream(Folder / "muted.txt") << "2 tap 100 200\n5 tap 100 40\n20 down right\n"
                                           "30 up right\n40 mute\n";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT((Play("paused", true), _exit(0)), testing::ExitedWithCode(0), "");
    fs::rename(Folder / "muted.txt", Folder / "run.txt");
    EXPECT_EXIT((Play("straight", false), _exit(0)), testing::ExitedWithCode(0), "");
    const std::string replay = "'" MURKO_EXECUTABLE
                               "' --headless --frames 90 --audio nosound --data '" +
                               Folder.string() + "' --play '" + (Folder / "paused.rec").string() +
                               "' --dump-state '" + (Folder / "replayed.json").string() + "'";
    ASSERT_EQ(std::system(replay.c_str()), 0);
    EXPECT_NE(Dump("paused.json").find("\"SoundOn\": 0"), std::string::npos);
    EXPECT_EQ(Dump("paused.json"), Dump("straight.json"));
    EXPECT_EQ(Dump("paused.json"), Dump("replayed.json"));
    EXPECT_EQ(ReadFile(Folder / "paused.png"), ReadFile(Folder / "straight.png"));
    fs::remove_all(Folder);
}

// Pausing lets go of held directions; the paused picture is the game's, each channel halved, and
// the game's own picture stays.
TEST(Pause, TheOverlayDimsEachChannelAndLeavesTheGamePicture) {
    HostUse(HeadlessBackend());
    ASSERT_TRUE(HostOpen(HostConfig{DisplayRgb565, 1, false, true}));
    const HostDisplayProperties panel = HostGetDisplayProperties();
    G.DisplayBpp = panel.bpp, G.DisplayXPitch = panel.xPitch, G.DisplayYPitch = panel.yPitch;
    std::fill_n(G.BackBuffer, BackBufferPixels, 0xFFFF);
    LoadKeyList();
    AllowPause(true);
    G.RightDown = 1;
    HeadlessPushEvent(HostEvent{HostEventFocusLost, 0, 0, 0});
    HostEvent event;
    EXPECT_FALSE(TakeInputEvent(&event)) << "the pause takes the focus loss";
    uint16_t shown = 0;
    memcpy(&shown, HostBeginDraw(), sizeof shown);  // the top-left pixel
    ResumeGame();
    AllowPause(false);
    EXPECT_EQ(shown, 0x7BEF);
    EXPECT_EQ(G.BackBuffer[0], 0xFFFF);
    EXPECT_EQ(G.RightDown, 0) << "a direction held as the game pauses is let go";
}
