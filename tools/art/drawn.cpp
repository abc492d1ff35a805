// The pictures drawn by code: the red font, the title picture, the backdrop and the two panels.
#include <cstdio>
#include <cstring>

#include "art.h"

// The red font's cells in order, the same string the game maps characters through; cell 49 is a
// space.
static const char RedFontCharset[] = " !,~./0123456789:;   ? ABCDEFGHIJKLMNOPQRSTUVWXYZ ";

// One colour as red, green, blue.
struct Rgb {
    int r, g, b;  // 0..255 each
};

// The palette index of the colour t/256 of the way from a to b, in steps of 1/16 to spare the
// palette.
static int Blend(ArtPicture* p, Rgb a, Rgb b, int t) {
    if (t < 0) t = 0;
    if (t > 256) t = 256;
    t = t / 16 * 16;
    return InkIndex(p, a.r + (b.r - a.r) * t / 256, a.g + (b.g - a.g) * t / 256,
                    a.b + (b.b - a.b) * t / 256);
}

static int Ink(ArtPicture* p, Rgb c) { return InkIndex(p, c.r, c.g, c.b); }

// A small fixed hash, so the stars and the speckles fall the same way on every build.
static unsigned Scatter(unsigned n) {
    n = (n ^ 61u) ^ (n >> 16);
    n *= 9u;
    n ^= n >> 4;
    n *= 0x27d4eb2du;
    return n ^ (n >> 15);
}

// How one letter is coloured: outline, shadow (or none), a shine on top edges and a top-to-bottom
// ramp.
struct LetterStyle {
    int scale;         // pixels per letter-shape pixel
    int shadow;        // offset of the drop shadow, 0 for none
    Rgb outline;       // the ring around the ink
    Rgb shadowColour;  // the drop shadow
    Rgb shine;         // ink pixels whose upper neighbour is clear
    Rgb top;           // ink at the top row
    Rgb bottom;        // ink at the bottom row
};

static const int LetterBoxMax = 7 * 4 + 8;  // the largest scaled letter plus its outline and shadow

// Ink mask of a letter scaled up, with one pixel of margin on every side.
static void LetterMask(char ch, int scale, uint8_t mask[LetterBoxMax][LetterBoxMax]) {
    std::memset(mask, 0, sizeof(uint8_t) * LetterBoxMax * LetterBoxMax);
    const ArtLetter& letter = ArtLetters[uint8_t(ch) & 127];
    for (int y = 0; y < 7 * scale; y++) {
        for (int x = 0; x < 5 * scale; x++) {
            if (letter.rows[y / scale] & (0x10 >> (x / scale))) mask[y + 1][x + 1] = 1;
        }
    }
}

static int NearInk(uint8_t mask[LetterBoxMax][LetterBoxMax], int x, int y) {
    for (int dy = -1; dy <= 1; dy++) {
        for (int dx = -1; dx <= 1; dx++) {
            int mx = x + dx, my = y + dy;
            if (mx >= 0 && my >= 0 && mx < LetterBoxMax && my < LetterBoxMax && mask[my][mx])
                return 1;
        }
    }
    return 0;
}

// Draws a letter with its top-left ink pixel at (x, y); the outline reaches one pixel further out.
static void DrawLetter(ArtPicture* p, char ch, int x, int y, const LetterStyle& style) {
    static uint8_t mask[LetterBoxMax][LetterBoxMax];  // the scaled letter being drawn
    LetterMask(ch, style.scale, mask);
    int height = 7 * style.scale;
    int box = 7 * style.scale + 2;
    for (int my = 0; my < box + style.shadow; my++) {
        for (int mx = 0; mx < box + style.shadow; mx++) {
            int sx = mx - style.shadow, sy = my - style.shadow;
            if (style.shadow && sx >= 0 && sy >= 0 && NearInk(mask, sx, sy)) {
                PlotIndex(p, x - 1 + mx, y - 1 + my, Ink(p, style.shadowColour));
            }
        }
    }
    for (int my = 0; my < box; my++) {
        for (int mx = 0; mx < box; mx++) {
            int px = x - 1 + mx, py = y - 1 + my;
            if (mask[my][mx]) {
                int shine = !mask[my - 1][mx];
                int index = shine ? Ink(p, style.shine)
                                  : Blend(p, style.top, style.bottom, (my - 1) * 256 / height);
                PlotIndex(p, px, py, index);
            } else if (NearInk(mask, mx, my)) {
                PlotIndex(p, px, py, Ink(p, style.outline));
            }
        }
    }
}

