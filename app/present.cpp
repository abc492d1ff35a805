// Presentation: the back buffer copied or converted into the device's frame buffer.
#include "app/present.h"

#include <bit>
#include <cstddef>
#include <cstring>

#include "core/globals.h"
#include "platform/host.h"

// SSE2 (every x86-64) gets the vector paths; other machines, the web build and a MURKO_PORTABLE
// build use the plain loops beside them, which give the same bytes.
#if defined(__SSE2__) && !defined(MURKO_PORTABLE)
#include <emmintrin.h>
#define PRESENT_SSE2 1
#endif

static_assert(std::endian::native == std::endian::little,
              "the pixel packing reads pixels as little-endian words");

constexpr int TileSide = 8;           // side of the square blocks the transposing loop works in
constexpr int Grey4Columns = 48;      // back-buffer columns the 4-bit path converts side by side
constexpr ptrdiff_t Row512 = 512;     // row pitch of the padded 16-bit layout
constexpr ptrdiff_t Grey4Line = 160;  // bytes of one landscape line on the 4-bit panel
static_assert(ScreenWidth % Grey4Columns == 0 && ScreenWidth % TileSide == 0 &&
                  ScreenHeight % TileSide == 0,
              "the blocks tile the screen exactly");

// One 480-byte row. With SSE2, thirty 16-byte moves in a row: as fast as one block copy of the
// whole buffer, where memcpy's path for blocks this short takes 1.7 times as long.
static void CopyRow(uint8_t* dst, const uint8_t* src) {
#ifdef PRESENT_SSE2
#pragma GCC unroll 30
    for (int i = 0; i < ScreenWidth * 2; i += 16) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), v);
    }
#else
    memcpy(dst, src, ScreenWidth * 2);
#endif
}

// The 16-bit layouts with x pitch 2: one block, or a block a row at 512-byte intervals.
static void CopyRows512(uint8_t* dst) {
    const uint8_t* src = reinterpret_cast<const uint8_t*>(G.BackBuffer);
    for (int y = 0; y < ScreenHeight; y++) CopyRow(dst + y * Row512, src + y * ScreenWidth * 2);
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

#ifdef PRESENT_SSE2
// Eight rows of eight pixels become eight columns in three rounds of unpacks: pairs of rows, then
// fours, then eights.
static inline void Transpose8x8(__m128i r[8]) {
    __m128i a[8], b[8];
#pragma GCC unroll 4
    for (int i = 0; i < 4; i++) {
        a[2 * i] = _mm_unpacklo_epi16(r[2 * i], r[2 * i + 1]);
        a[2 * i + 1] = _mm_unpackhi_epi16(r[2 * i], r[2 * i + 1]);
    }
#pragma GCC unroll 2
    for (int h = 0; h < 8; h += 4) {
        b[h] = _mm_unpacklo_epi32(a[h], a[h + 2]);
        b[h + 1] = _mm_unpackhi_epi32(a[h], a[h + 2]);
        b[h + 2] = _mm_unpacklo_epi32(a[h + 1], a[h + 3]);
        b[h + 3] = _mm_unpackhi_epi32(a[h + 1], a[h + 3]);
    }
#pragma GCC unroll 4
    for (int i = 0; i < 4; i++) {
        r[2 * i] = _mm_unpacklo_epi64(b[i], b[i + 4]);
        r[2 * i + 1] = _mm_unpackhi_epi64(b[i], b[i + 4]);
    }
}

// The block at (x0, y0) in registers. Runs that go backwards take the rows bottom first, so each
// column comes out reversed and is stored from its lowest address.
static void TransposeTile(uint8_t* start, ptrdiff_t xstep, ptrdiff_t ystep, int x0, int y0) {
    ptrdiff_t rowStep = ystep > 0 ? ScreenWidth : -ScreenWidth;
    const uint16_t* src = G.BackBuffer + (ystep > 0 ? y0 : y0 + TileSide - 1) * ScreenWidth + x0;
    __m128i r[TileSide];
#pragma GCC unroll 8
    for (int k = 0; k < TileSide; k++)
        r[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + k * rowStep));
    Transpose8x8(r);
    ptrdiff_t back = ystep > 0 ? 0 : (TileSide - 1) * 2;
#pragma GCC unroll 8
    for (int i = 0; i < TileSide; i++) {
        uint8_t* p = start + (x0 + i) * xstep + y0 * ystep - back;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p), r[i]);
    }
}
#else
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
#endif

