// Sprite, tile and icon blits, and the full- and half-scale maze views, into the back buffer.
#include "gfx/blit.h"

#include <cstring>

#include "core/globals.h"

constexpr int TileSize = 20;       // tile side in pixels
constexpr int TileSlots = 10;      // TileImages slots
constexpr int ViewTiles = 13;      // tiles across the full-scale view at any offset
constexpr int HalfTile = 10;       // tile side at half scale
constexpr int HalfViewTiles = 25;  // tiles across the half-scale view at any offset

// Where one picture lands: the visible part of a w x h (or step-sampled) picture at (x, y).
struct BlitClip {
    int c0, c1;  // visible destination columns, c0 <= c < c1
    int r0, r1;  // visible destination rows, r0 <= r < r1
};

// Clips a w x h destination rectangle at (x, y) to columns 0..maxX-1 and rows 0..maxY-1.
static BlitClip ClipTo(int x, int y, int w, int h, int maxX, int maxY) {
    BlitClip clip = {0, w, 0, h};
    if (x < 0) clip.c0 = -x;
    if (x + w > maxX) clip.c1 = maxX - x;
    if (y < 0) clip.r0 = -y;
    if (y + h > maxY) clip.r1 = maxY - y;
    return clip;
}

// The keyed copy every sprite and tile uses: source pixel (step*c, step*r), or (w-1-c) mirrored.
static void KeyedBlit(const uint16_t* src, int srcWidth, int w, int h, int step, int x, int y,
                      int mirrored, int maxX, int maxY) {
    BlitClip clip = ClipTo(x, y, w, h, maxX, maxY);
    for (int r = clip.r0; r < clip.r1; r++) {
        const uint16_t* srcRow = src + r * step * srcWidth;
        int base = (y + r) * ScreenWidth + x;
        for (int c = clip.c0; c < clip.c1; c++) {
            uint16_t pixel = srcRow[mirrored ? srcWidth - 1 - c : c * step];
            if (pixel != SpriteKeyColour) G.BackBuffer[base + c] = pixel;
        }
    }
}

void DrawDogSprite(int frame, int x, int y, int mirrored) {
    KeyedBlit(G.HeroFrames[frame], 16, 16, 16, 1, x, y, mirrored, ScreenWidth, ScreenHeight);
}

void DrawDogSpriteHalf(int frame, int x, int y) {
    KeyedBlit(G.HeroFrames[frame], 16, 8, 8, 2, x / 2, y / 2, 0, ScreenWidth, ScreenHeight);
}

void DrawSpiderSprite(int frame, int x, int y) {
    KeyedBlit(G.SpiderFrames[frame], 18, 18, 18, 1, x, y, 0, ScreenWidth, MazeViewSize);
}

void DrawSpiderSpriteHalf(int frame, int x, int y) {
    KeyedBlit(G.SpiderFrames[frame], 18, 9, 9, 2, x / 2, y / 2, 0, ScreenWidth, MazeViewSize);
}

// Tiles are placed wholly on screen by every caller; the clip only keeps a stray one inside the
// buffer.
void DrawTile(int tile, int x, int y) {
    KeyedBlit(G.TileImages[tile], TileSize, TileSize, TileSize, 1, x, y, 0, ScreenWidth,
              ScreenHeight);
}

void DrawExitIcon(int x, int y) {
    BlitClip clip = ClipTo(x, y, 16, 16, ScreenWidth, ScreenHeight);
    if (clip.c1 <= clip.c0) return;
    for (int r = clip.r0; r < clip.r1; r++)
        memcpy(G.BackBuffer + ((y + r) * ScreenWidth + x + clip.c0),
               G.ExitImage + (r * 16 + clip.c0), size_t(clip.c1 - clip.c0) * 2);
}

// First tile of the view: the scroll divided by 20 toward zero, less one when negative.
static int FirstTile(int scroll) { return scroll / TileSize - (scroll < 0 ? 1 : 0); }

// The part first <= k < end of a span of size pixels starting at start that lies in the maze
// view (0..239); false when none of it does.
static bool ViewSpan(int start, int size, int* first, int* end) {
    *first = start < 0 ? -start : 0;
    *end = start + size > MazeViewSize ? MazeViewSize - start : size;
    return *end > *first;
}

