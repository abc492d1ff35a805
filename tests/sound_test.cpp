// Sound against the real libmikmod: start-up, music switch, mute, bark, bad files, failing drivers,
// our tunes. The library is process-wide and starts once, so every case runs in a child process of
// its own.
#include <gtest/gtest.h>
#include <mikmod.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/options.h"
#include "app/sound_startup.h"
#include "core/globals.h"
#include "core/sound.h"
#include "platform/host.h"

namespace fs = std::filesystem;

static const std::string BuiltSound = MURKO_BINARY_DIR "/Sound/";  // what murko-sound wrote

// In a child: report the failed condition and leave with 1.
#define CHECK(cond)                                                             \
    do {                                                                        \
        if (cond) break;                                                        \
        std::fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #cond); \
        _exit(1);                                                               \
    } while (0)

// Runs the body in a fresh child process, which must end with 0.
#define IN_CHILD(...)                                                        \
    do {                                                                     \
        GTEST_FLAG_SET(death_test_style, "threadsafe");                      \
        EXPECT_EXIT(([&] { __VA_ARGS__; }(), std::fflush(stderr), _exit(0)), \
                    testing::ExitedWithCode(0), "");                         \
    } while (0)

// Start-up as the main loop does it, on the headless host: InitSound, then SoundOn is set.
static void StartSound(const std::string& driver, const std::string& folder, bool mute) {
    Options = LaunchOptions{};
    Options.headless = true;
    Options.audioDriver = driver;
    Options.mute = mute;
    HostUse(HeadlessBackend());
    HostOpen(Options.host);
    G.SoundFolder = folder;
    G.SoundOn = 0;
    InitSound([] {});
    G.SoundOn = mute ? 0 : 1;
}

// After the mixer ran: that module is playing, at that volume.
static bool Playing(MODULE* music, int volume) {
    UpdateSound();
    return music && Player_GetModule() == music && music->volume == volume && Player_Active();
}

static fs::path TempFolder(const char* name) {
    fs::path folder = fs::temp_directory_path() /
                      (std::string("murko-sound-") + name + "-" + std::to_string(getpid()));
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
        CHECK(Playing(G.MenuMusic, 128));
        SwitchMusic(G.GameMusic);  // PLAY GAME
        CHECK(Playing(G.GameMusic, 128));
        ToggleMute();
        CHECK(Playing(G.GameMusic, 0));
        SwitchMusic(G.MenuMusic);  // the game ends while muted
        CHECK(Playing(G.MenuMusic, 0));
        ToggleMute();
        CHECK(Playing(G.MenuMusic, 128));
    });
    IN_CHILD({
        StartSound("nosound", BuiltSound, true);  // --mute
        CHECK(Playing(G.MenuMusic, 0));
    });
}

// The voices sounding once the mixer ran, and how many of them are centred.
static std::pair<int, int> VoicesSounding() {
    MikMod_Update();
    int sounding = 0, centred = 0;
    for (int voice = 0; voice < 8; voice++)
        if (!Voice_Stopped(voice) && Voice_RealVolume(voice) > 0) {
            sounding++;
            if (Voice_GetPanning(voice) == PAN_CENTER) centred++;
        }
    return {sounding, centred};
}

TEST(Sound, BarkSoundsCentredAndOnlyWhileSoundIsOn) {
    IN_CHILD({
        fs::path folder = TempFolder("bark");  // the bark without the music
        fs::copy_file(BuiltSound + "bark.wav", folder / "bark.wav");
        StartSound("nosound", folder.string() + "/", false);
        for (int on : {0, 1}) {  // heard only while SoundOn is 1, from the centre
            G.SoundOn = int8_t(on);
            Bark();
            CHECK(G.BarkSample);
            CHECK(VoicesSounding() == std::make_pair(on, on));
        }
        fs::remove_all(folder);
    });
}

// A WAV cut short loads in the library and then crashes it at the first bark, so it stays unloaded.
TEST(Sound, MissingOrBrokenFilesLeaveEmptyHandlesAndNothingBreaks) {
    // What is wrong, and the bytes kept of each of the three files: 0 none, > 0 the head, < 0 all
    // but the tail.
    const std::pair<std::string, int> cases[] = {
        {"missing", 0},
        {"garbage", 0},
        {"cut in the patterns", 3000},
        {"last bytes lost", -2},
    };
    for (const auto& c : cases) {
        const std::string damage =
            c.first;  // named copies: clang 14 lets no lambda capture a structured binding
        const int keep = c.second;
        SCOPED_TRACE(damage);
        IN_CHILD({
            fs::path folder = TempFolder("broken");
            for (const char* name : {"music.mod", "music1.mod", "bark.wav"}) {
                std::string real = ReadBytes(BuiltSound + name);
                if (damage == "garbage")
                    WriteBytes(folder / name,
                               "RIFF" + std::string(1076, 'Z') + "M.K." + std::string(900, '\1'));
                if (keep)
                    WriteBytes(folder / name, real.substr(0, keep > 0 ? keep : real.size() + keep));
            }
            StartSound("nosound", folder.string() + "/", false);
            CHECK(SoundStarted());
            CHECK(!G.BarkSample);
            CHECK(keep < 0 || !G.MenuMusic);  // a lost tail still plays
            CHECK(keep < 0 || !G.GameMusic);
            CHECK(keep < 0 || !Player_GetModule());
            for (int i = 0; i < 4; i++) {  // play on
                SwitchMusic(i % 2 ? G.MenuMusic : G.GameMusic);
                Bark();
                ToggleMute();
                for (int j = 0; j < 20; j++) MikMod_Update();
            }
            ShutdownSound();
            fs::remove_all(folder);
        });
    }
}

