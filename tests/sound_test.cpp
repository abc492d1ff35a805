// Sound against the real libmikmod: the music switch, mute, the bark, bad files, failing drivers,
// our tunes. The library is process-wide and starts once, so every case runs in a child process of
// its own.
#include <mikmod.h>

#include "app/options.h"
#include "app/sound_startup.h"
#include "core/globals.h"
#include "core/sound.h"
#include "platform/host.h"
#include "tests/test_support.h"

static const std::string BuiltSound = MURKO_BINARY_DIR "/Sound/";  // what murko-sound wrote

// Start-up as the shell does it, on the headless host: InitSound, then SoundOn is set.
static void StartSound(const std::string& driver, const std::string& folder, bool mute) {
    Options = LaunchOptions{};
    Options.headless = true;
    Options.audioDriver = driver;
    HostUse(HeadlessBackend());
    HostOpen(Options.host);
    G.SoundFolder = folder;
    InitSound([] {});
    G.SoundOn = !mute;
}

// After the mixer ran: that module is playing, at that volume.
static bool Playing(MODULE* music, int volume) {
    UpdateSound();
    return music && Player_GetModule() == music && music->volume == volume && Player_Active();
}

// The voices sounding once the mixer ran, and how many of them are centred.
static std::pair<int, int> VoicesSounding() {
    MikMod_Update();
    std::pair<int, int> voices;
    for (int voice = 0; voice < 8; voice++)
        if (!Voice_Stopped(voice) && Voice_RealVolume(voice) > 0) {
            voices.first++;
            voices.second += Voice_GetPanning(voice) == PAN_CENTER;
        }
    return voices;
}

TEST(Sound, MusicFollowsSwitchesAndMutesAndTheBarkSoundsCentredWhileSoundIsOn) {
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
        TestFolder t("bark");  // the bark without the music
        fs::copy_file(BuiltSound + "bark.wav", t.path / "bark.wav");
        StartSound("nosound", t.path.string() + "/", false);
        for (int on : {0, 1}) {
            G.SoundOn = int8_t(on);
            Bark();
            CHECK(VoicesSounding() == std::make_pair(on, on));
        }
    });
}

// Each file missing, garbage, cut short (a WAV cut short loads in the library and then crashes it
// at the first bark, so it stays unloaded) or missing its last bytes (still played); the game plays
// on.
TEST(Sound, MissingOrBrokenFilesLeaveEmptyHandlesAndNothingBreaks) {
    for (const int keep : {0, 1, 3000, -2}) {  // 1: garbage; > 1 the head kept; < 0 the tail lost
        SCOPED_TRACE(keep);
        IN_CHILD({
            TestFolder t("broken-sound");
            for (const char* name : {"music.mod", "music1.mod", "bark.wav"}) {
                const std::string real = ReadFile(BuiltSound + name);
                if (keep == 1)
                    t.Write(name,
                            "RIFF" + std::string(1076, 'Z') + "M.K." + std::string(900, '\1'));
                if (keep != 0 && keep != 1)
                    t.Write(name, real.substr(0, keep > 0 ? keep : real.size() + keep));
            }
            StartSound("nosound", t.path.string() + "/", false);
            CHECK(SoundStarted() && !G.BarkSample);
            CHECK(keep < 0 || (!G.MenuMusic && !G.GameMusic && !Player_GetModule()));
            for (int i = 0; i < 4; i++) {
                SwitchMusic(i % 2 ? G.MenuMusic : G.GameMusic);
                Bark();
                ToggleMute();
                for (int j = 0; j < 20; j++) MikMod_Update();
            }
            ShutdownSound();
        });
    }
}

// A driver that cannot start (a sound server not there, ALSA without a device, which aborts inside
// the library) leaves the game on the silent driver within about a second, the menu music
// "playing", with one line of ours.
TEST(Sound, DriverThatCannotStartFallsBackToSilence) {
    const char* cases[][3] = {
        {"pulseaudio", "PULSE_SERVER", "unix:/nonexistent/murko-test-socket"},
        {"alsa", "ALSA_CONFIG_PATH", MURKO_BINARY_DIR "/no-such-alsa.conf"},
    };
    for (auto c : cases) {
        SCOPED_TRACE(c[0]);
        IN_CHILD({
            setenv(c[1], c[2], 1);
            testing::internal::CaptureStderr();
            StartSound(c[0], BuiltSound, false);
            CHECK(testing::internal::GetCapturedStderr() ==
                  "murko: no audio output (it failed a trial start), playing silent\n");
            CHECK(HostTicks() >= 1000 && HostTicks() < 1200);  // the virtual clock starts at 0
            CHECK(md_device == MikMod_DriverFromAlias("nosound"));
            CHECK(Playing(G.MenuMusic, 128));
        });
    }
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
    TestFolder t("sound-tool");
    t.Write("game.score", head + rows);
    const std::string command = MURKO_BINARY_DIR "/murko-sound '" + t.path.string() + "' '" +
                                (t.path / "out").string() + "'";
    for (const auto& [score, message] : cases) {
        t.Write("menu.score", score);
        std::string said;
        EXPECT_EQ(Shell(command, &said) == 0, !*message) << said;
        EXPECT_NE(said.find(message), std::string::npos) << said;
    }
}
