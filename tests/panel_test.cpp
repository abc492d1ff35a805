// The emulated panel: PresentFrame into each kind of device memory and back to the window's colours.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "app/globals.h"
#include "app/present.h"
#include "platform/host.h"
#include "platform/panel.h"

namespace {

struct Mode {
    const char* name;
    HostDisplayMode mode;
    int greyLevels;  // 0 for colour panels
};

const Mode Modes[] = {
    {"rgb565", DisplayRgb565, 0},  {"rgb565-512", DisplayRgb565Row512, 0}, {"rotated", DisplayRotated, 0},
    {"flipped", DisplayFlipped, 0}, {"gray2", DisplayGray2, 4},            {"gray4", DisplayGray4, 16},
};

// Nearest of `levels` evenly spaced steps to an 8-bit value.
int Quantise(uint32_t v, int levels) { return int((v * (levels - 1) + 127) / 255); }

void PresentOn(HostDisplayMode mode) {
    HostUse(HeadlessBackend());
    PanelCreate(mode);
    HostDisplayProperties p = PanelProperties();
    G.DisplayBpp = p.bpp;
    G.DisplayXPitch = p.xPitch;
    G.DisplayYPitch = p.yPitch;
    PresentFrame();
}

TEST(Panel, DecodingWhatWasPresentedGivesThePictureBack) {
    static uint32_t rgb[240 * 320];
    std::mt19937 rng(77);
    for (uint16_t& p : G.BackBuffer) p = uint16_t(rng());
    G.BackBuffer[0] = 0xFFFF;      // white top-left
    G.BackBuffer[76799] = 0x0000;  // black bottom-right
    for (const Mode& m : Modes) {
        SCOPED_TRACE(m.name);
        PresentOn(m.mode);
        EXPECT_TRUE(PanelGuardsIntact());
        PanelDecode(rgb);
        EXPECT_EQ(rgb[0], 0xFFFFFFu);
        EXPECT_EQ(rgb[76799], 0u);
        for (int i = 0; i < 240 * 320; i++) {
            uint16_t p = G.BackBuffer[i];
            uint32_t r = rgb[i] >> 16, g = (rgb[i] >> 8) & 255, b = rgb[i] & 255;
            if (m.greyLevels == 0) {
                uint16_t back = uint16_t(Quantise(r, 32) << 11 | Quantise(g, 64) << 5 | Quantise(b, 32));
                ASSERT_EQ(back, p) << "pixel " << i % 240 << ", " << i / 240;
                continue;
            }
            ASSERT_TRUE(r == g && g == b) << "grey panels decode to grey";
            int want = m.greyLevels == 4 ? p >> 14 : ((p >> 11) + ((p >> 5) & 63) + (p & 31)) >> 3;
            ASSERT_EQ(Quantise(r, m.greyLevels), want) << "pixel " << i % 240 << ", " << i / 240;
        }
    }
}

TEST(Panel, GuardsNoticeAWriteJustOutside) {
    for (const Mode& m : Modes) {
        SCOPED_TRACE(m.name);
        PanelCreate(m.mode);
        EXPECT_TRUE(PanelGuardsIntact());
        for (uint8_t v : {0, 1}) {  // an edge byte inside may hold anything
            PanelMemory()[0] = v;
            PanelMemory()[PanelSize() - 1] = v;
            EXPECT_TRUE(PanelGuardsIntact());
        }
        for (ptrdiff_t outside : {ptrdiff_t(-1), ptrdiff_t(-ptrdiff_t(PanelGuardBytes)), ptrdiff_t(PanelSize()),
                                  ptrdiff_t(PanelSize() + PanelGuardBytes - 1)}) {
            PanelCreate(m.mode);
            PanelMemory()[outside] = 0;
            EXPECT_FALSE(PanelGuardsIntact()) << "write at " << outside;
        }
        PanelCreate(m.mode);
        EXPECT_GE(PanelAddress(), PanelMemory());
        EXPECT_LT(PanelAddress(), PanelMemory() + PanelSize());
    }
}

TEST(Panel, ModeNames) {
    for (const Mode& m : Modes) {
        HostDisplayMode got = DisplayGray4;
        if (m.mode == DisplayGray4) got = DisplayRgb565;
        EXPECT_TRUE(PanelParseMode(m.name, &got)) << m.name;
        EXPECT_EQ(got, m.mode) << m.name;
    }
    HostDisplayMode untouched = DisplayFlipped;
    for (const char* bad : {"", "RGB565", "gray", "rgb565 ", "gray16", "rotated-"}) {
        EXPECT_FALSE(PanelParseMode(bad, &untouched)) << "'" << bad << "'";
        EXPECT_EQ(untouched, DisplayFlipped);
    }
}

}  // namespace
