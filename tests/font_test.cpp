// Both fonts: raster glyph bits, widths, ink and shadows; the red font's map, cells and key colour.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/globals.h"
#include "gfx/font.h"

namespace {

constexpr uint16_t Paper = 0x0841;  // back buffer fill that no glyph uses

uint16_t At(int x, int y) { return G.BackBuffer[y * ScreenWidth + x]; }
void FillBuffer() { std::fill(G.BackBuffer, G.BackBuffer + BackBufferPixels, Paper); }

// Changed pixels and their bounds: count, x0, y0, x1, y1.
std::vector<int> Changed() {
    std::vector<int> b = {0, 9999, 9999, -1, -1};
    for (int y = 0; y < ScreenHeight; y++)
        for (int x = 0; x < ScreenWidth; x++)
            if (At(x, y) != Paper) {
                b[0]++;
                b[1] = std::min(b[1], x);
                b[2] = std::min(b[2], y);
                b[3] = std::max(b[3], x);
                b[4] = std::max(b[4], y);
            }
    return b;
}

}  // namespace

// Glyph bits, widths and ink; the text shadow reaches one pixel beyond the ink on each side, is cut
// off at the screen edge, and goes down before any ink.
TEST(RasterFont, GlyphsAndShadowedText) {
    memset(G.FontGlyphs, 0, sizeof G.FontGlyphs);
    memset(G.FontGlyphs + 16 * '#', 0xFF, 16);
    G.FontGlyphs[16 * 'A'] = 0x81;
    G.FontGlyphs[16 * 0xE9] = 0x01;  // codes above 127 are glyphs of their own
    const struct {
        char ch;
        int colour, narrow;
        std::vector<int> xs;  // ink columns in row 20
        uint16_t ink;
    } glyphs[] = {
        {'A', -1, 1, {10, 17}, 0xFFE0},        {'A', -1, 0, {10, 11, 24, 25}, 0xFFE0},
        {'A', 0, 1, {10, 17}, 0x0000},         {'A', 0x1F800, 2, {10, 17}, 0xF800},
        {char(0xE9), -1, 0, {24, 25}, 0xFFE0}, {'B', -1, 1, {}, 0xFFE0},
    };
    for (const auto& c : glyphs) {
        FillBuffer();
        DrawFontGlyph(c.ch, 10, 20, c.colour, c.narrow, 0xFFE0);
        for (int x : c.xs)
            EXPECT_EQ(At(x, 20), c.ink) << int(c.ch) << " colour " << c.colour << " x " << x;
        EXPECT_EQ(Changed()[0], int(c.xs.size())) << int(c.ch) << " colour " << c.colour;
    }
    const struct {
        const char* text;
        int x, y, narrow;
        std::vector<int> box;
    } texts[] = {
        {"", 50, 50, 1, {0, 9999, 9999, -1, -1}},
        {"#", 50, 50, 1, {128 + 46, 49, 49, 58, 66}},
        {"##", 50, 50, 0, {512 + 94, 49, 49, 82, 66}},
        {"#abcdef#", 50, 50, 1, {2 * (128 + 46), 49, 49, 114, 66}},
        {"##", 0, 0, 1, {256 + 31, 0, 0, 16, 16}},
        {"##", 0, 5, 1, {256 + 46, 0, 4, 16, 21}},
        {"##", -12, 310, 0, {200 + 19 + 9, 0, 309, 20, 319}},
    };
    for (const auto& c : texts) {
        FillBuffer();
        DrawFontText(c.text, c.x, c.y, c.narrow, 0xFFFF);
        EXPECT_EQ(Changed(), c.box) << '"' << c.text << "\" at " << c.x << "," << c.y;
    }
    memset(G.FontGlyphs + 16 * '|', 0x01, 16);
    memset(G.FontGlyphs + 16 * '!', 0x80, 16);
    FillBuffer();
    DrawFontText("|!", 50, 50, 1,
                 0xFFE0);  // the up-left shadow of '!' must not cover the ink of '|'
    for (int y = 50; y < 66; y++) EXPECT_EQ(At(57, y), 0xFFE0) << y;
    EXPECT_EQ(At(57, 49), 0x0000);
}

TEST(RedFont, MapAndCells) {
    for (int p = 0; p < RedFontWidth * RedFontHeight; p++)
        G.RedFontImage[p] = p % 3 == 0 ? RedFontKeyColour : uint16_t(0x2000 + p);
    memset(G.RedFontCharMap, 0xAA, sizeof G.RedFontCharMap);
    BuildRedFontCharMap();
    const std::pair<unsigned char, int> map[] = {
        {' ', 49}, {'!', 1},  {'~', 3},  {'0', 6},  {';', 17}, {'?', 21},
        {'A', 23}, {'Z', 48}, {'a', -1}, {'-', -1}, {0, -1},   {255, -1},
    };
    for (const auto& [ch, cell] : map)
        EXPECT_EQ(G.RedFontCharMap[ch], cell + 1) << "char " << int(ch);
    // "a1 B" at (40, 100): 'a' draws nothing but takes its place; the cells are 16 pixels apart,
    // blue left unpainted.
    FillBuffer();
    DrawRedText("a1 B", 40, 100);
    const int cells[] = {-1, 7, 49, 24};
    int inked = 0;
    for (int k = 0; k < 4 * 256; k++) {
        const int cell = cells[k / 256];
        const int r = k % 256 / 16;
        const int col = k % 16;
        const uint16_t p =
            cell < 0
                ? RedFontKeyColour
                : G.RedFontImage[(16 * (cell / 10) + r) * RedFontWidth + 16 * (cell % 10) + col];
        if (p != RedFontKeyColour) inked++;
        ASSERT_EQ(At(40 + 16 * (k / 256) + col, 100 + r), p == RedFontKeyColour ? Paper : p)
            << "char " << k / 256 << " row " << r;
    }
    EXPECT_EQ(Changed()[0], inked);
    FillBuffer();
    DrawRedGlyph('A', 232, -8);  // cut off at the screen edge
    const std::vector<int> box = Changed();
    EXPECT_EQ(box[1], 232) << "left";
    EXPECT_EQ(box[2], 0) << "top";
    EXPECT_EQ(box[3], 239) << "right";
    EXPECT_EQ(box[4], 7) << "bottom";
}
