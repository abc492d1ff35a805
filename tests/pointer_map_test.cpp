// Picture placement in the window and the stylus mapping through scale, letterbox and HiDPI.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/pointer_map.h"

TEST(PointerMap, PlacesThePictureAndChoosesTheWindowScale) {
    const PictureRect r = FitPicture(100, 100);  // smaller than the picture: shrunk, shape kept
    EXPECT_EQ(r.x, 12);
    EXPECT_EQ(r.w, 75);
    EXPECT_EQ(r.h, 100);
    const int desktops[][3] = {
        {1920, 1000, 3}, {1920, 999, 2}, {3840, 2120, 6}, {700, 2000, 2}, {200, 200, 1}};
    for (const auto& d : desktops)
        EXPECT_EQ(ChooseWindowScale(d[0], d[1], 40), d[2]) << d[0] << "x" << d[1];
}

// Every drawable pixel, bars included, at scales 1-3 with uneven bars on either axis and two, one
// or 1.5 drawable pixels a window point: shown pixels map to their screen pixel, bars miss.
TEST(PointerMap, EveryShownPixelMapsBackToItsScreenPixel) {
    const int bars[][2] = {{0, 0}, {7, 0}, {0, 13}, {31, 5}};
    for (int scale = 1; scale <= 3; scale++) {
        for (const auto& bar : bars) {
            for (int halves : {2, 3, 4}) {  // drawable pixels a window point, in halves
                const int w = PictureWidth * scale, h = PictureHeight * scale, left = bar[0] / 2,
                          top = bar[1] / 2;
                const int dw = w + bar[0], dh = h + bar[1], ww = dw * 2 / halves,
                          wh = dh * 2 / halves;
                for (int py = top - 1; py <= top + h; py++) {
                    for (int px = left - 1; px <= left + w; px++) {
                        int32_t sx = -7, sy = -7;
                        bool shown = px >= left && px < left + w && py >= top && py < top + h;
                        ASSERT_EQ(MapWindowPoint(ww, wh, dw, dh, (px + 0.5) * ww / dw,
                                                 (py + 0.5) * wh / dh, &sx, &sy),
                                  shown)
                            << "scale " << scale << " halves " << halves << " at " << px << ","
                            << py;
                        ASSERT_EQ(sx, shown ? (px - left) / scale : -7)
                            << "a miss leaves the position alone";
                        ASSERT_EQ(sy, shown ? (py - top) / scale : -7);
                    }
                }
            }
        }
    }
    int32_t sx = 0, sy = 0;
    EXPECT_TRUE(MapWindowPoint(100, 100, 100, 100, 50, 50, &sx, &sy));  // shrunk picture
    EXPECT_EQ(sx, 121);
    EXPECT_EQ(sy, 160);
    EXPECT_FALSE(MapWindowPoint(0, 0, 0, 0, 0, 0, &sx, &sy)) << "a window with no size yet";
    EXPECT_FALSE(MapWindowPoint(240, 320, 240, 320, NAN, 5, &sx, &sy));
}