// A panel whose columns are runs of adjacent pixels (y step +-2) at least a column apart: the
// copy is a transpose, done tile by tile down each band of columns, so every device column is
// written from end to end in turn.
static void TransposeTiles(uint8_t* start, ptrdiff_t xstep, ptrdiff_t ystep) {
    for (int x0 = 0; x0 < ScreenWidth; x0 += TileSide)
        for (int y0 = 0; y0 < ScreenHeight; y0 += TileSide)
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

#ifdef PRESENT_SSE2
// The top two bits of eight pixels weighted 64, 16, 4, 1 and added in pairs: the two halves of
// each of two device bytes, in 32-bit lanes.
static inline __m128i WeighTopBits(const uint16_t* s) {
    const __m128i weights = _mm_setr_epi16(64, 16, 4, 1, 64, 16, 4, 1);
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
    return _mm_madd_epi16(_mm_srli_epi16(v, 14), weights);
}

// Sixteen adjacent pixels to the four bytes of one device word.
static inline uint32_t PackSixteen(const uint16_t* s) {
    __m128i halves = _mm_packs_epi32(WeighTopBits(s), WeighTopBits(s + 8));
    __m128i bytes = _mm_madd_epi16(halves, _mm_set1_epi16(1));
    bytes = _mm_packs_epi32(bytes, bytes);
    return uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(bytes, bytes)));
}
#else
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

// Four adjacent pixels to one byte of 2-bit values (p >> 14), the leftmost in bits 7-6.
static uint8_t PackFour(const uint16_t* s) {
    uint64_t v;
    memcpy(&v, s, sizeof v);
    return uint8_t((((v >> 14) & TopBitsMask) * PackMultiplier) >> 56);
}

// Sixteen adjacent pixels to the four bytes of one device word.
static inline uint32_t PackSixteen(const uint16_t* s) {
    uint8_t word[4] = {PackFour(s), PackFour(s + 4), PackFour(s + 8), PackFour(s + 12)};
    uint32_t w;
    memcpy(&w, word, sizeof w);
    return w;
}
#endif

// 2-bit grey portrait rows: 15 words of 16 pixels a row, rows (y pitch - 60) >> 2 words apart.
static void PresentGrey2(uint8_t* dst, int32_t yPitch) {
    ptrdiff_t rowPitch = 60 + 4 * ((ptrdiff_t(yPitch) - 60) >> 2);
    const uint16_t* src = G.BackBuffer;
    for (int y = 0; y < ScreenHeight; y++) {
        uint8_t* row = dst + y * rowPitch;
        for (int w = 0; w < ScreenWidth / 16; w++, src += 16) {
            uint32_t word = PackSixteen(src);
            memcpy(row + 4 * w, &word, sizeof word);
        }
    }
}

#ifdef PRESENT_SSE2
constexpr int Grey4Block = 16;  // device lines, and bytes of each, one vector block covers
static_assert(ScreenWidth % Grey4Block == 0 && Grey4Line % Grey4Block == 0,
              "the 4-bit blocks tile the panel exactly");

// R + G + B (0..125) of eight pixels, in 16-bit lanes.
static inline __m128i GreySums(const uint16_t* s) {
    __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
    __m128i r = _mm_srli_epi16(p, 11);
    __m128i g = _mm_and_si128(_mm_srli_epi16(p, 5), _mm_set1_epi16(63));
    __m128i b = _mm_and_si128(p, _mm_set1_epi16(31));
    return _mm_add_epi16(_mm_add_epi16(r, g), b);
}

