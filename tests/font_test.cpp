// Both fonts: raster glyph bits, widths, ink colour and shadows; the red font's map and cells.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/globals.h"
#include "gfx/font.h"

namespace {

constexpr uint16_t Paper = 0x0841;  // back buffer fill that no glyph uses

void FillBuffer() {
    for (uint16_t& p : G.BackBuffer) p = Paper;
}

uint16_t At(int x, int y) { return G.BackBuffer[y * ScreenWidth + x]; }

// Pixels that differ from the paper, and their bounding box.
struct Changed {
    int count = 0;
    int x0 = 9999, y0 = 9999, x1 = -1, y1 = -1;
};

Changed ChangedPixels() {
    Changed c;
    for (int y = 0; y < ScreenHeight; y++)
        for (int x = 0; x < ScreenWidth; x++)
            if (At(x, y) != Paper) {
                c.count++;
                c.x0 = std::min(c.x0, x), c.y0 = std::min(c.y0, y);
                c.x1 = std::max(c.x1, x), c.y1 = std::max(c.y1, y);
            }
    return c;
}

void SetGlyph(unsigned char ch, uint8_t everyRow) { memset(G.FontGlyphs + 16 * ch, everyRow, 16); }

}  // namespace

TEST(RasterFont, GlyphBitsWidthAndInk) {
    memset(G.FontGlyphs, 0, sizeof G.FontGlyphs);
    G.FontGlyphs[16 * 'A'] = 0x81;
    G.FontGlyphs[16 * 'A' + 15] = 0x40;
    G.FontGlyphs[16 * 0xE9] = 0x01;  // a code above 127 is its own glyph, not a negative index
    struct Case {
        char ch;
        int colour, narrow;
        std::vector<int> xs;  // ink columns of the top row, drawn at (10, 20)
        int bottomX;          // ink column of row 15, -1 for none
        uint16_t ink;
    };
    const Case cases[] = {
        {'A', -1, 1, {10, 17}, 11, 0xFFE0},
        {'A', -1, 0, {10, 11, 24, 25}, 12, 0xFFE0},
        {'A', 0, 1, {10, 17}, 11, 0x0000},
        {'A', 0x1F, 2, {10, 17}, 11, 0x001F},
        {'A', 0x1F800, 1, {10, 17}, 11, 0xF800},
        {char(0xE9), -1, 0, {24, 25}, -1, 0xFFE0},
        {'B', -1, 1, {}, -1, 0xFFE0},
    };
    for (const Case& c : cases) {
        FillBuffer();
        DrawFontGlyph(c.ch, 10, 20, c.colour, c.narrow, 0xFFE0);
        for (int x : c.xs) EXPECT_EQ(At(x, 20), c.ink) << int(c.ch) << " colour " << c.colour << " x " << x;
        int expected = int(c.xs.size()) + (c.bottomX >= 0 ? (c.narrow ? 1 : 2) : 0);
        EXPECT_EQ(ChangedPixels().count, expected) << int(c.ch) << " colour " << c.colour << " narrow " << c.narrow;
        if (c.bottomX >= 0) {
            EXPECT_EQ(At(c.bottomX, 35), c.ink);
        }
    }
}

TEST(RasterFont, TextShadowsComeBeforeAnyInk) {
    memset(G.FontGlyphs, 0, sizeof G.FontGlyphs);
    SetGlyph('#', 0xFF);
    SetGlyph('|', 0x01);  // only the rightmost column: the next character's shadow falls right on it
    struct Case {
        const char* text;
        int narrow;
        int x, y;
        Changed box;
    };
    const Case cases[] = {
        {"", 1, 50, 50, {0, 9999, 9999, -1, -1}},
        {"#", 1, 50, 50, {8 * 16 + 2 * 8 + 2 * 16 - 2, 49, 49, 58, 66}},
        {"##", 1, 50, 50, {16 * 16 + 2 * 16 + 2 * 16 - 2, 49, 49, 66, 66}},
        {"##", 0, 50, 50, {32 * 16 + 2 * 32 + 2 * 16 - 2, 49, 49, 82, 66}},
        {"#ab#", 1, 50, 50, {-1, 49, 49, 82, 66}},
    };
    for (const Case& c : cases) {
        FillBuffer();
        DrawFontText(c.text, c.x, c.y, c.narrow, 0xFFFF);
        Changed got = ChangedPixels();
        if (c.box.count >= 0) {
            EXPECT_EQ(got.count, c.box.count) << '"' << c.text << "\" narrow " << c.narrow;
        }
        EXPECT_EQ(got.x0, c.box.x0) << c.text;
        EXPECT_EQ(got.y0, c.box.y0) << c.text;
        EXPECT_EQ(got.x1, c.box.x1) << c.text;
        EXPECT_EQ(got.y1, c.box.y1) << c.text;
    }
    // The ink of '|' at x + 7 lies under the up-left shadow of the '!' after it, and still shows.
    SetGlyph('!', 0x80);  // only the leftmost column
    FillBuffer();
    DrawFontText("|!", 50, 50, 1, 0xFFE0);
    for (int y = 50; y < 66; y++) {
        EXPECT_EQ(At(57, y), 0xFFE0) << y;
        EXPECT_EQ(At(58, y), 0xFFE0) << y;
        EXPECT_EQ(At(59, y + 1), 0x0000) << y;  // the down-right shadow of '!'
    }
    EXPECT_EQ(At(57, 49), 0x0000);  // the up-left shadow of '!' above the ink of '|'
}

