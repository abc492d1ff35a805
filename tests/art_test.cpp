// Our generated pictures and font: standard Targa files (read back by ImageMagick), sizes, palettes, keys.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "gfx/targa.h"

namespace fs = std::filesystem;

namespace {

enum Key { NoKey, SpriteKey, FontKey };

struct Slot {
    const char* name;
    int width;
    int height;
    Key key;
};

// Every picture the game loads, with the size of its slot and the key colour its users skip.
const Slot Slots[] = {
    {"dogLeft1", 16, 16, SpriteKey},  {"dogLeft2", 16, 16, SpriteKey},  {"dogUp1", 16, 16, SpriteKey},
    {"dogUp2", 16, 16, SpriteKey},    {"dogDown1", 16, 16, SpriteKey},  {"dogDown2", 16, 16, SpriteKey},
    {"murko1", 18, 18, SpriteKey},    {"murko2", 18, 18, SpriteKey},    {"murko3", 18, 18, SpriteKey},
    {"murko4", 18, 18, SpriteKey},    {"murko5", 18, 18, SpriteKey},    {"back1", 240, 192, NoKey},
    {"panel1", 240, 32, NoKey},       {"panel2", 240, 80, NoKey},       {"backdrop1", 240, 320, NoKey},
    {"redfont", 160, 80, FontKey},    {"speaker", 16, 16, NoKey},       {"exit", 16, 16, NoKey},
    {"brick", 20, 20, NoKey},         {"open", 20, 20, NoKey},          {"pickFood", 20, 20, NoKey},
    {"pickBone", 20, 20, NoKey},      {"pickDoom", 20, 20, NoKey},      {"pickOpen", 20, 20, NoKey},
    {"cloud1", 20, 20, SpriteKey},    {"cloud2", 20, 20, SpriteKey},
};

const char RedFontCells[] = " !,~./0123456789:;   ? ABCDEFGHIJKLMNOPQRSTUVWXYZ ";

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

std::vector<uint8_t> ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

fs::path GraphFile(const std::string& name) { return fs::path(MURKO_BINARY_DIR) / "Graph" / name; }

// Our own reading of the one layout: pixel (x, y) from the bottom-up index rows through the palette.
Rgb FilePixel(const std::vector<uint8_t>& file, int width, int height, int x, int y) {
    int index = file[786 + (height - 1 - y) * width + x];
    return {file[20 + 3 * index], file[19 + 3 * index], file[18 + 3 * index]};
}

bool IsSpriteKey(Rgb c) { return c.r >= 248 && c.g < 4 && c.b < 8; }  // what the loader turns into 0xF800
bool IsFontKey(Rgb c) { return c.r < 8 && c.g < 4 && c.b >= 248; }     // what the loader turns into 0x001F

std::string RunCommand(const std::string& command, int* status = nullptr) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return output;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    int rc = pclose(pipe);
    if (status) *status = rc;
    return output;
}

bool HaveImageMagick() { return std::system("identify -version >/dev/null 2>&1 && convert -version >/dev/null 2>&1") == 0; }

}  // namespace

TEST(Art, EveryPictureHasTheLayoutTheLoaderReads) {
    for (const Slot& slot : Slots) {
        SCOPED_TRACE(slot.name);
        std::vector<uint8_t> file = ReadAll(GraphFile(std::string(slot.name) + ".tga"));
        ASSERT_EQ(file.size(), size_t(18 + 768 + slot.width * slot.height));
        const int header[18] = {0, 1, 1, 0, 0, 0, 1, 24, 0, 0, 0, 0, slot.width & 255, slot.width >> 8,
                                slot.height & 255, slot.height >> 8, 8, 0};
        for (int i = 0; i < 18; i++) EXPECT_EQ(file[i], header[i]) << "header byte " << i;
    }
}

// ImageMagick is the independent reader: it must see a colour-mapped 8-bit Targa of the right size,
// and, once turned upright, exactly the pixels our own reading of the layout gives.
TEST(Art, ImageMagickReadsTheSamePictures) {
    if (!HaveImageMagick()) GTEST_SKIP() << "ImageMagick (identify, convert) is not installed";
    for (const Slot& slot : Slots) {
        SCOPED_TRACE(slot.name);
        fs::path path = GraphFile(std::string(slot.name) + ".tga");
        std::string facts = RunCommand("identify -format '%m %w %h %z %r' '" + path.string() + "' 2>&1");
        char expected[80];
        std::snprintf(expected, sizeof expected, "TGA %d %d 8 PseudoClass sRGB", slot.width, slot.height);
        while (!facts.empty() && std::isspace(uint8_t(facts.back()))) facts.pop_back();
        EXPECT_EQ(facts, expected);
        std::string rgb = RunCommand("convert '" + path.string() + "' -auto-orient -depth 8 rgb:- 2>/dev/null");
        ASSERT_EQ(rgb.size(), size_t(3 * slot.width * slot.height));
        std::vector<uint8_t> file = ReadAll(path);
        int mismatches = 0;
        for (int y = 0; y < slot.height; y++) {
            for (int x = 0; x < slot.width; x++) {
                const uint8_t* seen = reinterpret_cast<const uint8_t*>(rgb.data()) + 3 * (y * slot.width + x);
                if (!(Rgb{seen[0], seen[1], seen[2]} == FilePixel(file, slot.width, slot.height, x, y))) mismatches++;
            }
        }
        EXPECT_EQ(mismatches, 0);
    }
}