// 160 x 80: ten by five cells of 16 x 16 on blue, each letter 10 x 14 with its outline.
int DrawRedFont() {
    ArtPicture* p = NewPicture("redfont", 160, 80);
    if (!p) return 0;
    FillRect(p, 0, 0, 160, 80, InkIndex(p, 0, 0, 255));
    const LetterStyle style = {
        2, 0, {72, 8, 8}, {0, 0, 0}, {255, 236, 150}, {255, 178, 60}, {208, 24, 24}};
    for (int n = 0; n < 50; n++) {
        char ch = RedFontCharset[n];
        if (ch == ' ' || !ArtLetters[uint8_t(ch)].defined) continue;
        DrawLetter(p, ch, 16 * (n % 10) + 3, 16 * (n / 10) + 1, style);
    }
    return 1;
}

// Copies a picture made from a grid, each pixel as a scale x scale block; the red key is left out.
static void PastePicture(ArtPicture* p, const char* name, int x, int y, int scale, int mirrored) {
    const ArtPicture* source = FindPicture(name);
    if (!source) {
        std::fprintf(stderr, "murko-art: the title needs %s\n", name);
        ArtFailed = 1;
        return;
    }
    for (int sy = 0; sy < source->height; sy++) {
        for (int sx = 0; sx < source->width; sx++) {
            int column = mirrored ? source->width - 1 - sx : sx;
            const uint8_t* c = source->palette[source->pixels[sy * source->width + column]];
            if (c[0] == 255 && c[1] == 0 && c[2] == 0) continue;
            FillRect(p, x + sx * scale, y + sy * scale, scale, scale,
                     InkIndex(p, c[0], c[1], c[2]));
        }
    }
}

// Rows y0..y1 of a vertical ramp from a to b.
static void VerticalRamp(ArtPicture* p, int y0, int y1, Rgb a, Rgb b) {
    for (int y = y0; y <= y1; y++)
        FillRect(p, 0, y, p->width, 1, Blend(p, a, b, (y - y0) * 256 / (y1 - y0 + 1)));
}

static void DrawStars(ArtPicture* p, int bottom, int count) {
    for (int i = 0; i < count; i++) {
        unsigned h = Scatter(unsigned(i) * 7919u + 13u);
        int x = int(h % 240u), y = int((h >> 8) % unsigned(bottom));
        int bright = 140 + int((h >> 16) % 4u) * 36;
        PlotIndex(p, x, y, InkIndex(p, bright, bright, bright * 7 / 8 + 30));
        if ((h >> 24) % 7u == 0) {  // a few bigger stars with a small cross
            int dim = InkIndex(p, bright / 2, bright / 2, bright / 2 + 20);
            PlotIndex(p, x - 1, y, dim);
            PlotIndex(p, x + 1, y, dim);
            PlotIndex(p, x, y - 1, dim);
            PlotIndex(p, x, y + 1, dim);
        }
    }
}

