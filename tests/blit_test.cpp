// Sprite, tile and maze-view blits: clipping, key colour and offsets, against a pixel-by-pixel model.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "app/globals.h"
#include "gfx/blit.h"

namespace {

constexpr uint16_t Untouched = 0x0841;  // back buffer fill that no test picture uses

uint16_t TilePixel(int tile, int x, int y) { return uint16_t(1 + tile * 1000 + y * 20 + x); }
int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
int TileOfCell(int cx, int cy) {
    return cx < 0 || cy < 0 || cx >= G.MazeWidth || cy >= G.MazeHeight ? int(CellWall) : int(G.MazeGrid[cx * MazeStride + cy]);
}

// Expects the back buffer to equal want; reports the first few differences.
void ExpectBuffer(const std::vector<uint16_t>& want, const std::string& what) {
    int wrong = 0;
    for (int i = 0; i < BackBufferPixels; i++)
        if (G.BackBuffer[i] != want[i] && wrong++ < 3)
            ADD_FAILURE() << what << ": pixel (" << i % 240 << ", " << i / 240 << ") " << G.BackBuffer[i] << " not " << want[i];
}

}  // namespace

// Full and half scale at many scrolls, negative and unaligned ones included; rows 240 up stay untouched.
TEST(MazeView, BothScalesMatchTheWorld) {
    for (int t = 0; t < 10; t++)
        for (int p = 0; p < 400; p++) G.TileImages[t][p] = TilePixel(t, p % 20, p / 20);
    G.MazeWidth = 57, G.MazeHeight = 43;
    for (int cx = 0; cx < 57; cx++)
        for (int cy = 0; cy < 43; cy++) G.MazeGrid[cx * MazeStride + cy] = int8_t((cx * 3 + cy * 5) % 8);
    G.MazeGrid[2 * MazeStride + 1] = 99;  // codes that name no tile show brick
    G.MazeGrid[3 * MazeStride + 1] = -3;
    const int scrolls[][2] = {{0, 0}, {-30, 0}, {5, 7}, {10, 10}, {-20, -40}, {-1, -1}, {-21, -39},
                              {13, -7}, {19, 19}, {20, 20}, {590, 577}, {-500, 9}, {1999, -2000}};
    for (int half = 0; half < 2; half++)
        for (const auto& s : scrolls) {
            std::vector<uint16_t> want(BackBufferPixels, Untouched);
            for (int y = 0; y < 240; y++)
                for (int x = 0; x < 240; x++) {
                    int scale = half ? 10 : 20;  // a cell's side on screen
                    int wx = x + (half ? s[0] / 2 : s[0]), wy = y + (half ? s[1] / 2 : s[1]);
                    int cx = FloorDiv(wx, scale), cy = FloorDiv(wy, scale);
                    int tile = TileOfCell(cx, cy);
                    if (tile < 0 || tile > 9) tile = CellWall;
                    int px = (wx - scale * cx) * (20 / scale), py = (wy - scale * cy) * (20 / scale);
                    want[y * 240 + x] = TilePixel(tile, px, py);
                }
            std::fill(G.BackBuffer, G.BackBuffer + BackBufferPixels, Untouched);
            half ? DrawMazeViewHalf(s[0], s[1]) : DrawMazeView(s[0], s[1]);
            ExpectBuffer(want, (half ? "half " : "full ") + std::to_string(s[0]) + "," + std::to_string(s[1]));
        }
}

TEST(Sprites, ClipAndKeyAsEachKindDemands) {
    auto fill = [](uint16_t* slot, int pixels, int seed) {
        for (int i = 0; i < pixels; i++) slot[i] = i % 5 == 2 ? SpriteKeyColour : uint16_t(seed + i);
    };
    fill(G.HeroFrames[3], 256, 100), fill(G.SpiderFrames[2], 324, 2000);
    fill(G.TileImages[4], 400, 5000), fill(G.ExitImage, 256, 9000);
    struct Case {
        const char* what;
        std::function<void()> draw;
        const uint16_t* source;
        int sourceWidth, size, step;  // drawn size; step 2 at half size
        int x, y;                     // where the top-left lands
        bool mirrored, keyed;
        int maxY;                     // first row never drawn
    };
    const uint16_t *hero = G.HeroFrames[3], *spider = G.SpiderFrames[2];
    const Case cases[] = {
        {"dog", [] { DrawDogSprite(3, 100, 50, 0); }, hero, 16, 16, 1, 100, 50, false, true, 320},
        {"dog mirrored", [] { DrawDogSprite(3, 100, 50, 1); }, hero, 16, 16, 1, 100, 50, true, true, 320},
        {"dog top-left", [] { DrawDogSprite(3, -5, -3, 0); }, hero, 16, 16, 1, -5, -3, false, true, 320},
        {"dog bottom-right", [] { DrawDogSprite(3, 230, 310, 1); }, hero, 16, 16, 1, 230, 310, true, true, 320},
        {"dog at 230", [] { DrawDogSprite(3, 0, 230, 0); }, hero, 16, 16, 1, 0, 230, false, true, 320},
        {"dog far away", [] { DrawDogSprite(3, -500, 9000, 0); }, hero, 16, 16, 1, -500, 9000, false, true, 320},
        {"dog half", [] { DrawDogSpriteHalf(3, 251, 251); }, hero, 16, 8, 2, 125, 125, false, true, 320},
        {"dog half left", [] { DrawDogSpriteHalf(3, -3, 633); }, hero, 16, 8, 2, -1, 316, false, true, 320},
        {"spider at 230", [] { DrawSpiderSprite(2, 10, 230); }, spider, 18, 18, 1, 10, 230, false, true, 240},
        {"spider corner", [] { DrawSpiderSprite(2, -7, -9); }, spider, 18, 18, 1, -7, -9, false, true, 240},
        {"spider right", [] { DrawSpiderSprite(2, 229, 0); }, spider, 18, 18, 1, 229, 0, false, true, 240},
        {"spider half", [] { DrawSpiderSpriteHalf(2, 471, 470); }, spider, 18, 9, 2, 235, 235, false, true, 240},
        {"spider half odd", [] { DrawSpiderSpriteHalf(2, -5, -1); }, spider, 18, 9, 2, -2, 0, false, true, 240},
        {"tile", [] { DrawTile(4, 100, 260); }, G.TileImages[4], 20, 20, 1, 100, 260, false, true, 320},
        {"tile off the edge", [] { DrawTile(4, 230, 310); }, G.TileImages[4], 20, 20, 1, 230, 310, false, true, 320},
        {"exit icon", [] { DrawExitIcon(224, 0); }, G.ExitImage, 16, 16, 1, 224, 0, false, false, 320},
        {"exit off the edge", [] { DrawExitIcon(-4, 310); }, G.ExitImage, 16, 16, 1, -4, 310, false, false, 320},
    };
    for (const Case& c : cases) {
        std::vector<uint16_t> want(BackBufferPixels, Untouched);
        for (int r = 0; r < c.size; r++)
            for (int col = 0; col < c.size; col++) {
                uint16_t p = c.source[r * c.step * c.sourceWidth + (c.mirrored ? c.sourceWidth - 1 - col : col * c.step)];
                int x = c.x + col, y = c.y + r;
                if ((c.keyed && p == SpriteKeyColour) || x < 0 || x >= 240 || y < 0 || y >= c.maxY) continue;
                want[y * 240 + x] = p;
            }
        std::fill(G.BackBuffer, G.BackBuffer + BackBufferPixels, Untouched);
        c.draw();
        ExpectBuffer(want, c.what);
    }
}