// Each picture drawn as a character grid comes out pixel for pixel as its source says, upright.
TEST(Art, GridPicturesMatchTheirSources) {
    int pictures = 0;
    for (const char* source : {"hero.txt", "spiders.txt", "tiles.txt", "icons.txt"}) {
        SCOPED_TRACE(source);
        std::ifstream in(fs::path(MURKO_SOURCE_DIR) / "assets" / "art" / source);
        std::string line;
        std::map<char, Rgb> legend;
        while (std::getline(in, line)) {
            char symbol, name[64];
            int r, g, b, width, height;
            if (std::sscanf(line.c_str(), "colour %c %d %d %d", &symbol, &r, &g, &b) == 4) legend[symbol] = {r, g, b};
            if (std::sscanf(line.c_str(), "picture %63s %d %d", name, &width, &height) != 3) continue;
            std::vector<uint8_t> file = ReadAll(GraphFile(std::string(name) + ".tga"));
            ASSERT_EQ(file.size(), size_t(786 + width * height)) << name;
            int mismatches = 0;
            for (int y = 0; y < height && std::getline(in, line); y++) {
                ASSERT_EQ(int(line.size()), width) << name << " row " << y;
                for (int x = 0; x < width; x++) mismatches += !(FilePixel(file, width, height, x, y) == legend[line[x]]);
            }
            EXPECT_EQ(mismatches, 0) << name;
            pictures++;
        }
    }
    EXPECT_EQ(pictures, 21);
}

// The game's loader reads every picture whole; its pixels are the palette colours, low bits dropped.
TEST(Art, TheGameLoadsEveryPictureWhole) {
    static uint16_t image[240 * 320];
    for (const Slot& slot : Slots) {
        SCOPED_TRACE(slot.name);
        std::vector<uint8_t> file = ReadAll(GraphFile(std::string(slot.name) + ".tga"));
        ASSERT_EQ(LoadTarga(GraphFile(std::string(slot.name) + ".tga").string(), slot.width, slot.height, image), 1);
        Rgb corner = FilePixel(file, slot.width, slot.height, slot.width - 1, slot.height - 1);
        EXPECT_EQ(image[slot.width * slot.height - 1], TargaColour(uint8_t(corner.r), uint8_t(corner.g), uint8_t(corner.b)));
        Rgb first = FilePixel(file, slot.width, slot.height, 0, 0);
        EXPECT_EQ(image[0], TargaColour(uint8_t(first.r), uint8_t(first.g), uint8_t(first.b)));
    }
}

// Key colours: a colour that loads as a key must be the exact key of the sources; sprites and clouds
// are clear at their corners; the maze tiles are drawn both opaque and keyed, so they hold no key at all.
TEST(Art, KeyColoursAreExactAndOnlyWhereTheyBelong) {
    for (const Slot& slot : Slots) {
        SCOPED_TRACE(slot.name);
        std::vector<uint8_t> file = ReadAll(GraphFile(std::string(slot.name) + ".tga"));
        ASSERT_EQ(file.size(), size_t(786 + slot.width * slot.height));
        int spriteKeys = 0, fontKeys = 0;
        for (int y = 0; y < slot.height; y++) {
            for (int x = 0; x < slot.width; x++) {
                Rgb c = FilePixel(file, slot.width, slot.height, x, y);
                if (IsSpriteKey(c)) {
                    EXPECT_EQ(c, (Rgb{255, 0, 0})) << "near-key colour at " << x << "," << y;
                    spriteKeys++;
                }
                if (IsFontKey(c)) {
                    EXPECT_EQ(c, (Rgb{0, 0, 255})) << "near-key colour at " << x << "," << y;
                    fontKeys++;
                }
            }
        }
        EXPECT_EQ(spriteKeys > 0, slot.key == SpriteKey);
        EXPECT_EQ(fontKeys > 0, slot.key == FontKey);
        if (slot.key == SpriteKey) {
            for (int corner = 0; corner < 4; corner++) {
                int x = corner & 1 ? slot.width - 1 : 0, y = corner & 2 ? slot.height - 1 : 0;
                EXPECT_TRUE(IsSpriteKey(FilePixel(file, slot.width, slot.height, x, y))) << "corner " << x << "," << y;
            }
        }
    }
}

