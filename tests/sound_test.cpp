// Sound against the real libmikmod: start-up, music switch, mute, bark, bad files, a dead driver, our tunes.
// The library is process-wide and starts once, so every case runs in a child process of its own.
#include <gtest/gtest.h>
#include <mikmod.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "app/globals.h"
#include "app/main_loop.h"
#include "app/options.h"
#include "app/sound.h"
#include "platform/headless.h"
#include "platform/host.h"

namespace fs = std::filesystem;

static const std::string BuiltSound = MURKO_BINARY_DIR "/Sound/";  // what murko-sound wrote

// In a child: report the failed condition and leave with 1.
#define CHECK(cond)                                                             \
    do {                                                                        \
        if (!(cond)) {                                                          \
            std::fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #cond); \
            std::fflush(stderr);                                                \
            _exit(1);                                                           \
        }                                                                       \
    } while (0)

// Runs the body in a fresh child process, which must end with 0.
#define IN_CHILD(...)                                                                       \
    do {                                                                                    \
        GTEST_FLAG_SET(death_test_style, "threadsafe");                                    \
        auto scenario = [&] { __VA_ARGS__; };                                               \
        EXPECT_EXIT((scenario(), std::fflush(stderr), _exit(0)), testing::ExitedWithCode(0), ""); \
    } while (0)

static uint32_t RealTicks() {
    using namespace std::chrono;
    return uint32_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}
static void RealIdle(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms < 2 ? ms : 2)); }

// The headless host, or the headless host on the machine's own clock.
static void OpenHost(bool realClock) {
    static HostBackend real = *HeadlessBackend();
    real.ticks = RealTicks;
    real.idle = RealIdle;
    HostUse(realClock ? &real : HeadlessBackend());
    HostOpen(HostConfig{DisplayRgb565, 0, false, false});
}

// Start-up as the main loop does it: InitSound, then LoadResources sets SoundOn.
static void StartSound(const std::string& driver, const std::string& folder, bool mute, bool realClock = false) {
    Options = LaunchOptions{};
    Options.headless = true;
    Options.audioDriver = driver;
    Options.mute = mute;
    OpenHost(realClock);
    G.SoundFolder = folder;
    G.SoundOn = 0;
    InitSound();
    G.SoundOn = mute ? 0 : 1;
}

static int PlayingVolume() { return Player_GetModule() ? Player_GetModule()->volume : -1; }

