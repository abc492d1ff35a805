// Targa loading: missing, short, unreadable and odd files.

#include "gfx/targa.h"
#include "tests/test_support.h"

TEST(Targa, BadFilesLeaveBlackAndSayWhich) {
    const uint16_t W = 0xFFFF, R = 0xF800, K = 0;
    TestFolder t("targa-bad");
    const std::string whole = TargaBytes(2, 2, {{255, 255, 255}, {255, 0, 0}}, {0, 1, 1, 0});
    std::string odd = whole + std::string(50, 1);  // run-length, 16 bits, too long: read as ours
    odd[2] = 9;
    odd[16] = 16;
    const struct {
        const char* name;
        std::string bytes;
        std::vector<uint16_t> image;  // top row first
    } cases[] = {
        {"missing.tga", "", {K, K, K, K}},
        {"folder.tga", "", {K, K, K, K}},
        {"halfmap.tga", whole.substr(0, 400), {K, K, K, K}},
        {"short.tga", whole.substr(0, whole.size() - 3), {K, K, W, K}},
        {"odd.tga", odd, {R, W, W, R}},
    };
    fs::create_directory(t.path / "folder.tga");
    for (const auto& c : cases) {
        const std::string file = (t.path / c.name).string();
        if (c.name != std::string("missing.tga") && !fs::exists(file)) t.Write(c.name, c.bytes);
        std::vector<uint16_t> image(4, 0x1234);
        testing::internal::CaptureStderr();
        const int read = LoadTarga(file, 2, 2, image.data());
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(image, c.image) << c.name;
        const bool good = c.bytes.size() > 790;  // said once, naming the file, unless read whole
        EXPECT_EQ(read, int(good)) << c.name;
        EXPECT_EQ(Said(said, file), std::pair(int(!good), !good)) << c.name;
    }
    EXPECT_FALSE(fs::exists(t.path / "missing.tga")) << "a missing picture must not be created";
}
