// PresentFrame on every device layout, against a plain pixel-at-a-time model, inside guarded memory.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "app/globals.h"
#include "app/present.h"
#include "platform/host.h"

namespace {

constexpr size_t Guard = 256;     // bytes watched on each side of the device memory
constexpr uint8_t Fill = 0x5A;    // what the device memory and its guards hold before a frame

// A device memory of a given size with guards around it; the device hands out base + origin.
struct TestPanel {
    std::vector<uint8_t> store;  // guard, memory, guard
    size_t size;                 // bytes of device memory
    size_t origin;               // offset of the address the device hands out
    int begins, ends;            // HostBeginDraw / HostEndDraw calls seen
};
TestPanel Panel;

uint8_t* TestBeginDraw() {
    Panel.begins++;
    return Panel.store.data() + Guard + Panel.origin;
}
void TestEndDraw() { Panel.ends++; }
const HostBackend TestBackend = {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, TestBeginDraw, TestEndDraw};

void ResetPanel(size_t size, size_t origin) {
    Panel.store.assign(Guard + size + Guard, Fill);
    Panel.size = size;
    Panel.origin = origin;
    Panel.begins = Panel.ends = 0;
}

void SetDisplay(int32_t bpp, int32_t xPitch, int32_t yPitch) {
    G.DisplayBpp = bpp;
    G.DisplayXPitch = xPitch;
    G.DisplayYPitch = yPitch;
}

bool GuardsIntact(const std::vector<uint8_t>& store, size_t size) {
    for (size_t i = 0; i < Guard; i++)
        if (store[i] != Fill || store[Guard + size + i] != Fill) return false;
    return true;
}

void Store16(uint8_t* p, uint16_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
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
            for (int x = 0; x < 240; x++) Store16(start + y * ystep + x * xstep, px(x, y));
    } else if (bpp == 2) {
        ptrdiff_t words = (ptrdiff_t(yPitch) - 60) / 4;
        if ((yPitch - 60) % 4 < 0) words--;  // round towards minus infinity
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
                dst[160 * x + j] = uint8_t(level(px(x, 319 - 2 * j)) << 4 | level(px(x, 318 - 2 * j)));
    }
}

struct Layout {
    const char* name;
    int32_t bpp, xPitch, yPitch;
    size_t size, origin;  // device memory every write must stay in, and the address handed out
};

const Layout Layouts[] = {
    {"rgb565", 16, 2, 480, 153600, 0},
    {"rows of 512", 16, 2, 512, 163840, 0},
    {"rotated", 16, -640, 2, 153600, 640 * 239},
    {"flipped", 16, 640, -2, 153600, 0},
    {"rows of 600", 16, 2, 600, 600 * 319 + 480, 0},
    {"rows upwards", 16, 2, -480, 153600, 0},
    {"rows overlapping", 16, 2, 400, 400 * 319 + 480, 0},
    {"wide pixels", 16, 4, 960, 960 * 319 + 4 * 239 + 2, 0},
    {"all columns on one", 16, 0, 2, 640, 0},
    {"rotated, odd pitches", 16, -641, 3, 642 * 239 + 640, 642 * 239},
    {"flipped, odd pitches", 16, 641, -3, 4 * 319 + 640 * 239 + 2, 0},
    {"rotated, spaced columns", 16, -700, 2, 700 * 239 + 640, 700 * 239},
    {"flipped, spaced columns", 16, -700, -2, 700 * 239 + 640, 700 * 239},
    {"gray2", 2, 0, 64, 320 * 64, 0},
    {"gray2 contiguous", 2, 0, 60, 320 * 60, 0},
    {"gray2 odd pitch", 2, 7, 62, 320 * 60, 0},
    {"gray2 upwards", 2, 0, -64, 64 * 319 + 60, 64 * 319},
    {"gray2 upwards, odd pitch", 2, 0, -62, 64 * 319 + 60, 64 * 319},
    {"gray4", 4, 0, 160, 38400, 0},
    {"gray4 ignores pitches", 4, -641, -3, 38400, 0},
};

class Present : public ::testing::Test {
  protected:
    void SetUp() override { HostUse(&TestBackend); }
    void TearDown() override { HostUse(HeadlessBackend()); }
};

void RandomPicture(uint32_t seed) {
    std::mt19937 rng(seed);
    for (uint16_t& p : G.BackBuffer) p = uint16_t(rng());
}

TEST_F(Present, EveryLayoutMatchesThePlainModelInsideItsMemory) {
    for (const Layout& l : Layouts)
        for (uint32_t seed : {1u, 2u, 3u}) {
            SCOPED_TRACE(l.name);
            RandomPicture(seed);
            if (seed == 3) memset(G.BackBuffer, 0xFF, 2 * 240 * 7);  // white rows and a grey ramp
            if (seed == 3)
                for (int i = 0; i < 240; i++) G.BackBuffer[240 * 319 + i] = uint16_t(i * 273);

            ResetPanel(l.size, l.origin);
            std::vector<uint8_t> expected = Panel.store;
            ReferencePresent(expected.data() + Guard + l.origin, l.bpp, l.xPitch, l.yPitch);
            ASSERT_TRUE(GuardsIntact(expected, l.size)) << "the layout table is too small";

            SetDisplay(l.bpp, l.xPitch, l.yPitch);
            PresentFrame();
            EXPECT_EQ(Panel.begins, 1);
            EXPECT_EQ(Panel.ends, 1);
            EXPECT_TRUE(GuardsIntact(Panel.store, l.size)) << "wrote outside the device memory";
            size_t firstDiff = 0;
            while (firstDiff < expected.size() && expected[firstDiff] == Panel.store[firstDiff]) firstDiff++;
            EXPECT_EQ(firstDiff, expected.size()) << "first differing byte at memory offset "
                                                  << ptrdiff_t(firstDiff) - ptrdiff_t(Guard);
        }
}

