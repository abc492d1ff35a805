// Plain RGB565 rows to 0xRRGGBB, eight pixels a step with SSE2, no per-pixel layout math.
#include "platform/plain_decode.h"

#include <cstddef>
#include <cstring>

// SSE2 (every x86-64) widens eight pixels a step; other machines, the web build and a
// MURKO_PORTABLE build use the plain loop, which gives the same pixels.
#if defined(__SSE2__) && !defined(MURKO_PORTABLE)
#include <emmintrin.h>
#define DECODE_SSE2 1
#endif

constexpr int Width = 240;   // pixels a row
constexpr int Height = 320;  // rows

// x * 255 / 31 and x * 255 / 63 (the panel's own widening, rounded down) as a 16-bit multiply
// and shift, exact for every 5- and 6-bit x; a division per channel cost more than the rest.
constexpr uint32_t Div31Mul = 8457, Div31Shift = 18;  // (v * 8457) >> 18 == v / 31, v = x * 255
constexpr uint32_t Div63Mul = 8323, Div63Shift = 19;  // (v * 8323) >> 19 == v / 63, v = x * 255

int PlainRowPitch(HostDisplayProperties p) {
    return p.bpp == 16 && p.xPitch == 2 && p.yPitch >= 2 * Width ? p.yPitch : 0;
}

#ifdef DECODE_SSE2
// A channel of eight pixels widened to 8 bits: (x * 255 * mul) >> 16 >> shift.
static __m128i Widen(__m128i x, int mul, int shift) {
    __m128i v = _mm_mullo_epi16(x, _mm_set1_epi16(255));
    return _mm_srl_epi16(_mm_mulhi_epu16(v, _mm_set1_epi16(int16_t(mul))),
                         _mm_cvtsi32_si128(shift));
}

static void DecodeRow(const uint8_t* in, uint32_t* out) {
    const __m128i low5 = _mm_set1_epi16(31), low6 = _mm_set1_epi16(63);
    for (int x = 0; x < Width; x += 8) {
        __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 2 * x));
        __m128i r = Widen(_mm_srli_epi16(p, 11), Div31Mul, Div31Shift - 16);
        __m128i g = Widen(_mm_and_si128(_mm_srli_epi16(p, 5), low6), Div63Mul, Div63Shift - 16);
        __m128i b = Widen(_mm_and_si128(p, low5), Div31Mul, Div31Shift - 16);
        __m128i gb = _mm_or_si128(_mm_slli_epi16(g, 8), b);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), _mm_unpacklo_epi16(gb, r));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x + 4), _mm_unpackhi_epi16(gb, r));
    }
}
#else
static void DecodeRow(const uint8_t* in, uint32_t* out) {
    uint16_t row[Width];
    memcpy(row, in, sizeof row);
    for (int x = 0; x < Width; x++) {
        uint32_t p = row[x], r = (p >> 11) * 255, g = ((p >> 5) & 63) * 255, b = (p & 31) * 255;
        out[x] = (r * Div31Mul >> Div31Shift) << 16 | (g * Div63Mul >> Div63Shift) << 8 |
                 b * Div31Mul >> Div31Shift;
    }
}
#endif

void DecodePlainRows(const uint8_t* panel, int pitch, uint32_t* rgb) {
    for (int y = 0; y < Height; y++) DecodeRow(panel + ptrdiff_t(y) * pitch, rgb + y * Width);
}
