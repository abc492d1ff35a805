// The line and the sound indicator, pixel for pixel.
#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "core/globals.h"
#include "gfx/draw.h"

namespace {

using Pixels = std::set<std::pair<int, int>>;

Pixels Marked(uint16_t colour) {
    Pixels out;
    for (int y = 0; y < 320; y++)
        for (int x = 0; x < 240; x++)
            if (G.BackBuffer[y * 240 + x] == colour) out.insert({x, y});
    return out;
}

}  // namespace

TEST(DrawLine, PlotsStartButNeverEnd) {
    const struct {
        float x0, y0, x1, y1;
        Pixels expected;
    } cases[] = {
        {5, 5, 5, 5, {}},
        {5, 5, 5.9f, 5.9f, {}},
        {0, 0, 3, 0, {{0, 0}, {1, 0}, {2, 0}}},
        {3, 0, 0, 0, {{3, 0}, {2, 0}, {1, 0}}},
        {0, 0, 4, 2, {{0, 0}, {1, 0}, {2, 1}, {3, 1}}},
        {4, 2, 0, 0, {{0, 0}, {1, 0}, {2, 1}, {3, 1}}},
        {10, 10, 10, 14, {{10, 10}, {10, 11}, {10, 12}, {10, 13}}},
        {10, 14, 10, 10, {{10, 10}, {10, 11}, {10, 12}, {10, 13}}},
        {2.5f, 1.5f, 5.5f, 1.5f, {{2, 1}, {3, 1}, {4, 1}}},  // truncation, not rounding
    };
    for (const auto& c : cases) {
        ClearBackBuffer(0);
        DrawLine(c.x0, c.y0, c.x1, c.y1, 0xFFFF);
        EXPECT_EQ(Marked(0xFFFF), c.expected)
            << c.x0 << "," << c.y0 << " -> " << c.x1 << "," << c.y1;
    }
}

TEST(SoundIndicator, SpeakerIsOpaqueAndTheCrossShowsOnlyWhileMuted) {
    for (int i = 0; i < 256; i++) G.SpeakerImage[i] = uint16_t(i == 0 ? 0xF800 : 0x0400 + i);
    for (int8_t soundOn : {int8_t(1), int8_t(0)}) {
        ClearBackBuffer(0);
        G.SoundOn = soundOn;
        DrawSpeakerIcon(224, 304);
        DrawMuteCross();
        Pixels red = Marked(0xF800);
        if (soundOn) {
            for (int r = 0; r < 16; r++)
                for (int c = 0; c < 16; c++)
                    ASSERT_EQ(G.BackBuffer[(304 + r) * 240 + 224 + c], G.SpeakerImage[r * 16 + c]);
            EXPECT_EQ(red, Pixels({{224, 304}}));  // the speaker's own red pixel: no key colour
            continue;
        }
        Pixels expected;
        for (int k = 0; k < 3; k++)
            for (int i = 0; i < 16; i++) {
                expected.insert({222 + k + i, 303 + i});
                if (238 + k - i < 240) expected.insert({238 + k - i, 303 + i});
            }
        expected.insert({224, 304});
        EXPECT_EQ(red, expected);  // exactly the strokes: nothing wraps onto the left edge
    }
    G.SoundOn = 0;
}
