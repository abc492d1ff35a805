// Picture placement in the window and the stylus mapping through scale, letterbox and HiDPI.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/pointer_map.h"

TEST(PointerMap, FitsTheLargestWholeScaleCentred) {
    struct Case {
        int w, h;
        PictureRect expect;
    };
    const Case cases[] = {
        {240, 320, {0, 0, 240, 320}},
        {480, 640, {0, 0, 480, 640}},
        {1000, 700, {260, 30, 480, 640}},    // wide window: bars left and right, and a little top and bottom
        {719, 959, {119, 159, 480, 640}},    // one pixel short of scale 3 each way
        {1280, 1024, {280, 32, 720, 960}},
        {100, 100, {12, 0, 75, 100}},        // smaller than the picture: shrunk, shape kept
        {120, 600, {0, 220, 120, 160}},
    };
    for (const Case& c : cases) {
        PictureRect r = FitPicture(c.w, c.h);
        EXPECT_EQ(r.x, c.expect.x) << c.w << "x" << c.h;
        EXPECT_EQ(r.y, c.expect.y) << c.w << "x" << c.h;
        EXPECT_EQ(r.w, c.expect.w) << c.w << "x" << c.h;
        EXPECT_EQ(r.h, c.expect.h) << c.w << "x" << c.h;
    }
}

TEST(PointerMap, ChoosesTheLargestScaleThatFitsTheDesktop) {
    struct Case {
        int w, h, title, scale;
    };
    const Case cases[] = {
        {1280, 1024, 40, 3}, {1920, 1040, 40, 3}, {1920, 1000, 40, 3}, {1920, 999, 40, 2},
        {2560, 1400, 40, 4}, {3840, 2120, 40, 6}, {700, 2000, 40, 2},  {200, 200, 40, 1},
    };
    for (const Case& c : cases) EXPECT_EQ(ChooseWindowScale(c.w, c.h, c.title), c.scale) << c.w << "x" << c.h;
}

TEST(PointerMap, MapsPointsAndIgnoresTheBars) {
    struct Case {
        int ww, wh, dw, dh;  // window points and drawable pixels
        double x, y;
        bool inside;
        int32_t sx, sy;
    };
    const Case cases[] = {
        {240, 320, 240, 320, 0, 0, true, 0, 0},
        {240, 320, 240, 320, 239, 319, true, 239, 319},
        {240, 320, 240, 320, 240, 10, false, 0, 0},
        {240, 320, 240, 320, -1, 10, false, 0, 0},
        {720, 960, 720, 960, 2, 2, true, 0, 0},
        {720, 960, 720, 960, 3, 5, true, 1, 1},
        {720, 960, 720, 960, 719, 959, true, 239, 319},
        {1000, 700, 1000, 700, 259, 100, false, 0, 0},     // left bar
        {1000, 700, 1000, 700, 260, 30, true, 0, 0},
        {1000, 700, 1000, 700, 739, 669, true, 239, 319},
        {1000, 700, 1000, 700, 740, 100, false, 0, 0},     // right bar
        {1000, 700, 1000, 700, 500, 29, false, 0, 0},      // top bar
        {1000, 700, 1000, 700, 500, 670, false, 0, 0},     // bottom bar
        {500, 350, 1000, 700, 130, 15, true, 0, 0},        // HiDPI: two pixels a point
        {500, 350, 1000, 700, 369.5, 334.5, true, 239, 319},
        {500, 350, 1000, 700, 129.5, 15, false, 0, 0},
        {100, 100, 100, 100, 50, 50, true, 121, 160},      // shrunk picture: (50 - 12) * 240 / 75
        {0, 0, 0, 0, 0, 0, false, 0, 0},                   // a window with no size yet
        {240, 320, 240, 320, NAN, 5, false, 0, 0},
    };
    for (const Case& c : cases) {
        int32_t sx = -7, sy = -7;
        bool inside = MapWindowPoint(c.ww, c.wh, c.dw, c.dh, c.x, c.y, &sx, &sy);
        EXPECT_EQ(inside, c.inside) << c.ww << "x" << c.wh << " at " << c.x << "," << c.y;
        if (inside && c.inside) {
            EXPECT_EQ(sx, c.sx) << c.ww << "x" << c.wh << " at " << c.x << "," << c.y;
            EXPECT_EQ(sy, c.sy) << c.ww << "x" << c.wh << " at " << c.x << "," << c.y;
        }
        if (!inside) {
            EXPECT_TRUE(sx == -7 && sy == -7) << "a miss must leave the position alone";
        }
    }
}

// Every window pixel that shows screen pixel (x, y) maps back to exactly (x, y), at several scales
// with uneven letterbox bars.
TEST(PointerMap, EveryShownPixelMapsBackToItsScreenPixel) {
    const int bars[][2] = {{0, 0}, {7, 0}, {0, 13}, {31, 5}};
    for (int scale = 1; scale <= 4; scale++) {
        for (const auto& bar : bars) {
            int w = PictureWidth * scale + bar[0], h = PictureHeight * scale + bar[1];
            PictureRect r = FitPicture(w, h);
            ASSERT_EQ(r.w, PictureWidth * scale);
            for (int py = r.y - 1; py <= r.y + r.h; py++) {
                for (int px = r.x - 1; px <= r.x + r.w; px += (py % 37 == 0 ? 1 : 17)) {
                    int32_t sx = 0, sy = 0;
                    bool inside = MapWindowPoint(w, h, w, h, px, py, &sx, &sy);
                    bool shown = px >= r.x && px < r.x + r.w && py >= r.y && py < r.y + r.h;
                    ASSERT_EQ(inside, shown) << "scale " << scale << " at " << px << "," << py;
                    if (!shown) continue;
                    ASSERT_EQ(sx, (px - r.x) / scale);
                    ASSERT_EQ(sy, (py - r.y) / scale);
                }
            }
        }
    }
}
