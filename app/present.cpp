// Presentation: the back buffer copied or converted into the device's frame buffer.
#include "app/present.h"

#include <bit>
#include <cstddef>
#include <cstring>

#include "core/globals.h"
#include "platform/host.h"

static_assert(std::endian::native == std::endian::little,
              "the pixel packing reads pixels as little-endian words");

constexpr int TileSide = 8;           // side of the square blocks the transposing loop works in
constexpr int Grey4Columns = 48;      // back-buffer columns the 4-bit path converts side by side
constexpr ptrdiff_t Row512 = 512;     // row pitch of the padded 16-bit layout
constexpr ptrdiff_t Grey4Line = 160;  // bytes of one landscape line on the 4-bit panel
static_assert(ScreenWidth % Grey4Columns == 0 && ScreenWidth % TileSide == 0 &&
                  ScreenHeight % TileSide == 0,
              "the blocks tile the screen exactly");
constexpr uint64_t TopBitsMask = 0x0003000300030003ull;  // p >> 14 of four pixels read as one word
// Gathers the four 2-bit values of TopBitsMask into the top byte, leftmost pixel in bits 7-6.
// Pixel k's value a_k (0..3) sits at bit 16k; each multiplier bit m copies it to bit 16k + m:
//            m = 62   44   26    8
//   a_0 (k=0):   62   44   26    8
//   a_1 (k=1):   78   60   42   24
//   a_2 (k=2):   94   76   58   40
//   a_3 (k=3):  110   92   74   56
// The diagonal 62, 60, 58, 56 puts a_0..a_3 side by side in bits 63-56. Copies at 64 and above
// fall off the word; the rest (at 44 and below) add up to less than 4 * 2^44 * 2 = 2^47, so no
// carry reaches bit 56.
constexpr uint64_t PackMultiplier = (1ull << 62) | (1ull << 44) | (1ull << 26) | (1ull << 8);

// Grey level 0..15 of an RGB565 pixel: (R + G + B) >> 3, unweighted.
static uint8_t Level4(uint16_t p) { return uint8_t(((p >> 11) + ((p >> 5) & 63) + (p & 31)) >> 3); }

// The 16-bit layouts with x pitch 2: one block, or a block a row at 512-byte intervals.
static void CopyRows512(uint8_t* dst) {
    const uint8_t* src = reinterpret_cast<const uint8_t*>(G.BackBuffer);
    for (int y = 0; y < ScreenHeight; y++)
        memcpy(dst + y * Row512, src + y * ScreenWidth * 2, ScreenWidth * 2);
}

// Any 16-bit layout, one pixel at a time in back-buffer order (so overlapping layouts end the
// same).
static void WalkPixels(uint8_t* start, ptrdiff_t xstep, ptrdiff_t ystep) {
    const uint16_t* src = G.BackBuffer;
    for (int y = 0; y < ScreenHeight; y++) {
        uint8_t* row = start + y * ystep;
        for (int x = 0; x < ScreenWidth; x++) memcpy(row + x * xstep, src++, 2);
    }
}

// One TileSide x TileSide block whose top-left back-buffer pixel is (x0, y0): each of its
// columns goes out as one run of TileSide pixels, forwards or backwards.
static void TransposeTile(uint8_t* start, ptrdiff_t xstep, ptrdiff_t ystep, int x0, int y0) {
    const uint16_t* src = G.BackBuffer + y0 * ScreenWidth + x0;
    uint16_t run[TileSide];
    for (int i = 0; i < TileSide; i++) {
        uint8_t* p = start + (x0 + i) * xstep + y0 * ystep;
        if (ystep > 0) {
            for (int k = 0; k < TileSide; k++) run[k] = src[k * ScreenWidth + i];
            memcpy(p, run, sizeof run);
        } else {
            for (int k = 0; k < TileSide; k++) run[TileSide - 1 - k] = src[k * ScreenWidth + i];
            memcpy(p - (TileSide - 1) * 2, run, sizeof run);
        }
    }
}

