// The emulated panel: PresentFrame into each kind of device memory and back to the window's
// colours.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "app/present.h"
#include "core/globals.h"
#include "platform/host.h"
#include "platform/panel.h"
#include "platform/plain_decode.h"

namespace {

// Nearest of `levels` evenly spaced steps to an 8-bit value.
int Quantise(uint32_t v, int levels) { return int((v * (levels - 1) + 127) / 255); }

TEST(Panel, EveryModeByNameDecodesWhatWasPresented) {
    std::mt19937 rng(77);
    for (uint16_t& p : G.BackBuffer) p = uint16_t(rng());
    G.BackBuffer[76799] =
        0;  // black bottom-right, white top-left, then the extremes of every channel
    const uint16_t extremes[] = {0xFFFF, 0x0000, 0xF800, 0x07E0, 0x001F, 0x0821, 0x8410, 0x7BEF};
    memcpy(G.BackBuffer, extremes, sizeof extremes);
    HostUse(HeadlessBackend());
    std::vector<uint32_t> rgb(240 * 320);
    const char* const names[] = {"rgb565",  "rgb565-512", "rotated",
                                 "flipped", "gray2",      "gray4"};  // in mode order
    for (int i = 0; i < 6; i++) {
        SCOPED_TRACE(names[i]);
        HostDisplayMode mode = HostDisplayMode((i + 1) % 6);
        ASSERT_TRUE(PanelParseMode(names[i], &mode));
        ASSERT_EQ(mode, i);
        PanelCreate(mode);
        HostDisplayProperties p = PanelProperties();
        EXPECT_TRUE(mode != DisplayRgb565Row512 || p.yPitch == 512) << "rows 512 bytes apart";
        G.DisplayBpp = p.bpp, G.DisplayXPitch = p.xPitch, G.DisplayYPitch = p.yPitch;
        PresentFrame();
        EXPECT_TRUE(PanelGuardsIntact());
        PanelDecode(rgb.data());
        EXPECT_EQ(rgb[0], 0xFFFFFFu);
        EXPECT_EQ(rgb[76799], 0u);
        for (int i = 0; i < 240 * 320; i++) {
            uint16_t px = G.BackBuffer[i];
            uint32_t r = rgb[i] >> 16, g = (rgb[i] >> 8) & 255, b = rgb[i] & 255;
            int grey = p.bpp == 2 ? px >> 14 : ((px >> 11) + ((px >> 5) & 63) + (px & 31)) >> 3;
            if (p.bpp == 16) {
                ASSERT_EQ(Quantise(r, 32) << 11 | Quantise(g, 64) << 5 | Quantise(b, 32), px)
                    << "pixel " << i;
                continue;
            }
            ASSERT_TRUE(r == g && g == b) << "pixel " << i << " is not grey";
            ASSERT_EQ(Quantise(r, p.bpp == 2 ? 4 : 16), grey) << "pixel " << i;
        }
        // The window's fast decode of plain RGB565 rows gives the same, and is used on those panels
        // only.
        int pitch = PlainRowPitch(p);
        EXPECT_EQ(pitch != 0, mode == DisplayRgb565 || mode == DisplayRgb565Row512);
        std::vector<uint32_t> fast(240 * 320, 0xDEADBEEF);
        if (pitch) {
            DecodePlainRows(PanelAddress(), pitch, fast.data());
            EXPECT_TRUE(fast == rgb);
        }
        PanelMemory()[mode % 2 ? -1 : ptrdiff_t(PanelSize())] = 0;  // one byte just outside
        EXPECT_FALSE(PanelGuardsIntact());
    }
    HostDisplayMode untouched = DisplayFlipped;
    for (const char* bad : {"", "RGB565", "gray", "rgb565 ", "gray16"}) {
        EXPECT_FALSE(PanelParseMode(bad, &untouched)) << "'" << bad << "'";
        EXPECT_EQ(untouched, DisplayFlipped) << "'" << bad << "'";
    }
}

}  // namespace
