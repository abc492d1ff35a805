// Our generated pictures and font: standard Targa files (read back by ImageMagick), sizes,
// palettes, keys.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/pictures.h"
#include "gfx/targa.h"

namespace fs = std::filesystem;

namespace {

using Rgb = std::array<uint8_t, 3>;

std::vector<uint8_t> ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>());
}

std::string GraphFile(const std::string& name) { return MURKO_BINARY_DIR "/Graph/" + name; }

// Our own reading of the one layout: pixel (x, y) from the bottom-up index rows through the BGR
// palette.
Rgb FilePixel(const std::vector<uint8_t>& file, int width, int height, int x, int y) {
    int index = file[786 + (height - 1 - y) * width + x];
    return {file[20 + 3 * index], file[19 + 3 * index], file[18 + 3 * index]};
}

bool IsSpriteKey(Rgb c) {
    return c[0] >= 248 && c[1] < 4 && c[2] < 8;
}  // what the loader turns into 0xF800
bool IsFontKey(Rgb c) {
    return c[0] < 8 && c[1] < 4 && c[2] >= 248;
}  // what the loader turns into 0x001F

std::string Shell(const std::string& command, int* status = nullptr) {
    FILE* pipe = popen(command.c_str(), "r");
    std::string output;
    for (int c; (c = fgetc(pipe)) != EOF;) output += char(c);
    const int closed = pclose(pipe);
    if (status) *status = closed;
    return output;
}

}  // namespace

// Header, size and loading; ImageMagick, the independent reader, sees the same upright pixels; key
// colours are exact and only where they belong: sprites clear at their corners, tiles (drawn opaque
// and keyed) with none.
TEST(Art, EveryPictureIsAStandardTargaWithItsKeys) {
    bool magick =
        std::system("identify -version >/dev/null 2>&1 && convert -version >/dev/null 2>&1") == 0;
    if (!magick)
        fprintf(stderr,
                "ImageMagick (identify, convert) is not installed: its checks are left out\n");
    static uint16_t image[240 * 320];
    for (const PictureFile& slot : PictureFiles) {
        SCOPED_TRACE(slot.file);
        const int w = slot.width, h = slot.height;
        const std::string path = GraphFile(slot.file);
        std::string rgb;
        std::vector<uint8_t> file = ReadAll(path);
        ASSERT_EQ(file.size(), size_t(18 + 768 + w * h));
        const std::vector<uint8_t> header = {0,          1,
                                             1,          0,
                                             0,          0,
                                             1,          24,
                                             0,          0,
                                             0,          0,
                                             uint8_t(w), uint8_t(w >> 8),
                                             uint8_t(h), uint8_t(h >> 8),
                                             8,          0};
        EXPECT_EQ(std::vector<uint8_t>(file.begin(), file.begin() + 18), header);
        EXPECT_EQ(LoadTarga(path, w, h, image), 1);
        if (magick) {
            std::string facts =
                "TGA " + std::to_string(w) + " " + std::to_string(h) + " 8 PseudoClass sRGB";
            EXPECT_EQ(
                Shell("identify -format '%m %w %h %z %r' '" + path + "'").substr(0, facts.size()),
                facts);
            rgb = Shell("convert '" + path + "' -auto-orient -depth 8 rgb:-");
            ASSERT_EQ(rgb.size(), size_t(3 * w * h));
        }
        int spriteKeys = 0, fontKeys = 0, unlike = 0, inexact = 0;
        for (int y = 0; y < h; y++)
            for (int x = 0; x < w; x++) {
                const Rgb c = FilePixel(file, w, h, x, y);
                if (magick && rgb.compare(3 * (y * w + x), 3, std::string(c.begin(), c.end())) != 0)
                    unlike++;
                if (IsSpriteKey(c)) spriteKeys++;
                if (IsFontKey(c)) fontKeys++;
                if ((IsSpriteKey(c) && c != Rgb{255, 0, 0}) ||
                    (IsFontKey(c) && c != Rgb{0, 0, 255}))
                    inexact++;
            }
        EXPECT_EQ(unlike, 0) << "pixels ImageMagick reads otherwise";
        EXPECT_EQ(inexact, 0) << "key colours not exact";
        EXPECT_EQ(spriteKeys > 0, slot.key == PictureSpriteKey);
        EXPECT_EQ(fontKeys > 0, slot.key == PictureFontKey);
        for (int corner = 0; corner < 4 && slot.key == PictureSpriteKey; corner++)
            EXPECT_TRUE(
                IsSpriteKey(FilePixel(file, w, h, corner & 1 ? w - 1 : 0, corner & 2 ? h - 1 : 0)))
                << "corner " << corner;
    }
}