// The silent driver mixes a 186 ms block a call: however often the loop calls, it is fed one block
// for each 185 ms of frames.
TEST(Sound, TheSilentDriverIsFedNoFasterThanItPlays) {
    IN_CHILD({
        StartSound("nosound", BuiltSound, false);
        for (int i = 0; i < 10; i++) UpdateSound();
        const ULONG oneBlock = G.MenuMusic->sngtime;  // in 1/1024 s
        G.FrameStartTick += 185;
        UpdateSound();
        CHECK(oneBlock > 150 && oneBlock < 250);
        CHECK(G.MenuMusic->sngtime > 1.9 * oneBlock && G.MenuMusic->sngtime < 2.1 * oneBlock);
    });
}

// A driver that cannot start (a sound server not there, ALSA without a device, which aborts inside
// the library) leaves the game on the silent driver within about a second, the menu music
// "playing".
TEST(Sound, DriverThatCannotStartFallsBackToSilence) {
    const char* cases[][3] = {
        // the driver, and the setting that makes it fail
        {"pulseaudio", "PULSE_SERVER", "unix:/nonexistent/murko-test-socket"},
        {"alsa", "ALSA_CONFIG_PATH", MURKO_BINARY_DIR "/no-such-alsa.conf"},
    };
    for (auto c : cases) {
        SCOPED_TRACE(c[0]);
        IN_CHILD({
            setenv(c[1], c[2], 1);
            StartSound(c[0], BuiltSound, false);
            CHECK(HostTicks() >= 1000);  // the virtual clock starts at 0
            CHECK(HostTicks() < 1200);
            CHECK(SoundStarted());
            CHECK(md_device == MikMod_DriverFromAlias("nosound"));
            CHECK(Playing(G.MenuMusic, 128));
        });
    }
}

// Each tune rendered through the wav driver past its end: it must wrap to its start after at
// least 30 s instead of stopping, and be heard every second.
TEST(Sound, TunesLoopAfterAtLeastThirtySecondsAndAreNeverSilent) {
    for (bool game : {false, true}) {
        SCOPED_TRACE(game ? "game" : "menu");
        IN_CHILD({
            fs::path wave = TempFolder("render") / "render.wav";
            StartSound("wav:file=" + wave.string(), BuiltSound, false);
            MODULE* music = game ? G.GameMusic : G.MenuMusic;
            SwitchMusic(music);
            const double secondsPerUpdate = 8192.0 / md_mixfreq;
            double wrappedAt = 0, furthest = 0;
            for (int updates = 0; updates * secondsPerUpdate < (wrappedAt ? wrappedAt + 10 : 150);
                 updates++) {
                UpdateSound();
                furthest = std::max<double>(furthest, music->sngpos);
                if (!wrappedAt && music->sngpos < furthest) wrappedAt = updates * secondsPerUpdate;
                CHECK(Player_Active());
            }
            CHECK(wrappedAt >= 30);
            CHECK(furthest == music->numpos - 1);
            ShutdownSound();
            std::string bytes = ReadBytes(wave);
            const size_t data = bytes.find("data") + 8;
            const size_t second = size_t(md_mixfreq) * 4;  // 16-bit stereo
            CHECK(data > 8);
            CHECK(bytes.size() > data + size_t(wrappedAt + 5) * second);
            for (size_t at = data; at + second <= bytes.size(); at += second) {
                double sum = 0;
                for (size_t i = at; i < at + second; i += 2) {
                    const int16_t sample = int16_t(uint8_t(bytes[i]) | uint8_t(bytes[i + 1]) << 8);
                    sum += double(sample) * sample;
                }
                CHECK(std::sqrt(sum / double(second / 2)) / 32768.0 > 0.02);
            }
            fs::remove_all(wave.parent_path());
        });
    }
}

TEST(Sound, AnIndependentPlayerLoadsTheTunes) {
    if (system("command -v xmp >/dev/null 2>&1") != 0) GTEST_SKIP() << "xmp is not installed";
    for (const char* name :
         {"music.mod", "music1.mod"})  // xmp also ends with 0 when it does not know the file
        EXPECT_EQ(
            system(("xmp --load-only '" + BuiltSound + name + "' 2>&1 | grep -q 'Protracker M.K.'")
                       .c_str()),
            0)
            << name;
}

// The asset tool refuses a broken score with a message that names the file and line, and takes a
// good one.
TEST(SoundTool, RejectsBrokenScores) {
    const std::string head = "order 0\npattern 0\n";
    const std::string row = "C-2 01 ... | --- .. ... | --- .. ... | --- .. ...\n";
    std::string rows;
    for (int i = 0; i < 64; i++) rows += row;
    const std::pair<std::string, const char*> cases[] = {
        // a score, and what the tool says ("" when it takes it)
        {head + "C-4 01 ... | --- .. ... | --- .. ... | --- .. ...\n" + rows,
         "menu.score:3: bad note"},
        {head + "C-2 01 ... | --- .. ... | --- .. ...\n", "menu.score:3: a row needs four cells"},
        {head + rows, ""},
    };
    fs::path folder = TempFolder("tool");
    WriteBytes(folder / "game.score", head + rows);
    const std::string command = MURKO_BINARY_DIR "/murko-sound '" + folder.string() + "' '" +
                                (folder / "out").string() + "' 2>&1";
    for (const auto& [score, message] : cases) {
        WriteBytes(folder / "menu.score", score);
        FILE* out = popen(command.c_str(), "r");
        std::string text;
        char line[512];
        while (fgets(line, sizeof line, out)) text += line;
        EXPECT_EQ(pclose(out) == 0, !*message) << text;
        EXPECT_NE(text.find(message), std::string::npos) << text;
    }
    fs::remove_all(folder);
}
