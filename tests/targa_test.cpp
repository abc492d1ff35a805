// Targa loading: palette conversion, row order, and missing, short, unreadable and odd files.
#include <gtest/gtest.h>

#include <algorithm>

#include "gfx/targa.h"
#include "targa_files.h"

namespace fs = std::filesystem;

TEST(Targa, PaletteConversionDropsLowBits) {
    struct Case {
        TestColour colour;
        uint16_t rgb565;
    };
    const Case cases[] = {
        {{255, 0, 0}, 0xF800},    {{0, 0, 255}, 0x001F},   {{255, 255, 255}, 0xFFFF},
        {{7, 3, 7}, 0x0000},      {{8, 4, 8}, 0x0821},     {{0x12, 0x34, 0x56}, 0x11AA},
        {{248, 3, 7}, 0xF800},    {{247, 0, 0}, 0xF000},   {{0, 255, 0}, 0x07E0},
    };
    // Through a real file, so the blue-green-red order of the colour map is checked too.
    std::vector<TestColour> palette;
    std::vector<uint8_t> indices;
    for (const Case& c : cases) {
        indices.push_back(uint8_t(palette.size()));
        palette.push_back(c.colour);
    }
    fs::path file = FreshFolder("palette") / "palette.tga";
    WriteBytes(file, TargaBytes(int(indices.size()), 1, palette, indices));
    uint16_t image[16] = {};
    ASSERT_EQ(LoadTarga(file.string(), int(indices.size()), 1, image), 1);
    for (size_t i = 0; i < indices.size(); i++) {
        const Case& c = cases[i];
        EXPECT_EQ(image[i], c.rgb565) << int(c.colour.red) << "," << int(c.colour.green) << "," << int(c.colour.blue);
        EXPECT_EQ(TargaColour(c.colour.red, c.colour.green, c.colour.blue), c.rgb565);
    }
}

TEST(Targa, RowsAreStoredBottomFirst) {
    const std::vector<TestColour> palette = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255},
                                             {8, 8, 8}};
    struct Case {
        int width, height;
        std::vector<uint8_t> fileOrder;
        std::vector<uint8_t> imageOrder;  // indices as the image should hold them, top row first
    };
    const Case cases[] = {
        {2, 2, {0, 1, 2, 3}, {2, 3, 0, 1}},
        {3, 2, {0, 1, 2, 3, 4, 5}, {3, 4, 5, 0, 1, 2}},
        {2, 3, {0, 1, 2, 3, 4, 5}, {4, 5, 2, 3, 0, 1}},
    };
    fs::path folder = FreshFolder("rows");
    for (const Case& c : cases) {
        fs::path file = folder / "rows.tga";
        WriteBytes(file, TargaBytes(c.width, c.height, palette, c.fileOrder));
        uint16_t image[6];
        ASSERT_EQ(LoadTarga(file.string(), c.width, c.height, image), 1);
        for (size_t i = 0; i < c.imageOrder.size(); i++) {
            const TestColour& p = palette[c.imageOrder[i]];
            EXPECT_EQ(image[i], TargaColour(p.red, p.green, p.blue)) << c.width << "x" << c.height << " pixel " << i;
        }
    }
}

// Files that are missing, short, unreadable or of another kind: what the slot holds and what is said.
TEST(Targa, BadFilesLeaveBlackAndSayWhich) {
    const std::vector<TestColour> palette = {{255, 255, 255}, {255, 0, 0}};
    const uint16_t white = 0xFFFF, red = 0xF800, black = 0;
    fs::path folder = FreshFolder("bad");
    std::vector<uint8_t> whole = TargaBytes(2, 2, palette, {0, 1, 1, 0});
    std::vector<uint8_t> rle = whole;
    rle[2] = 9;      // run-length compressed, read as if it were not
    rle[16] = 16;    // and another depth
    std::vector<uint8_t> longer = whole;
    longer.insert(longer.end(), 50, 1);
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        int kind;  // 0 no file, 1 a file of these bytes, 2 a folder
        int result;
        uint16_t image[4];  // top row first
        bool message;
    };
    const Case cases[] = {
        {"missing.tga", {}, 0, 0, {black, black, black, black}, true},
        {"empty.tga", {}, 1, 0, {black, black, black, black}, true},
        {"halfpalette.tga", std::vector<uint8_t>(whole.begin(), whole.begin() + 400), 1, 0, {black, black, black, black}, true},
        {"onerow.tga", std::vector<uint8_t>(whole.begin(), whole.end() - 2), 1, 0, {black, black, white, red}, true},
        {"onepixel.tga", std::vector<uint8_t>(whole.begin(), whole.end() - 3), 1, 0, {black, black, white, black}, true},
        {"folder.tga", {}, 2, 0, {black, black, black, black}, true},
        {"rle.tga", rle, 1, 1, {red, white, white, red}, false},
        {"longer.tga", longer, 1, 1, {red, white, white, red}, false},
    };
    for (const Case& c : cases) {
        fs::path file = folder / c.name;
        if (c.kind == 2) fs::create_directory(file);
        if (c.kind == 1) WriteBytes(file, c.bytes);
        uint16_t image[4] = {0x1234, 0x1234, 0x1234, 0x1234};
        testing::internal::CaptureStderr();
        int result = LoadTarga(file.string(), 2, 2, image);
        std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(result, c.result) << c.name;
        for (int i = 0; i < 4; i++) EXPECT_EQ(image[i], c.image[i]) << c.name << " pixel " << i;
        EXPECT_EQ(LinesMentioning(said, file.string()), c.message ? 1 : 0) << c.name << ": " << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), c.message ? 1 : 0) << c.name;
    }
    EXPECT_FALSE(fs::exists(folder / "missing.tga")) << "a missing picture must not be created";
}
