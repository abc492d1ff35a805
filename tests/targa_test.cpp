// Targa loading: palette conversion, bottom-up rows, and missing, short, unreadable and odd files.
#include <gtest/gtest.h>

#include <algorithm>

#include "gfx/targa.h"
#include "targa_files.h"

namespace fs = std::filesystem;

TEST(Targa, PaletteAndRowOrder) {
    const std::vector<TestColour> palette = {{255, 0, 0}, {0, 0, 255}, {255, 255, 255}, {7, 3, 7},
                                             {8, 4, 8},   {0x12, 0x34, 0x56}, {248, 3, 7}, {247, 0, 0}};
    const uint16_t rgb565[] = {0xF800, 0x001F, 0xFFFF, 0x0000, 0x0821, 0x11AA, 0xF800, 0xF000};
    struct Case {
        int width, height;
        std::vector<uint8_t> fileOrder, imageOrder;  // image order: top row first
    };
    const Case cases[] = {
        {8, 1, {0, 1, 2, 3, 4, 5, 6, 7}, {0, 1, 2, 3, 4, 5, 6, 7}},
        {2, 2, {0, 1, 2, 3}, {2, 3, 0, 1}},
        {3, 2, {0, 1, 2, 3, 4, 5}, {3, 4, 5, 0, 1, 2}},
        {2, 3, {0, 1, 2, 3, 4, 5}, {4, 5, 2, 3, 0, 1}},
    };
    fs::path file = FreshFolder("targa") / "picture.tga";
    for (const Case& c : cases) {
        WriteBytes(file, TargaBytes(c.width, c.height, palette, c.fileOrder));
        uint16_t image[8];
        ASSERT_EQ(LoadTarga(file.string(), c.width, c.height, image), 1);
        for (size_t i = 0; i < c.imageOrder.size(); i++)
            EXPECT_EQ(image[i], rgb565[c.imageOrder[i]]) << c.width << "x" << c.height << " pixel " << i;
    }
}

TEST(Targa, BadFilesLeaveBlackAndSayWhich) {
    const uint16_t W = 0xFFFF, R = 0xF800, K = 0;
    fs::path folder = FreshFolder("bad");
    std::vector<uint8_t> whole = TargaBytes(2, 2, {{255, 255, 255}, {255, 0, 0}}, {0, 1, 1, 0});
    std::vector<uint8_t> rle = whole, longer = whole;
    rle[2] = 9, rle[16] = 16;  // run-length and 16 bits: still read as the one layout
    longer.insert(longer.end(), 50, 1);
    struct Case {
        const char* name;
        int kind;  // 0 no file, 1 a file of these bytes, 2 a folder
        std::vector<uint8_t> bytes;
        int result;
        uint16_t image[4];  // top row first
    };
    const Case cases[] = {
        {"missing.tga", 0, {}, 0, {K, K, K, K}},
        {"empty.tga", 1, {}, 0, {K, K, K, K}},
        {"halfmap.tga", 1, {whole.begin(), whole.begin() + 400}, 0, {K, K, K, K}},
        {"onerow.tga", 1, {whole.begin(), whole.end() - 2}, 0, {K, K, W, R}},
        {"onepixel.tga", 1, {whole.begin(), whole.end() - 3}, 0, {K, K, W, K}},
        {"folder.tga", 2, {}, 0, {K, K, K, K}},
        {"rle.tga", 1, rle, 1, {R, W, W, R}},
        {"longer.tga", 1, longer, 1, {R, W, W, R}},
    };
    for (const Case& c : cases) {
        fs::path file = folder / c.name;
        if (c.kind == 1) WriteBytes(file, c.bytes);
        if (c.kind == 2) fs::create_directory(file);
        uint16_t image[4] = {0x1234, 0x1234, 0x1234, 0x1234};
        testing::internal::CaptureStderr();
        EXPECT_EQ(LoadTarga(file.string(), 2, 2, image), c.result) << c.name;
        std::string said = testing::internal::GetCapturedStderr();
        EXPECT_TRUE(std::equal(image, image + 4, c.image)) << c.name;
        EXPECT_EQ(LinesMentioning(said, file.string()), 1 - c.result) << c.name;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1 - c.result) << c.name;
    }
    EXPECT_FALSE(fs::exists(folder / "missing.tga")) << "a missing picture must not be created";
}
