// Reads the player's settings file into the launch options, skipping (and naming) every bad line.
#include "app/config.h"

#include <strings.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "app/launch_options.h"
#include "core/files.h"
#include "platform/panel.h"

constexpr int ConfigLineMax = 512;  // characters a line may hold
constexpr long ConfigBytesMax =
    65536;  // bytes read at most (a settings file is a few lines, /dev/zero is not)

static bool ParseYesNo(const char* value, bool* out) {
    static const char* const Yes[] = {"yes", "true", "on", "1"};
    static const char* const No[] = {"no", "false", "off", "0"};
    for (const char* word : Yes)
        if (!strcasecmp(value, word)) return *out = true, true;
    for (const char* word : No)
        if (!strcasecmp(value, word)) return *out = false, true;
    return false;
}

static bool SetScale(const char* value, LaunchOptions* o) {
    char* end = nullptr;
    long n = strtol(value, &end, 10);
    if (end == value || *end || n < 1 || n > 16) return false;
    o->host.scale = int(n);
    return true;
}

static bool SetFullscreen(const char* value, LaunchOptions* o) {
    return ParseYesNo(value, &o->host.fullscreen);
}
static bool SetDisplay(const char* value, LaunchOptions* o) {
    return PanelParseMode(value, &o->host.display);
}
static bool SetMute(const char* value, LaunchOptions* o) { return ParseYesNo(value, &o->mute); }
static bool SetGamepad(const char* value, LaunchOptions* o) {
    return ParseYesNo(value, &o->host.gamepad);
}

// Up to four key names, comma-separated; all must be known, or the button keeps its keys.
static bool SetKeys(const char* value, int16_t keys[HostKeysPerButton]) {
    int16_t found[HostKeysPerButton] = {};
    int n = 0;
    for (const char* at = value;;) {
        const char* comma = strchr(at, ',');
        size_t length = comma ? size_t(comma - at) : strlen(at);
        while (length && at[length - 1] == ' ') length--;
        char name[32] = "";
        if (n == HostKeysPerButton || length == 0 || length >= sizeof name) return false;
        memcpy(name, at, length);
        if (!(found[n++] = HostKeyByName(name))) return false;
        if (!comma) break;
        for (at = comma + 1; *at == ' ';) at++;
    }
    memcpy(keys, found, sizeof found);
    return true;
}

static bool SetKeyUp(const char* value, LaunchOptions* o) {
    return SetKeys(value, o->host.keys[0]);
}
static bool SetKeyDown(const char* value, LaunchOptions* o) {
    return SetKeys(value, o->host.keys[1]);
}
static bool SetKeyLeft(const char* value, LaunchOptions* o) {
    return SetKeys(value, o->host.keys[2]);
}
static bool SetKeyRight(const char* value, LaunchOptions* o) {
    return SetKeys(value, o->host.keys[3]);
}
static bool SetKeyA(const char* value, LaunchOptions* o) { return SetKeys(value, o->host.keys[4]); }

// Every setting: its name, what reads its value, and what a good value looks like.
struct Setting {
    const char* name;
    bool (*apply)(const char* value, LaunchOptions* options);
    const char* expected;
};
static const Setting Settings[] = {
    {"scale", SetScale, "a whole number 1..16"},
    {"fullscreen", SetFullscreen, "yes or no"},
    {"display", SetDisplay, "rgb565, rgb565-512, rotated, flipped, gray2 or gray4"},
    {"mute", SetMute, "yes or no"},
    {"gamepad", SetGamepad, "yes or no"},
    {"key-up", SetKeyUp, "one to four key names, comma-separated"},
    {"key-down", SetKeyDown, "one to four key names, comma-separated"},
    {"key-left", SetKeyLeft, "one to four key names, comma-separated"},
    {"key-right", SetKeyRight, "one to four key names, comma-separated"},
    {"key-a", SetKeyA, "one to four key names, comma-separated"},
};

bool ApplySetting(const char* name, const char* value, LaunchOptions* options, const char** why) {
    for (const Setting& s : Settings) {
        if (strcmp(s.name, name)) continue;
        *why = s.expected;
        return s.apply(value, options);
    }
    *why = "no such setting";
    return false;
}

std::string DefaultConfigPath() {
    const char* config = getenv("XDG_CONFIG_HOME");
    const char* home = getenv("HOME");
    if (config && config[0] == '/') return std::string(config) + "/murko/murko.conf";
    if (home && home[0]) return std::string(home) + "/.config/murko/murko.conf";
    return "";
}

// The text between from and to without the spaces and tabs at either end.
static std::string Trimmed(const char* from, const char* to) {
    while (from < to && (*from == ' ' || *from == '\t')) from++;
    while (to > from && (to[-1] == ' ' || to[-1] == '\t' || to[-1] == '\r' || to[-1] == '\n')) to--;
    return std::string(from, to);
}

// One line; false after telling what is wrong with it.
static bool ReadLine(char* line, const char* file, int number, LaunchOptions* options) {
    if (char* hash = strchr(line, '#')) *hash = 0;
    char* equals = strchr(line, '=');
    std::string name = Trimmed(line, equals ? equals : line + strlen(line));
    if (!equals && name.empty()) return true;
    const char* why = "expected name = value";
    std::string value = equals ? Trimmed(equals + 1, equals + strlen(equals)) : "";
    if (equals && ApplySetting(name.c_str(), value.c_str(), options, &why)) return true;
    fprintf(stderr, "murko: %s:%d: %s%s%s: line ignored\n", file, number, name.c_str(),
            name.empty() ? "" : ": ", why);
    return false;
}

int ReadConfig(FILE* f, const char* name, LaunchOptions* options) {
    char line[ConfigLineMax];
    int number = 0, skipped = 0;
    long left = ConfigBytesMax;
    while (left > 0 && fgets(line, sizeof line, f)) {
        number++;
        left -= long(strlen(line));
        if (!strchr(line, '\n') && !feof(f)) {
            fprintf(stderr, "murko: %s:%d: longer than %d characters: line ignored\n", name, number,
                    ConfigLineMax - 2);
            for (int c = 0; c != '\n' && c != EOF && left > 0; left--) c = fgetc(f);
            skipped++;
            continue;
        }
        if (!ReadLine(line, name, number, options)) skipped++;
    }
    if (left <= 0)
        fprintf(stderr, "murko: %s: longer than %ld bytes: the rest is ignored\n", name,
                ConfigBytesMax);
    return skipped;
}

int LoadConfigFile(const std::string& path, bool required, LaunchOptions* options) {
    FILE* f = path.empty() ? nullptr : OpenForReading(path.c_str());
    if (!f) {
        if (required || (errno != ENOENT && !path.empty()))
            fprintf(stderr, "murko: cannot read the settings %s: %s\n", path.c_str(),
                    ReadFailure(errno));
        return -1;
    }
    int skipped = ReadConfig(f, path.c_str(), options);
    bool failed = ferror(f);
    if (failed)
        fprintf(stderr, "murko: cannot read the settings %s: %s\n", path.c_str(), strerror(errno));
    fclose(f);
    return failed ? -1 : skipped;
}
