// The emulated device panel: six kinds of handheld display, decoded back to colour for the window.
#include "platform/panel.h"

#include <cstring>

struct PanelLayout {
    const char* name;            // --display name
    HostDisplayProperties props; // what the device reports
    size_t size;                 // bytes of panel memory
    size_t origin;               // offset of the address handed out by the device
};

static const PanelLayout Layouts[] = {
    {"rgb565", {16, 2, 480}, 153600, 0},
    {"rgb565-512", {16, 2, 512}, 163840, 0},
    {"rotated", {16, -640, 2}, 153600, 640 * 239},
    {"flipped", {16, 640, -2}, 153600, 0},
    {"gray2", {2, 0, 64}, 320 * 64, 0},
    {"gray4", {4, 0, 160}, 38400, 0},
};

static uint8_t PanelStore[PanelGuardBytes + 163840 + PanelGuardBytes];  // panel memory with guards
static HostDisplayMode Mode = DisplayRgb565;                             // current panel kind

void PanelCreate(HostDisplayMode mode) {
    Mode = mode;
    memset(PanelStore, 0, sizeof PanelStore);
}

HostDisplayProperties PanelProperties() { return Layouts[Mode].props; }
uint8_t* PanelMemory() { return PanelStore + PanelGuardBytes; }
uint8_t* PanelAddress() { return PanelMemory() + Layouts[Mode].origin; }
size_t PanelSize() { return Layouts[Mode].size; }

bool PanelParseMode(const char* name, HostDisplayMode* mode) {
    for (int i = 0; i < int(sizeof Layouts / sizeof Layouts[0]); i++)
        if (strcmp(name, Layouts[i].name) == 0) {
            *mode = HostDisplayMode(i);
            return true;
        }
    return false;
}

static uint32_t Rgb565ToRgb(uint16_t p) {
    uint32_t r = (p >> 11) & 31, g = (p >> 5) & 63, b = p & 31;
    return ((r * 255 / 31) << 16) | ((g * 255 / 63) << 8) | (b * 255 / 31);
}

static uint32_t Grey(uint32_t level, uint32_t max) {
    uint32_t v = level * 255 / max;
    return (v << 16) | (v << 8) | v;
}

// Byte offset of portrait pixel (x, y) on a 16-bit panel, from the device address.
static ptrdiff_t Offset16(int x, int y) {
    HostDisplayProperties p = Layouts[Mode].props;
    if (p.xPitch == 2) return ptrdiff_t(y) * (p.yPitch == 480 ? 480 : 512) + 2 * x;
    ptrdiff_t start = p.yPitch < 0 ? ptrdiff_t(-p.yPitch) * 319 : 0;
    return start + ptrdiff_t(x) * p.xPitch + ptrdiff_t(y) * p.yPitch;
}

void PanelDecode(uint32_t* rgb) {
    const uint8_t* base = PanelAddress();
    for (int y = 0; y < 320; y++)
        for (int x = 0; x < 240; x++) {
            uint32_t out;
            if (Layouts[Mode].props.bpp == 16) {
                uint16_t p;
                memcpy(&p, base + Offset16(x, y), 2);
                out = Rgb565ToRgb(p);
            } else if (Layouts[Mode].props.bpp == 2) {
                uint8_t b = base[y * 64 + x / 4];
                out = Grey((b >> (6 - 2 * (x % 4))) & 3, 3);
            } else {
                int k = 319 - y;
                uint8_t b = base[160 * x + k / 2];
                out = Grey(k % 2 == 0 ? b >> 4 : b & 15, 15);
            }
            rgb[y * 240 + x] = out;
        }
}
