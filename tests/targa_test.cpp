// Targa loading: palette conversion, bottom-up rows, and missing, short, unreadable and odd files.
#include <gtest/gtest.h>

#include "gfx/targa.h"
#include "targa_files.h"

namespace fs = std::filesystem;

TEST(Targa, PaletteAndRowOrder) {
    const std::vector<TestColour> palette = {{255, 0, 0}, {0, 0, 255}, {255, 255, 255},
                                             {7, 3, 7},   {8, 4, 8},   {0x12, 0x34, 0x56}};
    const uint16_t rgb565[] = {0xF800, 0x001F, 0xFFFF, 0x0000, 0x0821, 0x11AA};
    fs::path file = FreshFolder("targa") / "picture.tga";
    // The file holds indices 0, 1, 2, ... bottom row first; the image is top row first.
    for (const auto& [width, height, order] :
         {std::tuple{2, 2, std::vector<int>{2, 3, 0, 1}}, {3, 2, {3, 4, 5, 0, 1, 2}}}) {
        WriteBytes(file, TargaBytes(width, height, palette, {0, 1, 2, 3, 4, 5}));
        uint16_t image[6];
        ASSERT_EQ(LoadTarga(file.string(), width, height, image), 1);
        for (size_t i = 0; i < order.size(); i++)
            EXPECT_EQ(image[i], rgb565[order[i]]) << width << "x" << height << " " << i;
    }
}

TEST(Targa, BadFilesLeaveBlackAndSayWhich) {
    const uint16_t W = 0xFFFF, R = 0xF800, K = 0;
    fs::path folder = FreshFolder("bad");
    const std::vector<uint8_t> whole =
        TargaBytes(2, 2, {{255, 255, 255}, {255, 0, 0}}, {0, 1, 1, 0});
    std::vector<uint8_t> odd =
        whole;  // run-length, 16 bits, too long: still read as the one layout
    odd[2] = 9;
    odd[16] = 16;
    odd.insert(odd.end(), 50, 1);
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        std::vector<uint16_t> image;  // top row first
    } cases[] = {
        {"missing.tga", {}, {K, K, K, K}},
        {"empty.tga", {}, {K, K, K, K}},
        {"folder.tga", {}, {K, K, K, K}},
        {"halfmap.tga", {whole.begin(), whole.begin() + 400}, {K, K, K, K}},
        {"short.tga", {whole.begin(), whole.end() - 3}, {K, K, W, K}},
        {"odd.tga", odd, {R, W, W, R}},
    };
    for (const auto& c : cases) {
        fs::path file = folder / c.name;
        if (c.name == std::string("folder.tga"))
            fs::create_directory(file);
        else if (c.name != std::string("missing.tga"))
            WriteBytes(file, c.bytes);
        std::vector<uint16_t> image(4, 0x1234);
        testing::internal::CaptureStderr();
        int read = LoadTarga(file.string(), 2, 2, image.data());
        std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(image, c.image) << c.name;
        bool good = c.bytes.size() > 790;  // said once, naming the file, unless read whole
        EXPECT_EQ(read, int(good)) << c.name;
        EXPECT_EQ(Said(said, file.string()), std::pair(int(!good), !good)) << c.name;
    }
    EXPECT_FALSE(fs::exists(folder / "missing.tga")) << "a missing picture must not be created";
}
