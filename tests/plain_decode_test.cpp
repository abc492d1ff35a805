// The window's fast decode of plain RGB565 panels gives exactly what PanelDecode gives.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "platform/panel.h"
#include "platform/plain_decode.h"

TEST(PlainDecode, MatchesPanelDecodeOnPlainPanelsOnly) {
    struct Case {
        const char* mode;
        bool plain;
    };
    const Case cases[] = {{"rgb565", true}, {"rgb565-512", true}, {"rotated", false},
                          {"flipped", false}, {"gray2", false},   {"gray4", false}};
    std::mt19937 random(7);
    for (const Case& c : cases) {
        HostDisplayMode mode;
        ASSERT_TRUE(PanelParseMode(c.mode, &mode));
        PanelCreate(mode);
        int pitch = PlainRowPitch(PanelProperties());
        EXPECT_EQ(pitch != 0, c.plain) << c.mode;
        if (!pitch) continue;
        uint8_t* memory = PanelMemory();
        for (size_t i = 0; i < PanelSize(); i++) memory[i] = uint8_t(random());
        // The extremes of every channel, where rounding differences would show.
        const uint16_t corners[] = {0x0000, 0xFFFF, 0xF800, 0x07E0, 0x001F, 0x0821, 0x8410, 0x7BEF};
        for (int i = 0; i < 8; i++) memcpy(PanelAddress() + 2 * i, &corners[i], 2);
        std::vector<uint32_t> slow(240 * 320), fast(240 * 320, 0xDEADBEEF);
        PanelDecode(slow.data());
        DecodePlainRows(PanelAddress(), pitch, fast.data());
        for (int i = 0; i < 240 * 320; i++)
            ASSERT_EQ(fast[i], slow[i]) << c.mode << " pixel " << i % 240 << "," << i / 240;
    }
}