TEST(RasterFont, TextAtTheScreenEdgeStaysOnScreen) {
    memset(G.FontGlyphs, 0, sizeof G.FontGlyphs);
    SetGlyph('#', 0xFF);
    struct Case {
        int x, y, narrow;
        Changed box;
    };
    const Case cases[] = {
        {0, 0, 1, {-1, 0, 0, 16, 16}},
        {224, 304, 0, {-1, 223, 303, 239, 319}},
        {-12, 310, 0, {-1, 0, 309, 20, 319}},
    };
    for (const Case& c : cases) {
        FillBuffer();
        DrawFontText("##", c.x, c.y, c.narrow, 0xFFFF);
        Changed got = ChangedPixels();
        EXPECT_EQ(got.x0, c.box.x0) << c.x << "," << c.y;
        EXPECT_EQ(got.y0, c.box.y0) << c.x << "," << c.y;
        EXPECT_EQ(got.x1, c.box.x1) << c.x << "," << c.y;
        EXPECT_EQ(got.y1, c.box.y1) << c.x << "," << c.y;
    }
}

TEST(RedFont, CharMapLaterCellsWin) {
    memset(G.RedFontCharMap, 0xAA, sizeof G.RedFontCharMap);
    BuildRedFontCharMap();
    EXPECT_EQ(strlen(RedFontCharset), 50u);
    struct Case {
        unsigned char ch;
        int cell;  // -1 for no glyph
    };
    const Case cases[] = {
        {' ', 49}, {'!', 1}, {',', 2}, {'~', 3}, {'.', 4}, {'/', 5}, {'0', 6}, {'9', 15}, {':', 16}, {';', 17},
        {'?', 21}, {'A', 23}, {'G', 29}, {'H', 30}, {'Q', 39}, {'R', 40}, {'Z', 48},
        {'a', -1}, {'z', -1}, {'-', -1}, {0, -1}, {255, -1}, {'"', -1},
    };
    for (const Case& c : cases) EXPECT_EQ(G.RedFontCharMap[c.ch], c.cell + 1) << "char " << int(c.ch);
    int mapped = 0;
    for (uint8_t m : G.RedFontCharMap) mapped += m != 0;
    EXPECT_EQ(mapped, 45);  // 50 cells, the space in six of them
}

TEST(RedFont, TextDrawsCellsSixteenApartAndSkipsTheKey) {
    for (int y = 0; y < RedFontHeight; y++)
        for (int x = 0; x < RedFontWidth; x++)
            G.RedFontImage[y * RedFontWidth + x] = (x + y) % 3 == 0 ? RedFontKeyColour : uint16_t(0x2000 + y * 160 + x);
    BuildRedFontCharMap();
    struct Case {
        const char* text;
        std::vector<int> cells;  // cell drawn at x + 16 i, -1 for none
    };
    const Case cases[] = {
        {"a1", {-1, 7}},
        {"A B", {23, 49, 24}},
        {"OK?", {37, 33, 21}},
        {"", {}},
    };
    for (const Case& c : cases) {
        FillBuffer();
        DrawRedText(c.text, 40, 100);
        int expected = 0;
        for (size_t i = 0; i < c.cells.size(); i++) {
            int cell = c.cells[i];
            for (int r = 0; r < 16; r++)
                for (int col = 0; col < 16; col++) {
                    int sx = 16 * (cell % 10) + col, sy = 16 * (cell / 10) + r;
                    uint16_t want = Paper;
                    if (cell >= 0 && G.RedFontImage[sy * RedFontWidth + sx] != RedFontKeyColour) {
                        want = G.RedFontImage[sy * RedFontWidth + sx];
                        expected++;
                    }
                    ASSERT_EQ(At(40 + 16 * int(i) + col, 100 + r), want) << c.text << " char " << i;
                }
        }
        EXPECT_EQ(ChangedPixels().count, expected) << c.text;
    }
    // A cell across the screen edge is cut off there.
    FillBuffer();
    DrawRedGlyph('A', 232, -8);
    Changed got = ChangedPixels();
    EXPECT_EQ(got.x0, 232);
    EXPECT_EQ(got.y0, 0);
    EXPECT_EQ(got.x1, 239);
    EXPECT_EQ(got.y1, 7);
}