static fs::path TempFolder(const char* name) {
    fs::path folder = fs::temp_directory_path() / (std::string("murko-sound-") + name + "-" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

static void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

static std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(Sound, MusicVolumeFollowsSoundOnThroughSwitchesAndMutes) {
    IN_CHILD({
        StartSound("nosound", BuiltSound, false);
        CHECK(SoundStarted() && G.MenuMusic && G.GameMusic && G.BarkSample);
        CHECK(G.MenuMusic->wrap && G.GameMusic->wrap);
        CHECK(Player_GetModule() == G.MenuMusic && PlayingVolume() == 128);
        struct Step {
            void (*action)();  // what the player does
            MODULE** playing;  // the module that must then be playing
            int soundOn;       // SoundOn afterwards
            int volume;        // the playing module's volume afterwards
        };
        const Step steps[] = {
            {[] { SwitchMusic(G.GameMusic); }, &G.GameMusic, 1, 128},  // PLAY GAME
            {ToggleMute, &G.GameMusic, 0, 0},                         // muted during the game
            {[] { SwitchMusic(G.MenuMusic); }, &G.MenuMusic, 0, 0},   // the game ends while muted
            {ToggleMute, &G.MenuMusic, 1, 128},                       // unmuted on the menu
            {ToggleMute, &G.MenuMusic, 0, 0},
            {[] { SwitchMusic(G.GameMusic); }, &G.GameMusic, 0, 0},
            {ToggleMute, &G.GameMusic, 1, 128},
            {[] { SwitchMusic(G.MenuMusic); }, &G.MenuMusic, 1, 128},  // the exit icon
        };
        for (const Step& step : steps) {
            step.action();
            for (int i = 0; i < 3; i++) UpdateSound();
            CHECK(Player_GetModule() == *step.playing);
            CHECK(G.SoundOn == step.soundOn);
            CHECK(PlayingVolume() == step.volume);
            CHECK(Player_Active());
        }
        ShutdownSound();
        CHECK(!G.MenuMusic && !G.GameMusic && !G.BarkSample && !SoundStarted());
        SwitchMusic(G.GameMusic);  // after shut-down every sound call does nothing
        Bark();
        UpdateSound();
    });
}

TEST(Sound, MutedStartKeepsTheMenuMusicSilentUntilUnmuted) {
    IN_CHILD({
        StartSound("nosound", BuiltSound, true);
        CHECK(Player_GetModule() == G.MenuMusic && PlayingVolume() == 0);
        ToggleMute();
        CHECK(G.SoundOn == 1 && PlayingVolume() == 128);
    });
}

// With no music in the folder the only voice that can sound is the bark's (music voices
// 0..3, effect voices 4..7).
static int VoicesSounding(int* centred) {
    int sounding = 0;
    *centred = 0;
    UpdateSound();  // a voice starts sounding when the mixer next runs
    for (int voice = 0; voice < 8; voice++) {
        if (Voice_Stopped(voice) || Voice_RealVolume(voice) == 0) continue;  // (a voice past the last is "not stopped")
        sounding++;
        if (Voice_GetPanning(voice) == PAN_CENTER) (*centred)++;
    }
    return sounding;
}

TEST(Sound, BarkSoundsCentredAndOnlyWhileSoundIsOn) {
    IN_CHILD({
        fs::path folder = TempFolder("bark");
        fs::copy_file(BuiltSound + "bark.wav", folder / "bark.wav");
        StartSound("nosound", folder.string() + "/", false);
        CHECK(G.BarkSample && !G.MenuMusic && !G.GameMusic);
        CHECK(G.BarkSample->length > 0 && G.BarkSample->length <= G.BarkSample->speed * 4 / 10);  // at most 0.4 s
        CHECK(!(G.BarkSample->flags & SF_STEREO));
        int centred = 0;
        CHECK(VoicesSounding(&centred) == 0);
        G.SoundOn = 0;
        Bark();
        CHECK(VoicesSounding(&centred) == 0);
        G.SoundOn = 1;
        Bark();
        CHECK(VoicesSounding(&centred) == 1 && centred == 1);
        fs::remove_all(folder);
    });
}

// A damaged file must never reach the mixer: a WAV cut short loads in the library and then
// crashes it at the first bark, so such a bark stays unloaded.
TEST(Sound, MissingOrBrokenFilesLeaveEmptyHandlesAndNothingBreaks) {
    enum Damage { Absent, Garbage, KeepHead, DropTail };
    struct Case {
        const char* name;  // what is wrong
        Damage damage;     // what happened to each of the three files
        size_t bytes;      // bytes kept (KeepHead) or dropped (DropTail)
        bool musicEmpty;   // the modules must not load either
    };
    const Case cases[] = {
        {"missing", Absent, 0, true},
        {"garbage", Garbage, 0, true},
        {"header only", KeepHead, 1084, true},  // title, instruments, order and tag: no pattern
        {"cut in the patterns", KeepHead, 3000, true},
        {"last bytes lost", DropTail, 2, false},  // the library plays the module with a short last sample
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        IN_CHILD({
            fs::path folder = TempFolder("broken");
            for (const char* name : {"music.mod", "music1.mod", "bark.wav"}) {
                std::string real = ReadBytes(BuiltSound + name);
                if (c.damage == Garbage) WriteBytes(folder / name, "RIFF" + std::string(1076, '\x5a') + "M.K." + std::string(900, '\x01'));
                if (c.damage == KeepHead) WriteBytes(folder / name, real.substr(0, c.bytes));
                if (c.damage == DropTail) WriteBytes(folder / name, real.substr(0, real.size() - c.bytes));
            }
            StartSound("nosound", folder.string() + "/", false);
            CHECK(SoundStarted() && !G.BarkSample);
            if (c.musicEmpty) CHECK(!G.MenuMusic && !G.GameMusic && !Player_GetModule());
            for (int i = 0; i < 2; i++) {
                SwitchMusic(G.GameMusic);
                Bark();
                ToggleMute();
                for (int j = 0; j < 20; j++) UpdateSound();
                SwitchMusic(G.MenuMusic);
            }
            ShutdownSound();
            fs::remove_all(folder);
        });
    }
}

TEST(Sound, DriverChoice) {
    struct Case {
        const char* asked;   // --audio
        const char* chosen;  // the driver that must be running
    };
    const Case cases[] = {
        {"", "nosound"},        // headless default
        {"bogus", "nosound"},   // an unknown name falls back to the default, with a message
        {"wav:file=" MURKO_BINARY_DIR "/driver-choice.wav", "wav"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.asked);
        IN_CHILD({
            StartSound(c.asked, BuiltSound, false);
            CHECK(SoundStarted() && md_device == MikMod_DriverFromAlias(c.chosen));
            CHECK(Player_GetModule() == G.MenuMusic);
        });
    }
    fs::remove(MURKO_BINARY_DIR "/driver-choice.wav");
}

// A sound server that is not there: the driver fails every try, and after a second of trying
// the game goes on with the silent driver, the music "playing" as before.
TEST(Sound, DeadDriverFallsBackToSilenceWithinASecond) {
    for (bool realClock : {false, true}) {
        SCOPED_TRACE(realClock ? "real clock" : "virtual clock");
        IN_CHILD({
            setenv("PULSE_SERVER", "unix:/nonexistent/murko-test-socket", 1);
            auto begin = std::chrono::steady_clock::now();
            Options = LaunchOptions{};
            OpenHost(realClock);
            uint32_t startTicks = HostTicks();
            StartSound("pulseaudio", BuiltSound, false, realClock);
            uint32_t spent = HostTicks() - startTicks;
            double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
            CHECK(spent >= 1000 && spent < 1200);
            CHECK(!realClock || (seconds >= 0.95 && seconds < 2.0));
            CHECK(SoundStarted() && md_device == MikMod_DriverFromAlias("nosound"));
            CHECK(Player_GetModule() == G.MenuMusic && PlayingVolume() == 128);
        });
    }
}

// ALSA without a usable device aborts inside the library; the game must survive it, on
// sound or silent depending on the machine.
TEST(Sound, AlsaThatCannotStartDoesNotTakeTheGameDown) {
    IN_CHILD({
        setenv("ALSA_CONFIG_PATH", MURKO_BINARY_DIR "/no-such-alsa.conf", 1);  // no device can be found
        StartSound("alsa", BuiltSound, false);
        CHECK(SoundStarted() && md_device == MikMod_DriverFromAlias("nosound"));
        CHECK(Player_GetModule() == G.MenuMusic && PlayingVolume() == 128);
        UpdateSound();
    });
}

// The 16-bit samples of a WAV file's data chunk.
static std::vector<int16_t> WaveSamples(const fs::path& path) {
    std::string bytes = ReadBytes(path);
    size_t data = bytes.find("data");
    std::vector<int16_t> samples;
    for (size_t i = data + 8; data != std::string::npos && i + 1 < bytes.size(); i += 2)
        samples.push_back(int16_t(uint8_t(bytes[i]) | uint8_t(bytes[i + 1]) << 8));
    return samples;
}

static double Rms(const std::vector<int16_t>& samples, size_t from, size_t to) {
    double sum = 0;
    for (size_t i = from; i < to; i++) sum += double(samples[i]) * samples[i];
    return to > from ? std::sqrt(sum / double(to - from)) / 32768.0 : 0;
}

// Each tune rendered through the wav driver past its end: it must run at least 30 s, then
// wrap to its start instead of stopping, and be heard all the way.
TEST(Sound, TunesLoopAfterAtLeastThirtySecondsAndAreNeverSilent) {
    for (const char* name : {"music.mod", "music1.mod"}) {
        SCOPED_TRACE(name);
        IN_CHILD({
            fs::path wave = TempFolder("render") / "render.wav";
            MikMod_RegisterAllDrivers();
            MikMod_RegisterAllLoaders();
            md_device = uint16_t(MikMod_DriverFromAlias("wav"));
            CHECK(MikMod_Init(("file=" + wave.string()).c_str()) == 0);
            MODULE* music = Player_Load((BuiltSound + name).c_str(), 4, 0);
            CHECK(music && music->numchn == 4);
            music->wrap = 1;
            Player_Start(music);
            MikMod_EnableOutput();
            const double secondsPerUpdate = 8192.0 / md_mixfreq;
            int updates = 0, furthest = 0;
            double wrappedAt = 0;
            for (; updates * secondsPerUpdate < 150 && (!wrappedAt || updates * secondsPerUpdate < wrappedAt + 10); updates++) {
                MikMod_Update();
                if (music->sngpos > furthest) furthest = music->sngpos;
                if (!wrappedAt && music->sngpos < furthest) wrappedAt = updates * secondsPerUpdate;
                CHECK(Player_Active());
            }
            CHECK(wrappedAt >= 30 && furthest == music->numpos - 1);
            Player_Stop();
            MikMod_Exit();
            std::vector<int16_t> samples = WaveSamples(wave);
            size_t second = size_t(md_mixfreq) * 2;  // stereo
            CHECK(samples.size() > size_t(wrappedAt + 5) * second);
            for (size_t at = 0; at + second <= samples.size(); at += second) CHECK(Rms(samples, at, at + second) > 0.02);
            int16_t peak = 0;
            for (int16_t s : samples) peak = std::max<int16_t>(peak, int16_t(std::abs(s)));
            CHECK(peak < 32000);  // never clipped
            fs::remove_all(wave.parent_path());
        });
    }
}

TEST(Sound, AnIndependentPlayerLoadsTheTunes) {
    if (system("command -v xmp >/dev/null 2>&1") != 0) GTEST_SKIP() << "xmp is not installed";
    for (const char* name : {"music.mod", "music1.mod"}) {
        std::string command = "xmp --load-only '" + BuiltSound + name + "' 2>&1";
        FILE* out = popen(command.c_str(), "r");
        ASSERT_NE(out, nullptr);
        std::string text;
        char line[256];
        while (fgets(line, sizeof line, out)) text += line;
        EXPECT_EQ(pclose(out), 0) << text;
        int minutes = 0, seconds = 0;
        size_t at = text.find("Duration");
        ASSERT_NE(at, std::string::npos) << text;
        ASSERT_EQ(sscanf(text.c_str() + at, "Duration : %dmin%ds", &minutes, &seconds), 2) << text;
        EXPECT_GE(minutes * 60 + seconds, 30) << name;
        EXPECT_LT(minutes * 60 + seconds, 120) << name;
        EXPECT_NE(text.find("M.K."), std::string::npos) << text;
    }
}

// The asset tool refuses a broken score with a message that names the line.
TEST(SoundTool, RejectsBrokenScores) {
    const std::string good = "order 0\npattern 0\n";
    const std::string row = "C-2 01 ... | --- .. ... | --- .. ... | --- .. ...\n";
    std::string rows;
    for (int i = 0; i < 64; i++) rows += row;
    struct Case {
        const char* what;
        std::string score;
        const char* message;
    };
    const Case cases[] = {
        {"too few rows", good + row, "64 rows"},
        {"note out of range", good + "C-4 01 ... | --- .. ... | --- .. ... | --- .. ...\n" + rows, ":3: bad note"},
        {"three cells", good + "C-2 01 ... | --- .. ... | --- .. ...\n", ":3: a row needs four cells"},
        {"instrument 32", good + "C-2 32 ... | --- .. ... | --- .. ... | --- .. ...\n", ":3: bad instrument"},
        {"missing pattern", "order 0 1\npattern 0\n" + rows, "does not exist"},
        {"restart past the end", "order 0\nrestart 3\npattern 0\n" + rows, "restart"},
    };
    fs::path folder = TempFolder("tool");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteBytes(folder / "menu.score", c.score);
        WriteBytes(folder / "game.score", good + rows);
        std::string command = std::string(MURKO_BINARY_DIR "/murko-sound '") + folder.string() + "' '" +
                              (folder / "out").string() + "' 2>&1";
        FILE* out = popen(command.c_str(), "r");
        ASSERT_NE(out, nullptr);
        std::string text;
        char line[512];
        while (fgets(line, sizeof line, out)) text += line;
        EXPECT_NE(pclose(out), 0);
        EXPECT_NE(text.find(c.message), std::string::npos) << text;
    }
    WriteBytes(folder / "menu.score", good + rows);
    std::string command = std::string(MURKO_BINARY_DIR "/murko-sound '") + folder.string() + "' '" + (folder / "out").string() + "'";
    EXPECT_EQ(system(command.c_str()), 0);
    std::string module = ReadBytes(folder / "out" / "music.mod");
    ASSERT_GT(module.size(), 1084u + 1024u);
    EXPECT_EQ(module.substr(1080, 4), "M.K.");
    EXPECT_EQ(module[950], 1);      // one position
    EXPECT_EQ(module[951], '\x7f');  // played from the top again
    fs::remove_all(folder);
}
