// Reads the command line into Options.
#include "app/options.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/config.h"
#include "app/script.h"
#include "platform/panel.h"

#ifndef MURKO_VERSION
#define MURKO_VERSION "0.0"
#endif

LaunchOptions Options;

static const char Usage[] =
    "usage: murko [options]\n"
    "  --data DIR           folder that holds Graph/ and Sound/\n"
    "  --scale N            window scale (default: largest that fits)\n"
    "  --fullscreen         start in fullscreen (Alt+Enter or F11 toggles)\n"
    "  --windowed           never fullscreen\n"
    "  --display MODE       emulated panel: rgb565, rgb565-512, rotated, flipped, gray2, gray4\n"
    "  --renderer NAME      how the window is drawn: software (default), opengl, opengles2\n"
    "  --audio DRIVER       libmikmod driver: sdl, pulseaudio, alsa, nosound, wav, ...\n"
    "  --mute, --no-mute    start with sound off, or on\n"
    "  --gamepad, --no-gamepad  let gamepads press the buttons, or not\n"
    "  --key-up KEYS, --key-down KEYS, --key-left KEYS, --key-right KEYS, --key-a KEYS\n"
    "                       keyboard keys of a button: up to four SDL key names,\n"
    "                       comma-separated ('Space,Left Ctrl')\n"
    "  --config FILE        settings file instead of the usual one (a headless run reads\n"
    "                       none without it); the command line wins over the file\n"
    "  --no-resume          start at the menu; a suspended run stays put away\n"
    "  --resume FILE        suspend file to resume from and put a run away in (headless runs\n"
    "                       use one only when named)\n"
    "  --seed N             random seed instead of the clock\n"
    "  --input FILE         play an input script\n"
    "  --record FILE        record seed and input of this run\n"
    "  --play FILE          replay a recording (a script or recording holds 32 MiB at most)\n"
    "  --headless           no window; a virtual clock runs frames back to back\n"
    "  --frames N           stop after N frames\n"
    "  --dump-state FILE    write the game state as JSON after the last frame\n"
    "  --screenshot FILE    write the last frame as PNG\n"
    "  --help, --version\n"
    "Settings: $XDG_CONFIG_HOME/murko/murko.conf (else ~/.config/murko/murko.conf), lines\n"
    "  'scale = 3', 'fullscreen = yes', 'display = gray4', 'renderer = opengl', 'mute = no',\n"
    "  'gamepad = yes', 'key-a = Space, Left Ctrl' (key-up, key-down, key-left, key-right,\n"
    "  key-a).\n"
    "While playing: P or Esc pauses, F11 or Alt+Enter fullscreen, F12 saves a screenshot.\n";

static_assert(ScriptBytesMax == 32L << 20, "the usage names the size limit of a script");

static bool ParseNumber(const char* text, long long low, long long high, long long* out) {
    char* end = nullptr;
    errno = 0;
    long long v = strtoll(text, &end, 10);
    if (errno || end == text || *end || v < low || v > high) return false;
    *out = v;
    return true;
}

// Options followed by a value.
static bool ValueTaken(const char* option) {
    static const char* const Taking[] = {"--data",   "--scale",   "--display",    "--audio",
                                         "--seed",   "--input",   "--record",     "--resume",
                                         "--play",   "--frames",  "--dump-state", "--screenshot",
                                         "--config", "--renderer"};
    for (const char* name : Taking)
        if (!strcmp(option, name)) return true;
    return !strncmp(option, "--key-", 6);
}

static int Fail(const char* what, const char* arg) {
    fprintf(stderr, "murko: %s: %s\n%s", what, arg, Usage);
    return 2;
}

// A recording brings its own seed and input: --play goes with neither --seed nor --input.
static int CheckInputOptions() {
    if (Options.playFile.empty()) return -1;
    if (Options.haveSeed)
        return Fail("--seed cannot be combined with --play", Options.playFile.c_str());
    if (!Options.inputFile.empty())
        return Fail("--play cannot be combined with --input", Options.inputFile.c_str());
    return -1;
}

