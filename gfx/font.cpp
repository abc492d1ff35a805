// The raster font (FontGlyphs, 16 bytes a glyph, bit 7 leftmost) and the red picture font.
#include "gfx/font.h"

#include <array>
#include <bit>
#include <cstring>

#include "core/globals.h"

// SSE2 (every x86-64) sets eight pixels a step; other machines and a MURKO_PORTABLE build use the
// plain 64-bit loop beside it, which gives the same pixels.
#if defined(__SSE2__) && !defined(MURKO_PORTABLE)
#include <emmintrin.h>
#define FONT_SSE2 1
#endif

// Cell n of redfont.tga shows character n of this string; the space stands in several cells.
const char RedFontCharset[RedFontCells + 1] = " !,~./0123456789:;   ? ABCDEFGHIJKLMNOPQRSTUVWXYZ ";

constexpr int GlyphRows = 16;            // rows of a raster glyph and of a red font cell
constexpr int RedCell = 16;              // red font cell side in pixels
constexpr int TextRows = GlyphRows + 2;  // rows of a shadowed string: one above, one below
constexpr int LineWords = 4;             // 64-bit words of one row of a string's bits
constexpr int LongestLine = (64 * LineWords - 2) / 8;  // characters a row of bits holds

// Bit j of Reversed[b] is bit 7 - j of b: a glyph row with its leftmost pixel in bit 0.
static constexpr std::array<uint8_t, 256> Reversed = [] {
    std::array<uint8_t, 256> t{};
    for (int b = 0; b < 256; b++)
        for (int j = 0; j < 8; j++) t[b] |= uint8_t(((b >> (7 - j)) & 1) << j);
    return t;
}();

// Doubled[b]: a glyph row at double width, sixteen pixels with the leftmost in bit 0.
static constexpr std::array<uint16_t, 256> Doubled = [] {
    std::array<uint16_t, 256> t{};
    for (int b = 0; b < 256; b++)
        for (int j = 0; j < 8; j++)
            if (b & (0x80 >> j)) t[b] |= uint16_t(3u << (2 * j));
    return t;
}();

#ifdef FONT_SSE2
// Lanes[b]: eight 16-bit lanes, lane j all ones where bit j of b is set.
alignas(16) static constexpr std::array<std::array<uint16_t, 8>, 256> Lanes = [] {
    std::array<std::array<uint16_t, 8>, 256> t{};
    for (int b = 0; b < 256; b++)
        for (int j = 0; j < 8; j++) t[b][j] = (b >> j) & 1 ? 0xFFFF : 0;
    return t;
}();

