// Plain RGB565 rows to 0xRRGGBB: straight loops the compiler can vectorise, no per-pixel layout
// math.
#include "platform/plain_decode.h"

#include <cstddef>
#include <cstring>

constexpr int Width = 240;   // pixels a row
constexpr int Height = 320;  // rows

int PlainRowPitch(HostDisplayProperties p) {
    return p.bpp == 16 && p.xPitch == 2 && p.yPitch >= 2 * Width ? p.yPitch : 0;
}

void DecodePlainRows(const uint8_t* panel, int pitch, uint32_t* rgb) {
    uint16_t row[Width];
    for (int y = 0; y < Height; y++) {
        memcpy(row, panel + ptrdiff_t(y) * pitch, sizeof row);
        uint32_t* out = rgb + y * Width;
        for (int x = 0; x < Width; x++) {
            uint32_t p = row[x], r = p >> 11, g = (p >> 5) & 63, b = p & 31;
            out[x] = ((r * 255 / 31) << 16) | ((g * 255 / 63) << 8) | (b * 255 / 31);
        }
    }
}