// Pixel (x, y) holds a value unique to it, so a misplaced pixel is caught.
void NumberedPicture() {
    for (int i = 0; i < 240 * 320; i++) G.BackBuffer[i] = uint16_t(i * 7 + 1);
}

uint16_t Read16(size_t offset) {
    const uint8_t* p = Panel.store.data() + Guard + offset;
    return uint16_t(p[0] | p[1] << 8);
}

TEST_F(Present, SixteenBitPixelsLandWhereTheDeviceExpectsThem) {
    struct Case {
        const char* name;
        int32_t xPitch, yPitch;
        size_t size, origin;
        int x, y;
        size_t offset;  // from the start of device memory
    };
    const Case cases[] = {
        {"480 first", 2, 480, 153600, 0, 0, 0, 0},
        {"480 last", 2, 480, 153600, 0, 239, 319, 153598},
        {"512 row start", 2, 512, 163840, 0, 0, 5, 5 * 512},
        {"512 last", 2, 512, 163840, 0, 239, 319, 319 * 512 + 478},
        {"rotated top-left", -640, 2, 153600, 640 * 239, 0, 0, 640 * 239},
        {"rotated (x, y)", -640, 2, 153600, 640 * 239, 17, 45, 640 * 239 - 640 * 17 + 2 * 45},
        {"rotated top-right", -640, 2, 153600, 640 * 239, 239, 0, 0},
        {"flipped top-left", 640, -2, 153600, 0, 0, 0, 638},
        {"flipped bottom-left", 640, -2, 153600, 0, 0, 319, 0},
        {"flipped top-right", 640, -2, 153600, 0, 239, 0, 153598},
        {"upward rows top-left", 2, -480, 153600, 0, 0, 0, 480 * 319},
        {"upward rows bottom-right", 2, -480, 153600, 0, 239, 319, 478},
        {"rows of 600", 2, 600, 600 * 319 + 480, 0, 3, 2, 1206},
    };
    NumberedPicture();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetPanel(c.size, c.origin);
        SetDisplay(16, c.xPitch, c.yPitch);
        PresentFrame();
        EXPECT_EQ(Read16(c.offset), G.BackBuffer[c.y * 240 + c.x]);
        EXPECT_TRUE(GuardsIntact(Panel.store, c.size));
    }
}

// Row and padding placement is left to the model comparison; these are the packed values.
TEST_F(Present, TwoBitGreyPacksTheTopBitsOfRed) {
    struct Case {
        uint16_t pixels[4];
        uint8_t byte;
    };
    const Case cases[] = {
        {{0xFFFF, 0x0000, 0xF800, 0x07E0}, 0xCC},  // white, black, red, green
        {{0x4000, 0x8000, 0xC000, 0x0000}, 0x6C},
        {{0x001F, 0x07FF, 0x3FFF, 0xBFFF}, 0x02},  // blue and green never count
        {{0xC000, 0x4000, 0x0000, 0x8000}, 0xD2},
    };
    memset(G.BackBuffer, 0, sizeof G.BackBuffer);
    for (int x = 0; x < 240; x++) G.BackBuffer[x] = cases[x / 4 % 4].pixels[x % 4];
    ResetPanel(320 * 64, 0);
    SetDisplay(2, 2, 64);
    PresentFrame();
    for (int b = 0; b < 60; b++) EXPECT_EQ(Panel.store[Guard + b], cases[b % 4].byte) << "byte " << b;
}

TEST_F(Present, FourBitGreyTurnsColumnsIntoLines) {
    struct Case {
        int x, y;
        size_t byte;
        bool high;
    };
    const Case cases[] = {
        {0, 319, 0, true},
        {0, 318, 0, false},
        {0, 0, 159, false},
        {0, 1, 159, true},
        {239, 319, 239 * 160, true},
        {17, 100, 17 * 160 + 109, false},
    };
    for (const Case& c : cases) {
        memset(G.BackBuffer, 0, sizeof G.BackBuffer);
        G.BackBuffer[c.y * 240 + c.x] = 0xFFFF;
        ResetPanel(38400, 0);
        SetDisplay(4, 0, 0);
        PresentFrame();
        const uint8_t* mem = Panel.store.data() + Guard;
        EXPECT_EQ(mem[c.byte], c.high ? 0xF0 : 0x0F) << "white at (" << c.x << ", " << c.y << ")";
        EXPECT_EQ(std::count(mem, mem + 38400, 0), 38400 - 1) << "white at (" << c.x << ", " << c.y << ")";
    }
    struct Level {
        uint16_t pixel;
        int level;
    };
    const Level levels[] = {{0xFFFF, 15}, {0xF800, 3}, {0x07E0, 7}, {0x001F, 3}, {0x0841, 0}, {0x1082, 1}};
    for (const Level& l : levels) {
        for (uint16_t& p : G.BackBuffer) p = l.pixel;
        ResetPanel(38400, 0);
        PresentFrame();
        EXPECT_EQ(Panel.store[Guard + 1234], l.level * 17) << std::hex << l.pixel;
    }
}

TEST_F(Present, OtherDepthsShowNothingAndNeverLock) {
    RandomPicture(9);
    for (int32_t bpp : {8, 12, 0, 1, 15, 24, 32, -16}) {
        ResetPanel(153600, 0);
        SetDisplay(bpp, 2, 480);
        PresentFrame();
        EXPECT_EQ(Panel.begins, 0) << bpp << " bits";
        EXPECT_EQ(Panel.ends, 0) << bpp << " bits";
        for (uint8_t b : Panel.store) ASSERT_EQ(b, Fill) << bpp << " bits";
    }
}

}  // namespace