// Eight pixels from p: where bit j of ink is set pixel j becomes colour, else where bit j of
// cover is set it becomes black, else it keeps its value (cover holds every bit of ink).
static inline void SetEight(uint16_t* p, uint8_t ink, uint8_t cover, uint16_t colour) {
    __m128i inkLanes = _mm_load_si128(reinterpret_cast<const __m128i*>(Lanes[ink].data()));
    __m128i coverLanes = _mm_load_si128(reinterpret_cast<const __m128i*>(Lanes[cover].data()));
    __m128i keep =
        _mm_andnot_si128(coverLanes, _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
    __m128i put = _mm_and_si128(inkLanes, _mm_set1_epi16(int16_t(colour)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), _mm_or_si128(keep, put));
}
#else
// Nibbles[n]: four 16-bit lanes in a word, lane j all ones where bit j of n is set.
static constexpr std::array<uint64_t, 16> Nibbles = [] {
    std::array<uint64_t, 16> t{};
    for (int n = 0; n < 16; n++)
        for (int j = 0; j < 4; j++)
            if (n & (1 << j)) t[n] |= 0xFFFFull << (16 * j);
    return t;
}();

// Eight pixels from p: where bit j of ink is set pixel j becomes colour, else where bit j of
// cover is set it becomes black, else it keeps its value (cover holds every bit of ink).
static inline void SetEight(uint16_t* p, uint8_t ink, uint8_t cover, uint16_t colour) {
    uint64_t colours = colour * 0x0001000100010001ull;
    for (int half = 0; half < 2; half++, ink >>= 4, cover >>= 4) {
        uint64_t inkLanes = Nibbles[ink & 15], v;
        memcpy(&v, p + 4 * half, sizeof v);
        v = (v & ~Nibbles[cover & 15]) | (colours & inkLanes);
        memcpy(p + 4 * half, &v, sizeof v);
    }
}
#endif

void BuildRedFontCharMap() {
    memset(G.RedFontCharMap, 0, sizeof G.RedFontCharMap);
    for (int n = 0; n < RedFontCells; n++)
        G.RedFontCharMap[uint8_t(RedFontCharset[n])] = uint8_t(n + 1);
}

// Stores one ink pixel; text that strays past the screen edge is cut off there.
static inline void PutInk(int x, int y, uint16_t ink) {
    if (unsigned(x) < unsigned(ScreenWidth) && unsigned(y) < unsigned(ScreenHeight))
        G.BackBuffer[y * ScreenWidth + x] = ink;
}

// True when a w x h box at (x, y) lies wholly on screen.
static inline bool OnScreen(int x, int y, int w, int h) {
    return x >= 0 && y >= 0 && x + w <= ScreenWidth && y + h <= ScreenHeight;
}

// A glyph at (x, y) wholly on screen: each row with ink sets eight or sixteen pixels at once.
static void GlyphOnScreen(const uint8_t* glyph, int x, int y, int narrow, uint16_t ink) {
    uint16_t* p = G.BackBuffer + y * ScreenWidth + x;
    for (int r = 0; r < GlyphRows; r++, p += ScreenWidth) {
        if (!glyph[r]) continue;
        if (narrow) {
            SetEight(p, Reversed[glyph[r]], Reversed[glyph[r]], ink);
            continue;
        }
        uint16_t bits = Doubled[glyph[r]];
        SetEight(p, uint8_t(bits), uint8_t(bits), ink);
        SetEight(p + 8, uint8_t(bits >> 8), uint8_t(bits >> 8), ink);
    }
}

void DrawFontGlyph(char ch, int x, int y, int colour, int narrow, uint16_t textColour) {
    uint16_t ink = colour == -1 ? textColour : uint16_t(colour);
    const uint8_t* glyph = G.FontGlyphs + GlyphRows * uint8_t(ch);
    int scale = narrow ? 1 : 2;
    if (OnScreen(x, y, 8 * scale, GlyphRows)) {
        GlyphOnScreen(glyph, x, y, narrow, ink);
        return;
    }
    for (int r = 0; r < GlyphRows; r++)
        for (int b = 0; b < 8; b++)
            if (glyph[r] & (0x80 >> b))
                for (int s = 0; s < scale; s++) PutInk(x + b * scale + s, y + r, ink);
}

// The bits of a narrow string, one row of bits per glyph row plus an empty row on each side, the
// leftmost pixel of character i at bit 8i. Rows are byte arrays read as little-endian words.
static_assert(std::endian::native == std::endian::little, "text rows are read as little-endian");
struct TextBits {
    alignas(8) uint8_t rows[GlyphRows + 4][8 * LineWords];  // glyph row r is rows[r + 2]
};

static void GatherBits(const char* text, int n, TextBits* bits) {
    memset(bits, 0, sizeof *bits);
    for (int i = 0; i < n; i++) {
        const uint8_t* glyph = G.FontGlyphs + GlyphRows * uint8_t(text[i]);
        for (int r = 0; r < GlyphRows; r++) bits->rows[r + 2][i] = Reversed[glyph[r]];
    }
}

static uint64_t Word(const TextBits& bits, int row, int w) {
    if (w < 0) return 0;
    uint64_t v;
    memcpy(&v, bits.rows[row] + 8 * w, sizeof v);
    return v;
}

// Word w of a bit row moved up by s bits (towards the right on screen), 0 < s < 64.
static uint64_t Shifted(const TextBits& bits, int row, int w, int s) {
    return Word(bits, row, w) << s | Word(bits, row, w - 1) >> (64 - s);
}

// One screen row of a shadowed string, from bit u = pixel x - 1 + u: the ink is the glyph row one
// pixel on, the shadows are the row below as it is and the row above two pixels on.
static void TextRow(const TextBits& bits, int row, uint16_t* p, int width, uint16_t colour) {
    uint8_t ink[8 * LineWords], cover[8 * LineWords];
    uint64_t any = 0;
    for (int w = 0; w < (width + 63) / 64; w++) {
        uint64_t inkWord = Shifted(bits, row + 1, w, 1);
        uint64_t coverWord = inkWord | Word(bits, row + 2, w) | Shifted(bits, row, w, 2);
        memcpy(ink + 8 * w, &inkWord, sizeof inkWord);
        memcpy(cover + 8 * w, &coverWord, sizeof coverWord);
        any |= coverWord;
    }
    if (!any) return;
    int k = 0;
    for (; 8 * k + 8 <= width; k++) SetEight(p + 8 * k, ink[k], cover[k], colour);
    for (int u = 8 * k; u < width; u++) {
        int bit = 1 << (u - 8 * k);
        if (ink[k] & bit)
            p[u] = colour;
        else if (cover[k] & bit)
            p[u] = 0;
    }
}

// A narrow string wholly on screen, shadow box and all: every shadow goes down before any ink, so
// a pixel is ink where any character inks it, else black where any shadow falls, row by row.
static void NarrowTextOnScreen(const char* text, int n, int x, int y, uint16_t colour) {
    TextBits bits;
    GatherBits(text, n, &bits);
    uint16_t* p = G.BackBuffer + (y - 1) * ScreenWidth + x - 1;
    for (int row = 0; row < TextRows; row++, p += ScreenWidth)
        TextRow(bits, row, p, 8 * n + 2, colour);
}

void DrawFontText(const char* text, int x, int y, int narrow, uint16_t colour) {
    int advance = narrow ? 8 : 16;
    int n = int(strlen(text));
    if (n == 0) return;
    if (narrow && n <= LongestLine && OnScreen(x - 1, y - 1, 8 * n + 2, TextRows)) {
        NarrowTextOnScreen(text, n, x, y, colour);
        return;
    }
    for (int i = 0; i < n; i++) {
        DrawFontGlyph(text[i], x + i * advance - 1, y - 1, 0, narrow, 0);
        DrawFontGlyph(text[i], x + i * advance + 1, y + 1, 0, narrow, 0);
    }
    for (int i = 0; i < n; i++) DrawFontGlyph(text[i], x + i * advance, y, -1, narrow, colour);
}

// One row of a red font cell wholly on screen: every pixel but the key colour is stored, without
// a branch (the key colour's place in a cell is a coin toss to a branch predictor).
#ifdef FONT_SSE2
static inline void RedCellRow(uint16_t* out, const uint16_t* in) {
    const __m128i key = _mm_set1_epi16(int16_t(RedFontKeyColour));
    for (int c = 0; c < RedCell; c += 8) {
        __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + c));
        __m128i under = _mm_loadu_si128(reinterpret_cast<const __m128i*>(out + c));
        __m128i keyed = _mm_cmpeq_epi16(pixels, key);
        __m128i mixed = _mm_or_si128(_mm_and_si128(keyed, under), _mm_andnot_si128(keyed, pixels));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + c), mixed);
    }
}
#else
static inline void RedCellRow(uint16_t* out, const uint16_t* in) {
    for (int c = 0; c < RedCell; c++) {
        uint16_t pixel = in[c], under = out[c];
        out[c] = pixel == RedFontKeyColour ? under : pixel;
    }
}
#endif

void DrawRedGlyph(char ch, int x, int y) {
    int m = G.RedFontCharMap[uint8_t(ch)];
    if (m == 0 || m > RedFontCells) return;
    int n = m - 1;
    const uint16_t* cell =
        G.RedFontImage + (RedCell * (n / 10)) * RedFontWidth + RedCell * (n % 10);
    if (OnScreen(x, y, RedCell, RedCell)) {
        for (int r = 0; r < RedCell; r++)
            RedCellRow(G.BackBuffer + (y + r) * ScreenWidth + x, cell + r * RedFontWidth);
        return;
    }
    for (int r = 0; r < RedCell; r++)
        for (int c = 0; c < RedCell; c++)
            if (cell[r * RedFontWidth + c] != RedFontKeyColour)
                PutInk(x + c, y + r, cell[r * RedFontWidth + c]);
}

void DrawRedText(const char* text, int x, int y) {
    for (int i = 0; text[i]; i++) DrawRedGlyph(text[i], x + i * RedCell, y);
}
