// Both fonts: raster glyph bits, widths, ink and shadows; the red font's map, cells and key colour.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/globals.h"
#include "gfx/font.h"

namespace {

constexpr uint16_t Paper = 0x0841;  // back buffer fill that no glyph uses

uint16_t At(int x, int y) { return G.BackBuffer[y * ScreenWidth + x]; }
void FillBuffer() { std::fill(G.BackBuffer, G.BackBuffer + BackBufferPixels, Paper); }

struct Box {
    int count, x0, y0, x1, y1;  // changed pixels and their bounds
};
Box Changed() {
    Box b = {0, 9999, 9999, -1, -1};
    for (int y = 0; y < ScreenHeight; y++)
        for (int x = 0; x < ScreenWidth; x++)
            if (At(x, y) != Paper)
                b = {b.count + 1, std::min(b.x0, x), std::min(b.y0, y), std::max(b.x1, x), std::max(b.y1, y)};
    return b;
}

}  // namespace

TEST(RasterFont, GlyphBitsWidthAndInk) {
    memset(G.FontGlyphs, 0, sizeof G.FontGlyphs);
    G.FontGlyphs[16 * 'A'] = 0x81;
    G.FontGlyphs[16 * 0xE9] = 0x01;  // codes above 127 are glyphs of their own
    struct Case {
        char ch;
        int colour, narrow;
        std::vector<int> xs;  // ink columns, row 20, drawn at (10, 20)
        uint16_t ink;
    };
    const Case cases[] = {
        {'A', -1, 1, {10, 17}, 0xFFE0},        {'A', -1, 0, {10, 11, 24, 25}, 0xFFE0},
        {'A', 0, 1, {10, 17}, 0x0000},         {'A', 0x1F800, 2, {10, 17}, 0xF800},
        {char(0xE9), -1, 0, {24, 25}, 0xFFE0}, {'B', -1, 1, {}, 0xFFE0},
    };
    for (const Case& c : cases) {
        FillBuffer();
        DrawFontGlyph(c.ch, 10, 20, c.colour, c.narrow, 0xFFE0);
        for (int x : c.xs) EXPECT_EQ(At(x, 20), c.ink) << int(c.ch) << " colour " << c.colour << " x " << x;
        EXPECT_EQ(Changed().count, int(c.xs.size())) << int(c.ch) << " colour " << c.colour;
    }
}

// The shadow reaches one pixel beyond the ink on each side and is cut off at the screen edge.
TEST(RasterFont, TextShadowExtents) {
    memset(G.FontGlyphs, 0, sizeof G.FontGlyphs);
    memset(G.FontGlyphs + 16 * '#', 0xFF, 16);
    struct Case {
        const char* text;
        int x, y, narrow;
        Box box;  // count -1: not checked
    };
    const Case cases[] = {
        {"", 50, 50, 1, {0, 9999, 9999, -1, -1}},
        {"#", 50, 50, 1, {128 + 46, 49, 49, 58, 66}},
        {"##", 50, 50, 1, {256 + 62, 49, 49, 66, 66}},
        {"##", 50, 50, 0, {512 + 94, 49, 49, 82, 66}},
        {"#ab#", 50, 50, 1, {-1, 49, 49, 82, 66}},
        {"##", 0, 0, 1, {-1, 0, 0, 16, 16}},
        {"##", 224, 304, 0, {-1, 223, 303, 239, 319}},
        {"##", -12, 310, 0, {-1, 0, 309, 20, 319}},
    };
    for (const Case& c : cases) {
        FillBuffer();
        DrawFontText(c.text, c.x, c.y, c.narrow, 0xFFFF);
        Box b = Changed();
        if (c.box.count < 0) b.count = -1;
        EXPECT_TRUE(!memcmp(&b, &c.box, sizeof b)) << '"' << c.text << "\" at " << c.x << "," << c.y << ": " << b.count
                                                    << " pixels in " << b.x0 << "," << b.y0 << ".." << b.x1 << "," << b.y1;
    }
    // Every shadow goes down before any ink: the up-left shadow of '!' does not cover the ink of '|'.
    memset(G.FontGlyphs + 16 * '|', 0x01, 16);
    memset(G.FontGlyphs + 16 * '!', 0x80, 16);
    FillBuffer();
    DrawFontText("|!", 50, 50, 1, 0xFFE0);
    for (int y = 50; y < 66; y++) EXPECT_EQ(At(57, y), 0xFFE0) << y;
    EXPECT_EQ(At(57, 49), 0x0000);
}

TEST(RedFont, MapAndCells) {
    for (int p = 0; p < RedFontWidth * RedFontHeight; p++)
        G.RedFontImage[p] = p % 3 == 0 ? RedFontKeyColour : uint16_t(0x2000 + p);
    memset(G.RedFontCharMap, 0xAA, sizeof G.RedFontCharMap);
    BuildRedFontCharMap();
    const std::pair<unsigned char, int> map[] = {{' ', 49}, {'!', 1}, {'~', 3}, {'0', 6}, {';', 17}, {'?', 21},
                                                 {'A', 23}, {'Z', 48}, {'a', -1}, {'-', -1}, {0, -1}, {255, -1}};
    for (const auto& [ch, cell] : map) EXPECT_EQ(G.RedFontCharMap[ch], cell + 1) << "char " << int(ch);
    struct Case {
        const char* text;
        std::vector<int> cells;  // cell drawn at x + 16 i, -1 for none
    };
    const Case cases[] = {{"a1", {-1, 7}}, {"A B", {23, 49, 24}}, {"OK?", {37, 33, 21}}};
    for (const Case& c : cases) {
        FillBuffer();
        DrawRedText(c.text, 40, 100);
        int inked = 0;
        for (size_t i = 0; i < c.cells.size(); i++)
            for (int r = 0; r < 16; r++)
                for (int col = 0; col < 16; col++) {
                    int cell = c.cells[i];
                    uint16_t p = cell < 0 ? RedFontKeyColour
                                          : G.RedFontImage[(16 * (cell / 10) + r) * RedFontWidth + 16 * (cell % 10) + col];
                    uint16_t want = p == RedFontKeyColour ? Paper : p;
                    inked += want != Paper;
                    ASSERT_EQ(At(40 + 16 * int(i) + col, 100 + r), want) << c.text << " char " << i;
                }
        EXPECT_EQ(Changed().count, inked) << c.text;
    }
    FillBuffer();
    DrawRedGlyph('A', 232, -8);  // cut off at the screen edge
    Box b = Changed();
    EXPECT_EQ(std::vector<int>({b.x0, b.y0, b.x1, b.y1}), std::vector<int>({232, 0, 239, 7}));
}