// The tile slot of cell (cx, cy): brick outside the maze, and for a code that names no tile slot.
static int CellTileSlot(int cx, int cy) {
    int width = G.MazeWidth < MazeStride ? G.MazeWidth : MazeStride;
    int height = G.MazeHeight < MazeStride ? G.MazeHeight : MazeStride;
    int tile = CellWall;
    if (cx >= 0 && cx < width && cy >= 0 && cy < height) tile = G.MazeGrid[cx * MazeStride + cy];
    return tile < 0 || tile >= TileSlots ? CellWall : tile;
}

// One screen row of the full-scale view: a clipped first tile, whole 20-pixel rows, a clipped last
// tile.
static void CopyViewRow(uint16_t* out, const uint16_t* const tiles[ViewTiles], int r, int ox) {
    int src = r * TileSize;
    int firstWidth = TileSize + ox;  // ox is -20..0
    if (firstWidth > 0) memcpy(out, tiles[0] + src - ox, size_t(firstWidth) * 2);
    out += firstWidth;
    for (int i = 1; i < ViewTiles - 1; i++, out += TileSize)
        memcpy(out, tiles[i] + src, TileSize * 2);
    if (ox < 0) memcpy(out, tiles[ViewTiles - 1] + src, size_t(-ox) * 2);
}

void DrawMazeView(int scrollX, int scrollY) {
    int tx = FirstTile(scrollX), ty = FirstTile(scrollY);
    int ox = tx * TileSize - scrollX, oy = ty * TileSize - scrollY;
    const uint16_t* tiles[ViewTiles];
    for (int j = 0; j < ViewTiles; j++) {
        int top = oy + j * TileSize;
        int r0, r1;
        if (!ViewSpan(top, TileSize, &r0, &r1)) continue;
        for (int i = 0; i < ViewTiles; i++) tiles[i] = G.TileImages[CellTileSlot(tx + i, ty + j)];
        for (int r = r0; r < r1; r++)
            CopyViewRow(G.BackBuffer + (top + r) * ScreenWidth, tiles, r, ox);
    }
}

// Every tile at half scale, the top-left pixel of each 2 x 2 block; rebuilt at each half-scale
// draw.
static uint16_t HalfTiles[TileSlots][HalfTile * HalfTile];

static void BuildHalfTiles() {
    for (int t = 0; t < TileSlots; t++)
        for (int r = 0; r < HalfTile; r++)
            for (int c = 0; c < HalfTile; c++)
                HalfTiles[t][r * HalfTile + c] = G.TileImages[t][2 * r * TileSize + 2 * c];
}

// One screen row of the half-scale view, from tiles whose first column lies at ox (-10..0).
static void CopyHalfViewRow(uint16_t* out, const uint16_t* const tiles[HalfViewTiles], int r,
                            int ox) {
    int src = r * HalfTile;
    for (int i = 0; i < HalfViewTiles; i++) {
        int left = ox + i * HalfTile;
        int c0, c1;
        if (!ViewSpan(left, HalfTile, &c0, &c1)) continue;
        if (c0 == 0 && c1 == HalfTile)
            memcpy(out + left, tiles[i] + src, HalfTile * 2);  // a fixed size copies fastest
        else
            memcpy(out + (left + c0), tiles[i] + src + c0, size_t(c1 - c0) * 2);
    }
}

void DrawMazeViewHalf(int scrollX, int scrollY) {
    BuildHalfTiles();
    int tx = FirstTile(scrollX), ty = FirstTile(scrollY);
    int ox = HalfTile * tx - scrollX / 2, oy = HalfTile * ty - scrollY / 2;
    const uint16_t* tiles[HalfViewTiles];
    for (int j = 0; j < HalfViewTiles; j++) {
        int top = oy + j * HalfTile;
        int r0, r1;
        if (!ViewSpan(top, HalfTile, &r0, &r1)) continue;
        for (int i = 0; i < HalfViewTiles; i++) tiles[i] = HalfTiles[CellTileSlot(tx + i, ty + j)];
        for (int r = r0; r < r1; r++)
            CopyHalfViewRow(G.BackBuffer + (top + r) * ScreenWidth, tiles, r, ox);
    }
}