// The settings file comes first, so that the command line wins: the one --config names, else the
// player's own, which a headless run (tests, replays) leaves alone.
static void ReadSettingsFile(int argc, char** argv) {
    const char* named = nullptr;
    bool headless = false;
    for (int i = 1; i < argc; i++) {
        if (!strcmp(argv[i], "--headless")) headless = true;
        if (!strcmp(argv[i], "--config") && i + 1 < argc)
            named = argv[++i];
        else if (i + 1 < argc && ValueTaken(argv[i]))
            i++;
    }
    if (named)
        LoadConfigFile(named, true, &Options);
    else if (!headless)
        LoadConfigFile(DefaultConfigPath(), false, &Options);
}

int ParseOptions(int argc, char** argv) {
    Options = LaunchOptions{};
    ReadSettingsFile(argc, argv);
    for (int i = 1; i < argc; i++) {
        const char* a = argv[i];
        const char* v = i + 1 < argc ? argv[i + 1] : nullptr;
        auto value = [&](std::string* out) {
            if (!v) return false;
            *out = v;
            i++;
            return true;
        };
        long long n = 0;
        if (!strcmp(a, "--help")) {
            fputs(Usage, stdout);
            return 0;
        }
        if (!strcmp(a, "--version")) {
            printf("murko %s\n", MURKO_VERSION);
            return 0;
        }
        if (!strcmp(a, "--headless")) {
            Options.headless = true;
            continue;
        }
        if (!strcmp(a, "--fullscreen")) {
            Options.host.fullscreen = true;
            continue;
        }
        if (!strcmp(a, "--windowed")) {
            Options.host.windowed = true;
            continue;
        }
        if (!strcmp(a, "--mute")) {
            Options.mute = true;
            continue;
        }
        if (!strcmp(a, "--no-mute")) {
            Options.mute = false;
            continue;
        }
        if (!strcmp(a, "--gamepad")) {
            Options.host.gamepad = true;
            continue;
        }
        if (!strcmp(a, "--no-resume")) {
            Options.noResume = true;
            continue;
        }
        if (!strcmp(a, "--no-gamepad")) {
            Options.host.gamepad = false;
            continue;
        }
        if (!v && !strncmp(a, "--", 2)) return Fail("missing value for", a);
        if (!strcmp(a, "--seed")) {
            if (!ParseNumber(v, 0, 4294967295LL, &n)) return Fail("bad seed", v);
            Options.haveSeed = true;
            Options.seed = uint32_t(n);
            i++;
        } else if (!strcmp(a, "--frames")) {
            if (!ParseNumber(v, 0, 2147483647LL, &n)) return Fail("bad frame count", v);
            Options.frames = n;
            i++;
        } else if (!strcmp(a, "--scale")) {
            if (!ParseNumber(v, 1, 16, &n)) return Fail("bad scale", v);
            Options.host.scale = int(n);
            i++;
        } else if (!strcmp(a, "--display")) {
            if (!PanelParseMode(v, &Options.host.display)) return Fail("unknown display", v);
            i++;
        } else if (!strcmp(a, "--renderer")) {
            if (!HostParseRenderer(v, &Options.host.renderer)) return Fail("unknown renderer", v);
            i++;
        } else if (!strncmp(a, "--key-", 6)) {
            const char* why = nullptr;
            if (!ApplySetting(a + 2, v, &Options, &why))
                return Fail((std::string(a) + ": " + why).c_str(), v);
            i++;
        } else if (!strcmp(a, "--config")) {
            i++;  // read before the rest
        } else if (!strcmp(a, "--input"))
            value(&Options.inputFile);
        else if (!strcmp(a, "--record"))
            value(&Options.recordFile);
        else if (!strcmp(a, "--resume"))
            value(&Options.resumeFile);
        else if (!strcmp(a, "--play"))
            value(&Options.playFile);
        else if (!strcmp(a, "--dump-state"))
            value(&Options.dumpFile);
        else if (!strcmp(a, "--screenshot"))
            value(&Options.screenshotFile);
        else if (!strcmp(a, "--data"))
            value(&Options.dataDir);
        else if (!strcmp(a, "--audio"))
            value(&Options.audioDriver);
        else
            return Fail("unknown option", a);
    }
    return CheckInputOptions();
}
