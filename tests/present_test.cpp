// PresentFrame on every device layout, against a plain pixel-at-a-time model, inside guarded
// memory.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "app/present.h"
#include "core/globals.h"
#include "platform/host.h"

namespace {

constexpr size_t Guard = 256;   // bytes watched on each side of the device memory
constexpr uint8_t Fill = 0x5A;  // what the device memory and its guards hold before a frame

std::vector<uint8_t> Store;  // guard, device memory, guard
size_t Origin;               // offset of the address the device hands out
int Begins, Ends;            // HostBeginDraw / HostEndDraw calls seen

uint8_t* TestBeginDraw() {
    Begins++;
    return Store.data() + Guard + Origin;
}
void TestEndDraw() { Ends++; }
const HostBackend TestBackend = {nullptr, nullptr,       nullptr,     nullptr, nullptr,
                                 nullptr, TestBeginDraw, TestEndDraw, nullptr, nullptr};

// A fresh guarded memory, then one frame; returns the store as it would be untouched.
std::vector<uint8_t> Present(int32_t bpp, int32_t xPitch, int32_t yPitch, size_t size,
                             size_t origin) {
    Store.assign(Guard + size + Guard, Fill);
    Origin = origin;
    Begins = 0;
    Ends = 0;
    std::vector<uint8_t> untouched = Store;
    G.DisplayBpp = bpp;
    G.DisplayXPitch = xPitch;
    G.DisplayYPitch = yPitch;
    HostUse(&TestBackend);
    PresentFrame();
    HostUse(HeadlessBackend());
    return untouched;
}

// Nothing on either side of the device memory differs from the fill.
bool Guarded(const std::vector<uint8_t>& s) {
    auto fill = [](uint8_t b) { return b == Fill; };
    return std::all_of(s.begin(), s.begin() + Guard, fill) &&
           std::all_of(s.end() - Guard, s.end(), fill);
}

// The plain model: every pixel on its own, in back-buffer order.
void ReferencePresent(uint8_t* dst, int32_t bpp, int32_t xPitch, int32_t yPitch) {
    auto px = [](int x, int y) { return G.BackBuffer[y * 240 + x]; };
    if (bpp == 16) {
        bool fixedRows = xPitch == 2 && (yPitch == 480 || yPitch == 512);
        ptrdiff_t xstep = fixedRows ? 2 : xPitch - (xPitch & 1);
        ptrdiff_t ystep = fixedRows ? yPitch : yPitch - (yPitch & 1);
        uint8_t* start = dst + (ystep < 0 ? -ystep * 319 : 0);
        for (int y = 0; y < 320; y++)
            for (int x = 0; x < 240; x++)
                memcpy(start + y * ystep + x * xstep, &G.BackBuffer[y * 240 + x], 2);
    } else if (bpp == 2) {
        ptrdiff_t words =
            (yPitch - 60) / 4 - ((yPitch - 60) % 4 < 0);  // rounded towards minus infinity
        for (int y = 0; y < 320; y++)
            for (int x = 0; x < 240; x += 4) {
                uint8_t b = 0;
                for (int k = 0; k < 4; k++) b = uint8_t(b << 2 | px(x + k, y) >> 14);
                dst[y * (60 + 4 * words) + x / 4] = b;
            }
    } else if (bpp == 4) {
        auto level = [](uint16_t p) { return ((p >> 11) + ((p >> 5) & 63) + (p & 31)) / 8; };
        for (int x = 0; x < 240; x++)
            for (int j = 0; j < 160; j++)
                dst[160 * x + j] =
                    uint8_t(level(px(x, 319 - 2 * j)) << 4 | level(px(x, 318 - 2 * j)));
    }
}

TEST(Present, EveryLayoutMatchesThePlainModelInsideItsMemory) {
    struct Layout {
        const char* name;
        int32_t bpp, xPitch, yPitch;
        size_t size, origin;  // device memory every write must stay in, and the address handed out
    };
    const Layout layouts[] = {
        {"rgb565", 16, 2, 480, 153600, 0},
        {"rows of 512", 16, 2, 512, 163840, 0},
        {"rotated", 16, -640, 2, 153600, 640 * 239},
        {"flipped", 16, 640, -2, 153600, 0},
        {"rows of 600", 16, 2, 600, 600 * 319 + 480, 0},
        {"rows upwards", 16, 2, -480, 153600, 0},
        {"rotated, odd pitches", 16, -641, 3, 642 * 239 + 640, 642 * 239},
        {"flipped, odd pitches", 16, 641, -3, 4 * 319 + 640 * 239 + 2, 0},
        {"flipped, spaced columns", 16, -700, -2, 700 * 239 + 640, 700 * 239},
        {"gray2", 2, 0, 64, 320 * 64, 0},
        {"gray2 contiguous", 2, 0, 60, 320 * 60, 0},
        {"gray2 upwards, odd pitch", 2, 0, -62, 64 * 319 + 60, 64 * 319},
        {"gray4", 4, 0, 160, 38400, 0},
        {"gray4 ignores pitches", 4, -641, -3, 38400, 0},
    };
    std::mt19937 rng(1);
    for (const Layout& l : layouts) {
        SCOPED_TRACE(l.name);
        for (uint16_t& p : G.BackBuffer) p = uint16_t(rng());
        std::vector<uint8_t> expected = Present(l.bpp, l.xPitch, l.yPitch, l.size, l.origin);
        ReferencePresent(expected.data() + Guard + l.origin, l.bpp, l.xPitch, l.yPitch);
        ASSERT_TRUE(Guarded(expected)) << "the layout table is too small";
        EXPECT_EQ(Begins, 1);
        EXPECT_EQ(Ends, 1);
        ptrdiff_t diff =
            std::mismatch(expected.begin(), expected.end(), Store.begin()).first - expected.begin();
        EXPECT_EQ(diff, ptrdiff_t(expected.size()))
            << "first wrong byte at memory offset " << diff - ptrdiff_t(Guard);
    }
}

}  // namespace
