// Sprite, tile and maze-view blits: clipping, key colour, offsets, against a pixel-by-pixel model.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "app/globals.h"
#include "gfx/blit.h"

namespace {

constexpr uint16_t Untouched = 0x0841;  // back buffer fill that no test picture uses

// Distinct, decodable, never the key colour: slot, row and column of a tile pixel.
uint16_t TilePixel(int tile, int x, int y) { return uint16_t(1 + tile * 1000 + y * 20 + x); }

// Every tile slot with its own pixels; a small maze whose cells name tiles 0..7 in a pattern.
void FillTilesAndMaze(int width, int height) {
    for (int t = 0; t < 10; t++)
        for (int y = 0; y < 20; y++)
            for (int x = 0; x < 20; x++) G.TileImages[t][y * 20 + x] = TilePixel(t, x, y);
    memset(G.MazeGrid, 0, sizeof G.MazeGrid);
    G.MazeWidth = int16_t(width);
    G.MazeHeight = int16_t(height);
    for (int cx = 0; cx < width; cx++)
        for (int cy = 0; cy < height; cy++) G.MazeGrid[cx * MazeStride + cy] = int8_t((cx * 3 + cy * 5) % 8);
}

int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

int TileOfCell(int cx, int cy) {
    if (cx < 0 || cy < 0 || cx >= G.MazeWidth || cy >= G.MazeHeight) return CellWall;
    return G.MazeGrid[cx * MazeStride + cy];
}

void FillBuffer() {
    for (uint16_t& p : G.BackBuffer) p = Untouched;
}

// Compares the maze view square against model(x, y); everything below it must be untouched.
void ExpectView(const std::function<uint16_t(int, int)>& model, const char* what, int sx, int sy) {
    int wrong = 0;
    for (int y = 0; y < ScreenHeight; y++)
        for (int x = 0; x < ScreenWidth; x++) {
            uint16_t want = y < 240 ? model(x, y) : Untouched;
            if (G.BackBuffer[y * ScreenWidth + x] != want && wrong++ < 5)
                ADD_FAILURE() << what << " scroll (" << sx << ", " << sy << ") pixel (" << x << ", " << y << ") is "
                              << G.BackBuffer[y * ScreenWidth + x] << ", want " << want;
        }
    EXPECT_EQ(wrong, 0) << what << " scroll (" << sx << ", " << sy << ")";
}

struct Scroll {
    int x, y;
};
const Scroll Scrolls[] = {{0, 0}, {-30, 0}, {5, 7}, {10, 10}, {-20, -40}, {-1, -1}, {-21, -39},
                          {13, -7}, {19, 19}, {20, 20}, {590, 577}, {-500, 9}, {1999, -2000}};

}  // namespace

TEST(MazeView, FullScaleMatchesTheWorld) {
    FillTilesAndMaze(31, 29);
    for (const Scroll& s : Scrolls) {
        FillBuffer();
        DrawMazeView(s.x, s.y);
        ExpectView([&](int x, int y) {
            int wx = s.x + x, wy = s.y + y;
            int cx = FloorDiv(wx, 20), cy = FloorDiv(wy, 20);
            return TilePixel(TileOfCell(cx, cy), wx - 20 * cx, wy - 20 * cy);
        }, "full", s.x, s.y);
    }
    // The cases in words: at (-30, 0) the first maze column starts at x 30, brick before it.
    FillBuffer();
    DrawMazeView(-30, 0);
    EXPECT_EQ(G.BackBuffer[30], TilePixel(TileOfCell(0, 0), 0, 0));
    EXPECT_EQ(G.BackBuffer[29], TilePixel(CellWall, 19, 0));
    // At (5, 7) the last partly visible column shows only its first 5 pixel columns.
    DrawMazeView(5, 7);
    EXPECT_EQ(G.BackBuffer[239], TilePixel(TileOfCell(12, 0), 4, 7));
}

TEST(MazeView, HalfScaleSamplesEveryOtherPixel) {
    FillTilesAndMaze(57, 43);
    for (const Scroll& s : Scrolls) {
        FillBuffer();
        DrawMazeViewHalf(s.x, s.y);
        ExpectView([&](int x, int y) {
            int hx = x + s.x / 2, hy = y + s.y / 2;  // half-scale world pixel
            int cx = FloorDiv(hx, 10), cy = FloorDiv(hy, 10);
            return TilePixel(TileOfCell(cx, cy), 2 * (hx - 10 * cx), 2 * (hy - 10 * cy));
        }, "half", s.x, s.y);
    }
    // At (10, 10) the top row shows source rows 10, 12, .. 18 of its tiles, cut to 5 pixels.
    FillBuffer();
    DrawMazeViewHalf(10, 10);
    for (int y = 0; y < 5; y++) EXPECT_EQ(G.BackBuffer[y * ScreenWidth], TilePixel(TileOfCell(0, 0), 10, 10 + 2 * y));
    EXPECT_EQ(G.BackBuffer[5 * ScreenWidth + 5], TilePixel(TileOfCell(1, 1), 0, 0));
}

TEST(MazeView, CellsNamingNoTileDrawAsBrick) {
    FillTilesAndMaze(12, 12);
    G.MazeGrid[0] = 99;
    G.MazeGrid[1 * MazeStride] = -3;
    G.MazeGrid[2 * MazeStride] = 9;  // a real, if unused, slot
    for (int half = 0; half < 2; half++) {
        FillBuffer();
        half ? DrawMazeViewHalf(0, 0) : DrawMazeView(0, 0);
        int step = half ? 10 : 20;
        EXPECT_EQ(G.BackBuffer[0], TilePixel(CellWall, 0, 0));
        EXPECT_EQ(G.BackBuffer[step], TilePixel(CellWall, 0, 0));
        EXPECT_EQ(G.BackBuffer[2 * step], TilePixel(9, 0, 0));
    }
}