static void DrawMoon(ArtPicture* p, int cx, int cy, int radius) {
    for (int y = -radius - 3; y <= radius + 3; y++) {
        for (int x = -radius - 3; x <= radius + 3; x++) {
            int d = x * x + y * y;
            if (d <= radius * radius) {
                int light = 220 - (x + y) / 3 * 6;  // a little darker towards the lower right
                if (light > 250) light = 250;
                PlotIndex(p, cx + x, cy + y, InkIndex(p, light, light, light * 3 / 4 + 40));
            } else if (d <= (radius + 3) * (radius + 3)) {
                PlotIndex(p, cx + x, cy + y, InkIndex(p, 60, 60, 110));  // the glow
            }
        }
    }
    const int craters[][3] = {{-5, -4, 3}, {4, 3, 4}, {-3, 7, 2}, {6, -7, 2}};  // x, y, radius
    for (const auto& c : craters) {
        for (int y = -c[2]; y <= c[2]; y++) {
            for (int x = -c[2]; x <= c[2]; x++) {
                if (x * x + y * y <= c[2] * c[2])
                    PlotIndex(p, cx + c[0] + x, cy + c[1] + y, InkIndex(p, 196, 190, 160));
            }
        }
    }
}

static void DrawTitleWords(ArtPicture* p, const char* text, int y) {
    const LetterStyle style = {
        4, 3, {56, 10, 4}, {8, 6, 20}, {255, 244, 180}, {255, 196, 64}, {214, 40, 24}};
    int width = int(std::strlen(text)) * 24 - 4;
    int x = (p->width - width) / 2;
    for (const char* c = text; *c; c++, x += 24) DrawLetter(p, *c, x, y, style);
}

// 240 x 192: the night sky with the name, Murko-Dog on the maze wall, a spider on its thread, the
// path.
int DrawTitle() {
    ArtPicture* p = NewPicture("back1", 240, 192);
    if (!p) return 0;
    VerticalRamp(p, 0, 133, {8, 10, 36}, {58, 36, 96});
    DrawStars(p, 130, 70);
    DrawMoon(p, 206, 84, 13);
    DrawTitleWords(p, "MURKO-DOG", 14);
    for (int y = 134; y < 174; y += 20) {
        for (int x = 0; x < 240; x += 20) PastePicture(p, "brick", x, y, 1, 0);
    }
    for (int x = 0; x < 240; x += 20) PastePicture(p, "open", x, 174, 1, 0);
    FillRect(p, 0, 134, 240, 1, InkIndex(p, 20, 12, 10));  // the top edge of the wall
    PastePicture(p, "dogDown1", 88, 70, 4, 0);
    for (int y = 50; y < 104; y++)
        PlotIndex(p, 40, y, InkIndex(p, 200, 200, 220));  // the spider's thread
    PastePicture(p, "murko1", 23, 100, 2, 0);
    PastePicture(p, "pickBone", 176, 134, 1, 0);
    return !ArtFailed;
}

// 240 x 320: a dark blue wall of faint bricks, quiet enough for white text and the red font.
int DrawBackdrop() {
    ArtPicture* p = NewPicture("backdrop1", 240, 320);
    if (!p) return 0;
    for (int y = 0; y < 320; y++) {
        int row = y / 10, shift = (row % 2) * 10;
        for (int x = 0; x < 240; x++) {
            int t = y * 256 / 320;
            Rgb top = {20, 24, 48}, bottom = {8, 10, 24};
            int mortar = (y % 10 == 9) || ((x + shift) % 20 == 19);
            Rgb c = {top.r + (bottom.r - top.r) * t / 256, top.g + (bottom.g - top.g) * t / 256,
                     top.b + (bottom.b - top.b) * t / 256};
            if (mortar)
                c = {c.r * 2 / 3, c.g * 2 / 3, c.b * 2 / 3};
            else if ((x + shift) % 20 == 0 || y % 10 == 0)
                c = {c.r + 6, c.g + 6, c.b + 8};
            PlotIndex(p, x, y, InkIndex(p, c.r, c.g, c.b));
        }
    }
    return !ArtFailed;
}