// Each picture drawn as a character grid comes out pixel for pixel as its source says, upright.
TEST(Art, GridPicturesMatchTheirSources) {
    int pictures = 0;
    for (const char* source : {"hero.txt", "spiders.txt", "tiles.txt", "icons.txt"}) {
        std::ifstream in(fs::path(MURKO_SOURCE_DIR) / "assets" / "art" / source);
        std::map<char, Rgb> legend;
        for (std::string line; std::getline(in, line);) {
            char symbol, name[64];
            int r, g, b, width, height, mismatches = 0;
            if (std::sscanf(line.c_str(), "colour %c %d %d %d", &symbol, &r, &g, &b) == 4)
                legend[symbol] = {uint8_t(r), uint8_t(g), uint8_t(b)};
            if (std::sscanf(line.c_str(), "picture %63s %d %d", name, &width, &height) != 3)
                continue;
            std::vector<uint8_t> file = ReadAll(GraphFile(std::string(name) + ".tga"));
            ASSERT_EQ(file.size(), size_t(786 + width * height)) << name;
            for (int y = 0; y < height && std::getline(in, line); y++) {
                ASSERT_EQ(int(line.size()), width) << name << " row " << y;
                for (int x = 0; x < width; x++)
                    if (FilePixel(file, width, height, x, y) != legend[line[x]]) mismatches++;
            }
            EXPECT_EQ(mismatches, 0) << name;
            pictures++;
        }
    }
    EXPECT_EQ(pictures, 21);
}

TEST(Art, RasterFontHasEveryPrintableCharacter) {
    std::vector<uint8_t> font = ReadAll(GraphFile("Antique.fnt"));
    ASSERT_EQ(font.size(), 4096u);
    std::set<std::array<uint8_t, 16>> shapes;
    const std::array<uint8_t, 16> blank{};
    for (int code = 32; code < 256;
         code += code == 126 ? 66 : 1) {  // printable ASCII and the accented Latin-1 letters
        std::array<uint8_t, 16> glyph;
        std::copy_n(font.begin() + 16 * code, 16, glyph.begin());
        EXPECT_EQ(glyph == blank, code == ' ') << "code " << code;
        EXPECT_TRUE(code > 126 || shapes.insert(glyph).second)
            << "code " << code << " looks like another glyph";
    }
}

// The tool makes its output folder, writes all 27 files, and stops with one line naming a bad
// source.
TEST(Art, ToolWritesEverythingAndNamesABadSource) {
    const std::string tool = MURKO_BINARY_DIR "/murko-art";
    const std::string root = MURKO_BINARY_DIR "/art_test";
    fs::remove_all(root);
    fs::create_directories(root);
    fs::copy(fs::path(MURKO_SOURCE_DIR) / "assets" / "art", root + "/sources");
    int status = -1;
    std::string errors =
        Shell("'" + tool + "' '" + root + "/sources' '" + root + "/out/nested' 2>&1", &status);
    EXPECT_EQ(status, 0) << errors;
    EXPECT_EQ(std::distance(fs::directory_iterator(root + "/out/nested"), {}), 27);
    const std::array<const char*, 3> breakages[] = {
        {"hero.txt", "picture dogLeft2 16 16\n................\n",
         "picture dogLeft2 16 16\n..............\n"},
        {"letters.txt", "letter A\n.###.", "letter A\n.#x#."},
        {"Antique.txt", "glyph 65 A\n", "glyph 300 A\n"},
    };
    for (const auto& [name, from, to] : breakages) {
        fs::remove_all(root + "/broken");
        fs::copy(root + "/sources", root + "/broken");
        std::vector<uint8_t> bytes = ReadAll(root + "/broken/" + name);
        std::string text(bytes.begin(), bytes.end());
        ASSERT_NE(text.find(from), std::string::npos) << name;
        text.replace(text.find(from), std::string(from).size(), to);
        std::ofstream(root + "/broken/" + name, std::ios::binary) << text;
        errors = Shell("'" + tool + "' '" + root + "/broken' '" + root + "/out2' 2>&1", &status);
        EXPECT_NE(status, 0) << name;
        EXPECT_NE(errors.find(name), std::string::npos) << errors;
        EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    }
    fs::remove_all(root);
}