namespace {

// Fills a sprite slot with decodable pixels, every fifth one the key colour.
void FillSprite(uint16_t* slot, int size, int seed) {
    for (int i = 0; i < size * size; i++) slot[i] = i % 5 == 2 ? SpriteKeyColour : uint16_t(seed + i);
}

struct SpriteCase {
    const char* what;
    std::function<void()> draw;
    const uint16_t* source;
    int sourceWidth;
    int size;      // drawn width and height
    int step;      // 2 at half size
    int x, y;      // drawn top-left
    bool mirrored;
    bool keyed;
    int maxY;      // rows from this one down are never drawn
};

void ExpectSprite(const SpriteCase& c) {
    std::vector<uint16_t> want(G.BackBuffer, G.BackBuffer + BackBufferPixels);
    for (int r = 0; r < c.size; r++)
        for (int col = 0; col < c.size; col++) {
            int sx = c.mirrored ? c.sourceWidth - 1 - col : col * c.step;
            uint16_t p = c.source[r * c.step * c.sourceWidth + sx];
            int x = c.x + col, y = c.y + r;
            if ((c.keyed && p == SpriteKeyColour) || x < 0 || x >= ScreenWidth || y < 0 || y >= c.maxY) continue;
            want[y * ScreenWidth + x] = p;
        }
    c.draw();
    int wrong = 0;
    for (int i = 0; i < BackBufferPixels; i++)
        if (G.BackBuffer[i] != want[i] && wrong++ < 5)
            ADD_FAILURE() << c.what << ": pixel (" << i % ScreenWidth << ", " << i / ScreenWidth << ")";
    EXPECT_EQ(wrong, 0) << c.what;
}

}  // namespace

TEST(Sprites, ClipAndKeyAsEachKindDemands) {
    FillSprite(G.HeroFrames[3], 16, 100);
    FillSprite(G.SpiderFrames[2], 18, 2000);
    FillSprite(G.TileImages[4], 20, 5000);
    FillSprite(G.ExitImage, 16, 9000);
    const uint16_t* hero = G.HeroFrames[3];
    const uint16_t* spider = G.SpiderFrames[2];
    const SpriteCase cases[] = {
        {"dog inside", [] { DrawDogSprite(3, 100, 50, 0); }, hero, 16, 16, 1, 100, 50, false, true, 320},
        {"dog mirrored", [] { DrawDogSprite(3, 100, 50, 1); }, hero, 16, 16, 1, 100, 50, true, true, 320},
        {"dog top-left", [] { DrawDogSprite(3, -5, -3, 0); }, hero, 16, 16, 1, -5, -3, false, true, 320},
        {"dog bottom-right", [] { DrawDogSprite(3, 230, 310, 1); }, hero, 16, 16, 1, 230, 310, true, true, 320},
        {"dog below the view", [] { DrawDogSprite(3, 0, 230, 0); }, hero, 16, 16, 1, 0, 230, false, true, 320},
        {"dog far away", [] { DrawDogSprite(3, -500, 9000, 0); }, hero, 16, 16, 1, -500, 9000, false, true, 320},
        {"dog half", [] { DrawDogSpriteHalf(3, 251, 251); }, hero, 16, 8, 2, 125, 125, false, true, 320},
        {"dog half left", [] { DrawDogSpriteHalf(3, -3, 633); }, hero, 16, 8, 2, -1, 316, false, true, 320},
        {"spider at 230", [] { DrawSpiderSprite(2, 10, 230); }, spider, 18, 18, 1, 10, 230, false, true, 240},
        {"spider corner", [] { DrawSpiderSprite(2, -7, -9); }, spider, 18, 18, 1, -7, -9, false, true, 240},
        {"spider right", [] { DrawSpiderSprite(2, 229, 0); }, spider, 18, 18, 1, 229, 0, false, true, 240},
        {"spider half", [] { DrawSpiderSpriteHalf(2, 471, 470); }, spider, 18, 9, 2, 235, 235, false, true, 240},
        {"spider half odd", [] { DrawSpiderSpriteHalf(2, -5, -1); }, spider, 18, 9, 2, -2, 0, false, true, 240},
        {"tile", [] { DrawTile(4, 100, 260); }, G.TileImages[4], 20, 20, 1, 100, 260, false, true, 320},
        {"tile at the edge", [] { DrawTile(4, 230, 310); }, G.TileImages[4], 20, 20, 1, 230, 310, false, true, 320},
        {"exit icon", [] { DrawExitIcon(224, 0); }, G.ExitImage, 16, 16, 1, 224, 0, false, false, 320},
        {"exit icon off the edge", [] { DrawExitIcon(-4, 310); }, G.ExitImage, 16, 16, 1, -4, 310, false, false, 320},
    };
    for (const SpriteCase& c : cases) {
        FillBuffer();
        ExpectSprite(c);
    }
    // Mirroring in words: source column 15 lands at x, column 0 at x + 15.
    FillBuffer();
    G.HeroFrames[3][0] = 0x1111;
    G.HeroFrames[3][15] = 0x2222;
    DrawDogSprite(3, 40, 40, 1);
    EXPECT_EQ(G.BackBuffer[40 * ScreenWidth + 40], 0x2222);
    EXPECT_EQ(G.BackBuffer[40 * ScreenWidth + 55], 0x1111);
}
