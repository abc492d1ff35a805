// Sprite, tile and maze-view blits: clipping, key colour and offsets, against a pixel-by-pixel
// model.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "core/globals.h"
#include "gfx/blit.h"

namespace {

constexpr uint16_t Untouched = 0x0841;  // back buffer fill that no test picture uses

// Draws on an untouched buffer and expects each pixel to be model(x, y), or untouched where that is
// -1.
void ExpectDrawn(const std::function<void()>& draw, const std::function<int(int x, int y)>& model,
                 const std::string& what) {
    std::fill(G.BackBuffer, G.BackBuffer + BackBufferPixels, Untouched);
    draw();
    int wrong = 0;
    for (int i = 0; i < BackBufferPixels; i++) {
        const int want = model(i % 240, i / 240);
        if (G.BackBuffer[i] != (want < 0 ? Untouched : want)) wrong++;
    }
    EXPECT_EQ(wrong, 0) << what;
}

}  // namespace

// Rows 240 up stay untouched; cells off the maze and codes that name no tile show brick.
TEST(MazeView, BothScalesMatchTheWorld) {
    for (int t = 0; t < 10; t++)
        for (int p = 0; p < 400; p++) G.TileImages[t][p] = uint16_t(1 + t * 1000 + p);
    G.MazeWidth = 57;
    G.MazeHeight = 43;
    for (int cx = 0; cx < 57; cx++)
        for (int cy = 0; cy < 43; cy++)
            G.MazeGrid[cx * MazeStride + cy] = int8_t((cx * 3 + cy * 5) % 8);
    G.MazeGrid[2 * MazeStride + 1] = 10;
    G.MazeGrid[3 * MazeStride + 1] = -3;
    const int scrolls[][2] = {{0, 0}, {-30, 0}, {5, 7}, {10, 10}, {-21, -39}, {1999, -2000}};
    for (int half = 0; half < 2; half++)
        for (const auto& s : scrolls) {
            const int side =
                half ? 10
                     : 20;  // a cell on screen; world pixels shifted by 10000 cells to round down
            ExpectDrawn(
                [&] { half ? DrawMazeViewHalf(s[0], s[1]) : DrawMazeView(s[0], s[1]); },
                [&](int x, int y) {
                    const int wx = x + s[0] / (half + 1) + 10000 * side;
                    const int wy = y + s[1] / (half + 1) + 10000 * side;
                    const int cx = wx / side - 10000;
                    const int cy = wy / side - 10000;
                    int code = cx >= 0 && cy >= 0 && cx < 57 && cy < 43
                                   ? G.MazeGrid[cx * MazeStride + cy]
                                   : -1;
                    int tile = code >= 0 && code <= 9 ? code : int(CellWall);
                    return y >= 240 ? -1
                                    : 1 + tile * 1000 + (wy % side) * (20 / side) * 20 +
                                          (wx % side) * (20 / side);
                },
                (half ? "half " : "full ") + std::to_string(s[0]) + "," + std::to_string(s[1]));
        }
}

TEST(Sprites, ClipAndKeyAsEachKindDemands) {
    uint16_t* slots[] = {G.HeroFrames[3], G.SpiderFrames[2], G.TileImages[4], G.ExitImage};
    const int pixels[] = {256, 324, 400, 256};
    for (int s = 0; s < 4; s++)
        for (int i = 0; i < pixels[s]; i++)
            slots[s][i] = i % 5 == 2 ? SpriteKeyColour : uint16_t(1 + s * 1000 + i);
    const struct {  // drawn size, step 2 at half size; where the top-left lands; first row never
                    // drawn
        const char* what;
        std::function<void()> draw;
        int slot, sourceWidth, size, step, x, y, maxY;
        bool mirrored, keyed;
    } cases[] = {
        {"dog mirrored", [] { DrawDogSprite(3, 230, 310, 1); }, 0, 16, 16, 1, 230, 310, 320, true,
         true},
        {"dog top-left", [] { DrawDogSprite(3, -5, -3, 0); }, 0, 16, 16, 1, -5, -3, 320, false,
         true},
        {"dog half", [] { DrawDogSpriteHalf(3, -3, 633); }, 0, 16, 8, 2, -1, 316, 320, false, true},
        {"spider at 230", [] { DrawSpiderSprite(2, 229, 230); }, 1, 18, 18, 1, 229, 230, 240, false,
         true},
        {"spider half", [] { DrawSpiderSpriteHalf(2, 471, 470); }, 1, 18, 9, 2, 235, 235, 240,
         false, true},
        {"tile", [] { DrawTile(4, 230, 310); }, 2, 20, 20, 1, 230, 310, 320, false, true},
        {"exit icon", [] { DrawExitIcon(-4, 310); }, 3, 16, 16, 1, -4, 310, 320, false, false},
    };
    for (const auto& c : cases)
        ExpectDrawn(
            c.draw,
            [&](int x, int y) {
                const int col = x - c.x;
                const int r = y - c.y;
                if (col < 0 || r < 0 || col >= c.size || r >= c.size || y >= c.maxY) return -1;
                uint16_t p = slots[c.slot][r * c.step * c.sourceWidth +
                                           (c.mirrored ? c.sourceWidth - 1 - col : col * c.step)];
                return c.keyed && p == SpriteKeyColour ? -1 : int(p);
            },
            c.what);
}