// The red font: blue behind every glyph; the space cells wholly blue, every other cell with ink.
TEST(Art, RedFontCellsMatchTheCharacterSet) {
    std::vector<uint8_t> file = ReadAll(GraphFile("redfont.tga"));
    ASSERT_EQ(file.size(), size_t(786 + 160 * 80));
    ASSERT_EQ(sizeof RedFontCells - 1, 50u);
    std::set<std::vector<int>> shapes;
    for (int n = 0; n < 50; n++) {
        std::vector<int> shape;
        for (int y = 0; y < 16; y++) {
            for (int x = 0; x < 16; x++) {
                Rgb c = FilePixel(file, 160, 80, 16 * (n % 10) + x, 16 * (n / 10) + y);
                shape.push_back(IsFontKey(c) ? 0 : 1);
            }
        }
        int ink = 0;
        for (int v : shape) ink += v;
        if (RedFontCells[n] == ' ') {
            EXPECT_EQ(ink, 0) << "cell " << n << " is a space";
        } else {
            EXPECT_GT(ink, 20) << "cell " << n << " '" << RedFontCells[n] << "'";
            EXPECT_TRUE(shapes.insert(shape).second) << "cell " << n << " looks like another cell";
            EXPECT_EQ(shape[0], 0) << "cell " << n << " touches its top-left neighbour";
        }
    }
}

// The energy strip must be bright wherever the game may black it out, so that an emptied part shows.
TEST(Art, EnergyStripIsBrightAcrossItsWholeLength) {
    std::vector<uint8_t> file = ReadAll(GraphFile("panel2.tga"));
    ASSERT_EQ(file.size(), size_t(786 + 240 * 80));
    for (int x = 101; x <= 236; x++) {
        for (int y = 4; y <= 15; y++) {
            Rgb c = FilePixel(file, 240, 80, x, y);
            ASSERT_GE(std::max(c.r, std::max(c.g, c.b)), 128) << x << "," << y;
        }
    }
}

TEST(Art, RasterFontHasEveryPrintableCharacter) {
    std::vector<uint8_t> font = ReadAll(GraphFile("Antique.fnt"));
    ASSERT_EQ(font.size(), 4096u);
    std::set<std::vector<uint8_t>> shapes;
    for (int code = 32; code < 127; code++) {
        std::vector<uint8_t> glyph(font.begin() + 16 * code, font.begin() + 16 * code + 16);
        int ink = 0;
        for (uint8_t row : glyph) ink += __builtin_popcount(row);
        if (code == ' ') {
            EXPECT_EQ(ink, 0);
        } else {
            EXPECT_GT(ink, 0) << "code " << code;
            EXPECT_TRUE(shapes.insert(glyph).second) << "code " << code << " looks like another glyph";
        }
    }
    for (int code = 192; code < 256; code++) {  // the accented Latin-1 letters are there too
        int ink = 0;
        for (int row = 0; row < 16; row++) ink += __builtin_popcount(font[16 * code + row]);
        EXPECT_GT(ink, 0) << "code " << code;
    }
}

// The tool makes its output folder, writes all 27 files, and stops with one line naming a bad source.
TEST(Art, ToolWritesEverythingAndNamesABadSource) {
    const fs::path tool = fs::path(MURKO_BINARY_DIR) / "murko-art";
    if (!fs::exists(tool)) GTEST_SKIP() << "murko-art is not built";
    const fs::path root = fs::path(MURKO_BINARY_DIR) / "art_test";
    fs::remove_all(root);
    fs::create_directories(root);
    fs::copy(fs::path(MURKO_SOURCE_DIR) / "assets" / "art", root / "sources");
    int status = -1;
    std::string errors = RunCommand("'" + tool.string() + "' '" + (root / "sources").string() + "' '" +
                             (root / "out" / "nested").string() + "' 2>&1", &status);
    EXPECT_EQ(status, 0) << errors;
    int files = 0;
    for (const auto& entry : fs::directory_iterator(root / "out" / "nested")) files += entry.is_regular_file();
    EXPECT_EQ(files, 27);

    struct Breakage {
        const char* file;
        const char* from;
        const char* to;
    };
    const Breakage breakages[] = {
        {"hero.txt", "picture dogLeft2 16 16\n................\n", "picture dogLeft2 16 16\n..............\n"},
        {"tiles.txt", "colour f 52 58 62", "colour f 52 58"},
        {"letters.txt", "letter A\n.###.", "letter A\n.#x#."},
        {"Antique.txt", "glyph 65 A\n", "glyph 300 A\n"},
        {"spiders.txt", "picture murko5 18 18", "picture murko4 18 18"},
    };
    for (const Breakage& b : breakages) {
        SCOPED_TRACE(b.file);
        fs::remove_all(root / "broken");
        fs::copy(root / "sources", root / "broken");
        std::vector<uint8_t> bytes = ReadAll(root / "broken" / b.file);
        std::string text(bytes.begin(), bytes.end());
        size_t at = text.find(b.from);
        ASSERT_NE(at, std::string::npos);
        text.replace(at, std::string(b.from).size(), b.to);
        std::ofstream(root / "broken" / b.file, std::ios::binary) << text;
        errors = RunCommand("'" + tool.string() + "' '" + (root / "broken").string() + "' '" + (root / "out2").string() +
                     "' 2>&1", &status);
        EXPECT_NE(status, 0);
        EXPECT_NE(errors.find(b.file), std::string::npos) << errors;
        EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    }
    fs::remove_all(root);
}
