// Our generated pictures and font: standard Targa files that an independent reader (ImageMagick)
// reads as we do, key colours exact and only where they belong, every printable character, and a
// tool that names a bad source.

#include <set>

#include "core/pictures.h"
#include "gfx/targa.h"
#include "tests/test_support.h"

namespace {

using Rgb = std::array<uint8_t, 3>;

std::string GraphFile(const std::string& name) { return MURKO_BINARY_DIR "/Graph/" + name; }

// Pixel (x, y) read our own way: bottom-up index rows through the BGR palette.
Rgb FilePixel(const std::string& file, int width, int height, int x, int y) {
    const int index = uint8_t(file[786 + (height - 1 - y) * width + x]);
    return {uint8_t(file[20 + 3 * index]), uint8_t(file[19 + 3 * index]),
            uint8_t(file[18 + 3 * index])};
}

// What the loader turns into the sprite key 0xF800 and the font key 0x001F.
bool IsSpriteKey(Rgb c) { return c[0] >= 248 && c[1] < 4 && c[2] < 8; }
bool IsFontKey(Rgb c) { return c[0] < 8 && c[1] < 4 && c[2] >= 248; }

}  // namespace

TEST(Art, EveryPictureIsAStandardTargaWithItsKeys) {
    const bool magick = std::system("convert -version >/dev/null 2>&1") == 0;
    if (!magick) fprintf(stderr, "ImageMagick is not installed: its checks are left out\n");
    static uint16_t image[240 * 320];
    for (const PictureFile& slot : PictureFiles) {
        SCOPED_TRACE(slot.file);
        const int w = slot.width, h = slot.height;
        const std::string path = GraphFile(slot.file), file = ReadFile(path);
        ASSERT_EQ(file.size(), size_t(18 + 768 + w * h));
        EXPECT_EQ(file.substr(0, 18), TargaBytes(w, h, {}, {}).substr(0, 18));
        EXPECT_EQ(LoadTarga(path, w, h, image), 1);
        std::string rgb;
        if (magick)
            Shell("{ convert '" + path + "' -auto-orient -depth 8 rgb:- 2>/dev/null; }", &rgb);
        int spriteKeys = 0, fontKeys = 0, unlike = 0, inexact = 0;
        for (int i = 0; i < w * h; i++) {
            const Rgb c = FilePixel(file, w, h, i % w, i / w);
            unlike += magick && rgb.compare(3 * i, 3, std::string(c.begin(), c.end())) != 0;
            spriteKeys += IsSpriteKey(c);
            fontKeys += IsFontKey(c);
            inexact +=
                IsSpriteKey(c) != (c == Rgb{255, 0, 0}) || IsFontKey(c) != (c == Rgb{0, 0, 255});
        }
        EXPECT_EQ(unlike, 0) << "pixels ImageMagick reads otherwise";
        EXPECT_EQ(inexact, 0) << "key colours not exact";
        EXPECT_EQ(spriteKeys > 0, slot.key == PictureSpriteKey);
        EXPECT_EQ(fontKeys > 0, slot.key == PictureFontKey);
    }
}

// The tool makes its output folder, writes all 27 files, and stops with one line naming a bad
// source.
TEST(Art, ToolWritesEverythingAndNamesABadSource) {
    TestFolder t("art");
    const std::string tool = "'" MURKO_BINARY_DIR "/murko-art' '" + t.path.string();
    fs::copy(fs::path(MURKO_SOURCE_DIR) / "assets" / "art", t.path / "sources");
    std::string errors;
    EXPECT_EQ(Shell(tool + "/sources' '" + t.path.string() + "/out/nested'", &errors), 0) << errors;
    EXPECT_EQ(std::distance(fs::directory_iterator(t.path / "out/nested"), {}), 27);
    const std::array<const char*, 3> breakages[] = {
        {"hero.txt", "picture dogLeft2 16 16\n................\n",
         "picture dogLeft2 16 16\n..............\n"},
        {"letters.txt", "letter A\n.###.", "letter A\n.#x#."},
        {"Antique.txt", "glyph 65 A\n", "glyph 300 A\n"},
    };
    for (const auto& [name, from, to] : breakages) {
        fs::remove_all(t.path / "broken");
        fs::copy(t.path / "sources", t.path / "broken");
        std::string text = t["broken/" + std::string(name)];
        ASSERT_NE(text.find(from), std::string::npos) << name;
        t.Write("broken/" + std::string(name), text.replace(text.find(from), strlen(from), to));
        EXPECT_NE(Shell(tool + "/broken' '" + t.path.string() + "/out2'", &errors), 0) << name;
        EXPECT_EQ(Said(errors, name), std::pair(1, true)) << errors;
    }
}

// Every file the tools wrote, by its hash: a change to a tool or a source shows here first.
TEST(Art, TheBuiltDataMatchesItsGolden) {
    std::set<std::string> lines;
    for (const char* sub : {"Graph", "Sound"})
        for (const auto& entry : fs::directory_iterator(MURKO_BINARY_DIR "/" + std::string(sub)))
            if (entry.path().filename().string()[0] != '.')
                lines.insert(std::string(sub) + "/" + entry.path().filename().string() + " " +
                             Hash(ReadFile(entry.path())) + "\n");
    std::string got;
    for (const std::string& line : lines) got += line;
    ExpectGolden("data.txt", got);
}
