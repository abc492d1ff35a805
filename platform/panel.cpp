// The emulated device panel: six kinds of handheld display, decoded back to colour for the window.
#include "platform/panel.h"

#include <cstring>

struct PanelLayout {
    const char* name;             // --display name
    HostDisplayProperties props;  // what the device reports
    size_t size;                  // bytes of panel memory
    size_t origin;                // offset of the address handed out by the device
};

static const PanelLayout Layouts[] = {
    {"rgb565", {16, 2, 480}, 153600, 0},
    {"rgb565-512", {16, 2, 512}, 163840, 0},
    {"rotated", {16, -640, 2}, 153600, 640 * 239},
    {"flipped", {16, 640, -2}, 153600, 0},
    {"gray2", {2, 0, 64}, 320 * 64, 0},
    {"gray4", {4, 0, 160}, 38400, 0},
};
constexpr int LayoutCount = int(sizeof Layouts / sizeof Layouts[0]);  // kinds of panel
constexpr size_t LargestPanel = 163840;                               // the 512-byte-row panel

static uint8_t
    PanelStore[PanelGuardBytes + LargestPanel + PanelGuardBytes];  // panel memory with guards
static HostDisplayMode Mode = DisplayRgb565;                       // current panel kind

// The panel memory starts black; everything around it holds the guard fill.
void PanelCreate(HostDisplayMode mode) {
    Mode = mode;
    memset(PanelStore, PanelGuardFill, sizeof PanelStore);
    memset(PanelMemory(), 0, PanelSize());
}

HostDisplayProperties PanelProperties() { return Layouts[Mode].props; }
uint8_t* PanelMemory() { return PanelStore + PanelGuardBytes; }
uint8_t* PanelAddress() { return PanelMemory() + Layouts[Mode].origin; }
size_t PanelSize() { return Layouts[Mode].size; }

bool PanelGuardsIntact() {
    for (size_t i = 0; i < sizeof PanelStore; i++) {
        bool inside = i >= PanelGuardBytes && i < PanelGuardBytes + PanelSize();
        if (!inside && PanelStore[i] != PanelGuardFill) return false;
    }
    return true;
}

bool PanelParseMode(const char* name, HostDisplayMode* mode) {
    for (int i = 0; i < LayoutCount; i++)
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

// Byte offset of portrait pixel (x, y) on a 16-bit panel, from the device address, laid out
// the way PresentFrame lays it: block rows for x pitch 2 with rows of 480 or 512 bytes,
// otherwise the even parts of the pitches, rows running upwards from the last row's start.
static ptrdiff_t Offset16(HostDisplayProperties p, int x, int y) {
    if (p.xPitch == 2 && (p.yPitch == 480 || p.yPitch == 512))
        return ptrdiff_t(y) * p.yPitch + 2 * x;
    ptrdiff_t xstep = ptrdiff_t(p.xPitch >> 1) * 2, ystep = ptrdiff_t(p.yPitch >> 1) * 2;
    ptrdiff_t start = ystep < 0 ? -ystep * 319 : 0;
    return start + x * xstep + y * ystep;
}

// The 2-bit panel: rows of 60 bytes, the next row a whole number of 32-bit words on.
static ptrdiff_t Offset2(HostDisplayProperties p, int x, int y) {
    ptrdiff_t rowPitch = 60 + 4 * ((ptrdiff_t(p.yPitch) - 60) >> 2);
    return y * rowPitch + x / 4;
}

static uint32_t DecodePixel(const uint8_t* base, HostDisplayProperties p, int x, int y) {
    if (p.bpp == 16) {
        uint16_t v;
        memcpy(&v, base + Offset16(p, x, y), 2);
        return Rgb565ToRgb(v);
    }
    if (p.bpp == 2) return Grey((base[Offset2(p, x, y)] >> (6 - 2 * (x % 4))) & 3, 3);
    int k = 319 - y;  // the landscape line is the column read from the bottom up
    uint8_t b = base[160 * x + k / 2];
    return Grey(k % 2 == 0 ? b >> 4 : b & 15, 15);
}

void PanelDecode(uint32_t* rgb) {
    const uint8_t* base = PanelAddress();
    HostDisplayProperties p = Layouts[Mode].props;
    for (int y = 0; y < 320; y++)
        for (int x = 0; x < 240; x++) rgb[y * 240 + x] = DecodePixel(base, p, x, y);
}