// A panel whose columns are runs of adjacent pixels (y step +-2) at least a column apart: the
// copy is a transpose, done tile by tile so both sides stay in the cache.
static void TransposeTiles(uint8_t* start, ptrdiff_t xstep, ptrdiff_t ystep) {
    for (int y0 = 0; y0 < ScreenHeight; y0 += TileSide)
        for (int x0 = 0; x0 < ScreenWidth; x0 += TileSide)
            TransposeTile(start, xstep, ystep, x0, y0);
}

// The general 16-bit layout. Steps are the pitches with bit 0 cleared; with rows running upwards
// the device address is the start of its memory, so row 0 begins 319 rows further on.
static void PresentGeneral(uint8_t* dst, int32_t xPitch, int32_t yPitch) {
    ptrdiff_t xstep = ptrdiff_t(xPitch >> 1) * 2, ystep = ptrdiff_t(yPitch >> 1) * 2;
    uint8_t* start = dst + (ystep < 0 ? -ystep * (ScreenHeight - 1) : 0);
    bool transpose =
        (ystep == 2 || ystep == -2) && (xstep >= 2 * ScreenHeight || xstep <= -2 * ScreenHeight);
    if (transpose)
        TransposeTiles(start, xstep, ystep);
    else
        WalkPixels(start, xstep, ystep);
}

static void Present16(uint8_t* dst) {
    if (G.DisplayXPitch == 2 && G.DisplayYPitch == 480)
        memcpy(dst, G.BackBuffer, sizeof G.BackBuffer);
    else if (G.DisplayXPitch == 2 && G.DisplayYPitch == Row512)
        CopyRows512(dst);
    else
        PresentGeneral(dst, G.DisplayXPitch, G.DisplayYPitch);
}

// Four adjacent pixels to one byte of 2-bit values (p >> 14), the leftmost in bits 7-6.
static uint8_t PackFour(const uint16_t* s) {
    uint64_t v;
    memcpy(&v, s, sizeof v);
    return uint8_t((((v >> 14) & TopBitsMask) * PackMultiplier) >> 56);
}

// 2-bit grey portrait rows: 15 words of 16 pixels a row, rows (y pitch - 60) >> 2 words apart.
static void PresentGrey2(uint8_t* dst, int32_t yPitch) {
    ptrdiff_t rowPitch = 60 + 4 * ((ptrdiff_t(yPitch) - 60) >> 2);
    const uint16_t* src = G.BackBuffer;
    for (int y = 0; y < ScreenHeight; y++) {
        uint8_t* row = dst + y * rowPitch;
        for (int w = 0; w < ScreenWidth / 16; w++, src += 16) {
            uint8_t word[4] = {PackFour(src), PackFour(src + 4), PackFour(src + 8),
                               PackFour(src + 12)};
            memcpy(row + 4 * w, word, sizeof word);
        }
    }
}

// 4-bit grey landscape: back-buffer column x is device line x, read from the bottom row up,
// two pixels a byte with the lower one in the high nibble. Grey4Columns lines are filled together.
static void PresentGrey4(uint8_t* dst) {
    for (int x0 = 0; x0 < ScreenWidth; x0 += Grey4Columns)
        for (int j = 0; j < ScreenHeight / 2; j++) {
            const uint16_t* lower = G.BackBuffer + (ScreenHeight - 1 - 2 * j) * ScreenWidth + x0;
            const uint16_t* upper = lower - ScreenWidth;
            uint8_t out[Grey4Columns];
            for (int i = 0; i < Grey4Columns; i++)
                out[i] = uint8_t(Level4(lower[i]) << 4 | Level4(upper[i]));
            for (int i = 0; i < Grey4Columns; i++) dst[(x0 + i) * Grey4Line + j] = out[i];
        }
}

void PresentFrame() {
    int32_t bpp = G.DisplayBpp;
    if (bpp != 2 && bpp != 4 && bpp != 16) return;
    uint8_t* dst = HostBeginDraw();
    if (bpp == 16)
        Present16(dst);
    else if (bpp == 2)
        PresentGrey2(dst, G.DisplayYPitch);
    else
        PresentGrey4(dst);
    HostEndDraw();
}
