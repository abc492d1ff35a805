// The raster font (FontGlyphs, 16 bytes a glyph, bit 7 leftmost) and the red picture font.
#include "gfx/font.h"

#include <cstring>

#include "core/globals.h"

// Cell n of redfont.tga shows character n of this string; the space stands in several cells.
const char RedFontCharset[RedFontCells + 1] = " !,~./0123456789:;   ? ABCDEFGHIJKLMNOPQRSTUVWXYZ ";

constexpr int GlyphRows = 16;  // rows of a raster glyph and of a red font cell
constexpr int RedCell = 16;    // red font cell side in pixels

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

void DrawFontGlyph(char ch, int x, int y, int colour, int narrow, uint16_t textColour) {
    uint16_t ink = colour == -1 ? textColour : uint16_t(colour);
    const uint8_t* glyph = G.FontGlyphs + GlyphRows * uint8_t(ch);
    int scale = narrow ? 1 : 2;
    if (!OnScreen(x, y, 8 * scale, GlyphRows)) {
        for (int r = 0; r < GlyphRows; r++)
            for (int b = 0; b < 8; b++)
                if (glyph[r] & (0x80 >> b))
                    for (int s = 0; s < scale; s++) PutInk(x + b * scale + s, y + r, ink);
        return;
    }
    uint16_t* p = G.BackBuffer + y * ScreenWidth + x;
    for (int r = 0; r < GlyphRows; r++, p += ScreenWidth) {
        uint8_t bits = glyph[r];
        if (!bits) continue;
        for (int b = 0; b < 8; b++) {
            if (!(bits & (0x80 >> b))) continue;
            p[b * scale] = ink;
            if (!narrow) p[b * scale + 1] = ink;
        }
    }
}

void DrawFontText(const char* text, int x, int y, int narrow, uint16_t colour) {
    int advance = narrow ? 8 : 16;
    for (int i = 0; text[i]; i++) {
        DrawFontGlyph(text[i], x + i * advance - 1, y - 1, 0, narrow, 0);
        DrawFontGlyph(text[i], x + i * advance + 1, y + 1, 0, narrow, 0);
    }
    for (int i = 0; text[i]; i++) DrawFontGlyph(text[i], x + i * advance, y, -1, narrow, colour);
}

void DrawRedGlyph(char ch, int x, int y) {
    int m = G.RedFontCharMap[uint8_t(ch)];
    if (m == 0 || m > RedFontCells) return;
    int n = m - 1;
    const uint16_t* cell =
        G.RedFontImage + (RedCell * (n / 10)) * RedFontWidth + RedCell * (n % 10);
    bool inside = OnScreen(x, y, RedCell, RedCell);
    for (int r = 0; r < RedCell; r++) {
        const uint16_t* in = cell + r * RedFontWidth;
        for (int c = 0; c < RedCell; c++) {
            if (in[c] == RedFontKeyColour) continue;
            if (inside)
                G.BackBuffer[(y + r) * ScreenWidth + x + c] = in[c];
            else
                PutInk(x + c, y + r, in[c]);
        }
    }
}

void DrawRedText(const char* text, int x, int y) {
    for (int i = 0; text[i]; i++) DrawRedGlyph(text[i], x + i * RedCell, y);
}
