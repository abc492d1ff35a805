// Back buffer primitives: pixel, line, clear, and the sound indicator.
#include "gfx/draw.h"

#include <cstring>

#include "core/globals.h"

void PutPixel(int x, int y, uint16_t colour) { G.BackBuffer[y * ScreenWidth + x] = colour; }

void ClearBackBuffer(int value) { memset(G.BackBuffer, value & 0xFF, sizeof G.BackBuffer); }

// A single-precision digital differential analyser, walked downwards; n pixels, the end point
// never.
void DrawLine(float x0, float y0, float x1, float y1, uint16_t colour) {
    if (y0 > y1) {
        float t = x0;
        x0 = x1;
        x1 = t;
        t = y0;
        y0 = y1;
        y1 = t;
    }
    float dx = x1 - x0, dy = y1 - y0;
    int n = int(dx < 0 ? -dx : dx);
    int ny = int(dy < 0 ? -dy : dy);
    if (ny > n) n = ny;
    if (n == 0) return;
    float sx = dx / float(n), sy = dy / float(n);
    float x = x0, y = y0;
    for (int i = 0; i < n; i++) {
        PutPixel(int(x), int(y), colour);
        x += sx;
        y += sy;
    }
}

void DrawSpeakerIcon(int x, int y) {
    for (int r = 0; r < 16; r++)
        memcpy(&G.BackBuffer[(y + r) * ScreenWidth + x], &G.SpeakerImage[r * 16],
               16 * sizeof(uint16_t));
}

// Three falling and three rising strokes side by side over the speaker. The third rising stroke
// would start at x 240, past the right edge (on the next row); it starts one row lower instead.
void DrawMuteCross() {
    if (G.SoundOn != 0) return;
    for (int k = 0; k < 3; k++) {
        DrawLine(float(222 + k), 303.0f, float(238 + k), 319.0f, 0xF800);
        if (238 + k < ScreenWidth)
            DrawLine(float(222 + k), 319.0f, float(238 + k), 303.0f, 0xF800);
        else
            DrawLine(float(222 + k), 319.0f, float(ScreenWidth - 1),
                     float(303 + 238 + k - (ScreenWidth - 1)), 0xF800);
    }
}
