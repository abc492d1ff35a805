// Keyboard key names, as SDL spells them, to their scancodes (the USB usage numbers SDL uses).
#include <strings.h>

#include <cstdio>

#include "platform/host.h"

// Keys with a name of their own. F11 and F12 are left out: they switch fullscreen and save
// screenshots.
struct NamedKey {
    const char* name;
    int16_t code;
};
static const NamedKey NamedKeys[] = {
    {"Return", 40},
    {"Escape", 41},
    {"Backspace", 42},
    {"Tab", 43},
    {"Space", 44},
    {"-", 45},
    {"=", 46},
    {"[", 47},
    {"]", 48},
    {"\\", 49},
    {";", 51},
    {"'", 52},
    {"`", 53},
    {",", 54},
    {".", 55},
    {"/", 56},
    {"CapsLock", 57},
    {"Insert", 73},
    {"Home", 74},
    {"PageUp", 75},
    {"Delete", 76},
    {"End", 77},
    {"PageDown", 78},
    {"Right", 79},
    {"Left", 80},
    {"Down", 81},
    {"Up", 82},
    {"Keypad /", 84},
    {"Keypad *", 85},
    {"Keypad -", 86},
    {"Keypad +", 87},
    {"Keypad Enter", 88},
    {"Keypad .", 99},
    {"Left Ctrl", 224},
    {"Left Shift", 225},
    {"Left Alt", 226},
    {"Left GUI", 227},
    {"Right Ctrl", 228},
    {"Right Shift", 229},
    {"Right Alt", 230},
    {"Right GUI", 231},
};

// Keys named by a pattern: a letter, a digit, F1..F10, a keypad digit.
static int16_t PatternKey(const char* name) {
    char c = 0, rest = 0;
    int n = 0;
    if (sscanf(name, "%c%c", &c, &rest) == 1 && c >= 'a' && c <= 'z') return int16_t(4 + c - 'a');
    if (sscanf(name, "%c%c", &c, &rest) == 1 && c >= 'A' && c <= 'Z') return int16_t(4 + c - 'A');
    if (sscanf(name, "%c%c", &c, &rest) == 1 && c >= '1' && c <= '9') return int16_t(30 + c - '1');
    if (sscanf(name, "%c%c", &c, &rest) == 1 && c == '0') return 39;
    if (sscanf(name, "%*1[Ff]%2d%c", &n, &rest) == 1 && n >= 1 && n <= 10 && name[1] != '0')
        return int16_t(57 + n);
    if (sscanf(name, "%*1[Kk]eypad %c%c", &c, &rest) == 1 && c >= '1' && c <= '9')
        return int16_t(89 + c - '1');
    if (sscanf(name, "%*1[Kk]eypad %c%c", &c, &rest) == 1 && c == '0') return 98;
    return 0;
}

int16_t HostKeyByName(const char* name) {
    for (const NamedKey& k : NamedKeys)
        if (!strcasecmp(k.name, name)) return k.code;
    return PatternKey(name);
}