// Device bytes of eight adjacent columns from a lower and the upper row: (sum >> 3) << 4 is
// (sum << 1) & 0xF0, as sums stay under 128.
static inline __m128i Grey4Pairs(const uint16_t* lower) {
    __m128i high = _mm_and_si128(_mm_slli_epi16(GreySums(lower), 1), _mm_set1_epi16(0xF0));
    return _mm_or_si128(high, _mm_srli_epi16(GreySums(lower - ScreenWidth), 3));
}

// A 16 x 16 byte block turned over in four rounds of unpacks: rows in pairs, fours, eights, all.
static inline void Transpose16x16(__m128i r[16]) {
    __m128i a[16], b[16];
#pragma GCC unroll 8
    for (int i = 0; i < 8; i++) {
        a[2 * i] = _mm_unpacklo_epi8(r[2 * i], r[2 * i + 1]);
        a[2 * i + 1] = _mm_unpackhi_epi8(r[2 * i], r[2 * i + 1]);
    }
#pragma GCC unroll 4
    for (int q = 0; q < 16; q += 4) {
        b[q] = _mm_unpacklo_epi16(a[q], a[q + 2]);
        b[q + 1] = _mm_unpackhi_epi16(a[q], a[q + 2]);
        b[q + 2] = _mm_unpacklo_epi16(a[q + 1], a[q + 3]);
        b[q + 3] = _mm_unpackhi_epi16(a[q + 1], a[q + 3]);
    }
#pragma GCC unroll 2
    for (int o = 0; o < 16; o += 8)
#pragma GCC unroll 4
        for (int m = 0; m < 4; m++) {
            a[o + 2 * m] = _mm_unpacklo_epi32(b[o + m], b[o + 4 + m]);
            a[o + 2 * m + 1] = _mm_unpackhi_epi32(b[o + m], b[o + 4 + m]);
        }
#pragma GCC unroll 8
    for (int k = 0; k < 8; k++) {
        r[2 * k] = _mm_unpacklo_epi64(a[k], a[k + 8]);
        r[2 * k + 1] = _mm_unpackhi_epi64(a[k], a[k + 8]);
    }
}

// Bytes j0..j0+15 of device lines x0..x0+15: sixteen row pairs side by side, then turned over.
static void Grey4Block16(uint8_t* dst, int x0, int j0) {
    __m128i r[Grey4Block];
    const uint16_t* lower = G.BackBuffer + (ScreenHeight - 1 - 2 * j0) * ScreenWidth + x0;
#pragma GCC unroll 16
    for (int j = 0; j < Grey4Block; j++, lower -= 2 * ScreenWidth)
        r[j] = _mm_packus_epi16(Grey4Pairs(lower), Grey4Pairs(lower + 8));
    Transpose16x16(r);
#pragma GCC unroll 16
    for (int i = 0; i < Grey4Block; i++)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + (x0 + i) * Grey4Line + j0), r[i]);
}

// 4-bit grey landscape: back-buffer column x is device line x, read from the bottom row up,
// two pixels a byte with the lower one in the high nibble; 16 x 16 byte blocks.
static void PresentGrey4(uint8_t* dst) {
    for (int x0 = 0; x0 < ScreenWidth; x0 += Grey4Block)
        for (int j0 = 0; j0 < Grey4Line; j0 += Grey4Block) Grey4Block16(dst, x0, j0);
}
#else
// Grey level 0..15 of an RGB565 pixel: (R + G + B) >> 3, unweighted.
static uint8_t Level4(uint16_t p) { return uint8_t(((p >> 11) + ((p >> 5) & 63) + (p & 31)) >> 3); }

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
#endif

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