// A raised box: face ramp, light top and left edges, dark bottom and right edges, cut corners.
static void DrawButton(ArtPicture* p, int x, int y, int w, int h, Rgb faceTop, Rgb faceBottom) {
    int light = InkIndex(p, 150, 176, 240), dark = InkIndex(p, 14, 16, 40),
        edge = InkIndex(p, 6, 6, 16);
    for (int row = 1; row < h - 1; row++)
        FillRect(p, x + 1, y + row, w - 2, 1, Blend(p, faceTop, faceBottom, row * 256 / h));
    FillRect(p, x + 1, y, w - 2, 1, edge);
    FillRect(p, x + 1, y + h - 1, w - 2, 1, edge);
    FillRect(p, x, y + 1, 1, h - 2, edge);
    FillRect(p, x + w - 1, y + 1, 1, h - 2, edge);
    FillRect(p, x + 2, y + 1, w - 4, 1, light);
    FillRect(p, x + 1, y + 2, 1, h - 4, light);
    FillRect(p, x + 2, y + h - 2, w - 4, 1, dark);
    FillRect(p, x + w - 2, y + 2, 1, h - 4, dark);
}

// 240 x 32: one wide button over x 2..219; the speaker button sits right of it on the last bar.
int DrawBottomPanel() {
    ArtPicture* p = NewPicture("panel1", 240, 32);
    if (!p) return 0;
    VerticalRamp(p, 0, 31, {22, 24, 44}, {12, 12, 26});
    DrawButton(p, 2, 2, 218, 28, {74, 96, 178}, {34, 44, 110});
    return !ArtFailed;
}

// The energy strip at x 101..236, rows 4..15: red on the left, yellow, then green on the right.
static void DrawEnergyStrip(ArtPicture* p) {
    FillRect(p, 100, 3, 138, 14, InkIndex(p, 0, 0, 0));
    FillRect(p, 99, 2, 140, 1, InkIndex(p, 150, 176, 240));
    FillRect(p, 99, 17, 140, 1, InkIndex(p, 150, 176, 240));
    const Rgb stops[3] = {{224, 40, 24}, {250, 220, 40}, {60, 220, 60}};
    for (int c = 0; c < 136; c++) {
        int half = c < 68 ? 0 : 1, t = (c - half * 68) * 256 / 68 / 16 * 16;
        Rgb a = stops[half], b = stops[half + 1];
        Rgb ink = {a.r + (b.r - a.r) * t / 256, a.g + (b.g - a.g) * t / 256,
                   a.b + (b.b - a.b) * t / 256};
        for (int row = 0; row < 12; row++) {
            int light = row < 3 ? 60 - row * 20 : row > 8 ? -(row - 8) * 30 : 0;
            Rgb shade = {ink.r + light, ink.g + light, ink.b + light};
            shade = {shade.r < 0     ? 0
                     : shade.r > 255 ? 255
                                     : shade.r,
                     shade.g < 0     ? 0
                     : shade.g > 255 ? 255
                                     : shade.g,
                     shade.b < 0     ? 0
                     : shade.b > 255 ? 255
                                     : shade.b};
            PlotIndex(p, 101 + c, 4 + row, InkIndex(p, shade.r, shade.g, shade.b));
        }
    }
}

// 240 x 80: a calm frame with four label rows, the energy strip, and wells for bones, poison and
// score.
int DrawHudPanel() {
    ArtPicture* p = NewPicture("panel2", 240, 80);
    if (!p) return 0;
    VerticalRamp(p, 0, 79, {30, 34, 62}, {16, 18, 36});
    FillRect(p, 0, 0, 240, 1, InkIndex(p, 120, 140, 200));
    FillRect(p, 0, 1, 240, 1, InkIndex(p, 60, 70, 120));
    for (int row = 1; row < 4; row++) FillRect(p, 2, 20 * row - 1, 94, 1, InkIndex(p, 40, 46, 84));
    FillRect(p, 98, 19, 124, 22, InkIndex(p, 8, 8, 20));  // the bone wells
    FillRect(p, 98, 41, 22, 20, InkIndex(p, 8, 8, 20));   // the poison well
    FillRect(p, 98, 61, 84, 18, InkIndex(p, 8, 8, 20));   // behind the score
    DrawEnergyStrip(p);
    return !ArtFailed;
}
