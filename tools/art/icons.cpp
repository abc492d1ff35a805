// The window icon from its character grid, window_icon.txt: as a C++ array that the SDL host
// builds in, and as the desktop icons, scaled up by whole steps (nearest neighbour) and halved by
// averaging, written as hicolor/NxN/apps/murko.png for each size.
#include <png.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "art.h"

constexpr int IconMaxSide = 512;                                       // the largest icon written
constexpr int IconSides[] = {16, 24, 32, 48, 64, 128, 192, 256, 512};  // the sizes written

static int IconSize;                                    // the grid's side, in pixels
static uint32_t IconGrid[IconMaxSide * IconMaxSide];    // the grid's pixels, 0xAARRGGBB
static uint32_t IconCanvas[IconMaxSide * IconMaxSide];  // one icon being written, 0xAARRGGBB

// Reads the grid into IconGrid: the clear key colour becomes see-through, every other colour
// opaque.
static int ReadIconGrid(const char* source) {
    std::string path = std::string(source) + "/window_icon.txt";
    if (!ReadGridFile(path.c_str())) return 0;
    const ArtPicture* picture = FindPicture("window-icon");
    if (!picture || picture->width != picture->height || picture->width > IconMaxSide) {
        std::fprintf(stderr, "murko-art: %s draws no square window-icon\n", path.c_str());
        return 0;
    }
    IconSize = picture->width;
    for (int i = 0; i < IconSize * IconSize; i++) {
        const uint8_t* c = picture->palette[picture->pixels[i]];
        bool clear = c[0] == 255 && c[1] == 0 && c[2] == 0;
        IconGrid[i] = clear ? 0 : 0xFF000000u | uint32_t(c[0]) << 16 | uint32_t(c[1]) << 8 | c[2];
    }
    return 1;
}

// Channel c (0 red .. 3 alpha) of a 0xAARRGGBB pixel.
static uint32_t Channel(uint32_t argb, int c) {
    return (argb >> (c == 3 ? 24 : 16 - 8 * c)) & 0xFF;
}

// One pixel of the icon at side: the grid pixel under it when side is at least the grid's (nearest
// neighbour), else the alpha-weighted average of the grid pixels it covers (the 16 and 24 px
// icons).
static uint32_t IconPixel(const uint32_t* grid, int side, int x, int y) {
    if (side >= IconSize) return grid[(y * IconSize / side) * IconSize + x * IconSize / side];
    int x0 = x * IconSize / side, x1 = (x + 1) * IconSize / side, y0 = y * IconSize / side,
        y1 = (y + 1) * IconSize / side;
    uint32_t sum[4] = {}, count = uint32_t((x1 - x0) * (y1 - y0));
    for (int gy = y0; gy < y1; gy++)
        for (int gx = x0; gx < x1; gx++) {
            uint32_t p = grid[gy * IconSize + gx], a = Channel(p, 3);
            for (int c = 0; c < 3; c++) sum[c] += Channel(p, c) * a;
            sum[3] += a;
        }
    if (sum[3] == 0) return 0;
    uint32_t alpha = (sum[3] + count / 2) / count;
    return alpha << 24 | (sum[0] / sum[3]) << 16 | (sum[1] / sum[3]) << 8 | sum[2] / sum[3];
}

// Writes the icon of side pixels as PNG (RGBA, 8 bits a channel).
static int WriteIconPng(const std::string& path, int side) {
    for (int y = 0; y < side; y++)
        for (int x = 0; x < side; x++) IconCanvas[y * side + x] = IconPixel(IconGrid, side, x, y);
    static uint8_t rgba[IconMaxSide * IconMaxSide * 4];
    for (int i = 0; i < side * side; i++)
        for (int c = 0; c < 4; c++) rgba[4 * i + c] = uint8_t(Channel(IconCanvas[i], c));
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    image.width = uint32_t(side);
    image.height = uint32_t(side);
    image.format = PNG_FORMAT_RGBA;
    if (!png_image_write_to_file(&image, path.c_str(), 0, rgba, 0, nullptr)) {
        std::fprintf(stderr, "murko-art: cannot write %s: %s\n", path.c_str(), image.message);
        return 0;
    }
    return 1;
}

int WriteIcons(const char* source, const char* output) {
    if (!ReadIconGrid(source)) return 0;
    for (int side : IconSides) {
        std::string size = std::to_string(side) + "x" + std::to_string(side);
        std::filesystem::path folder = std::filesystem::path(output) / "hicolor" / size / "apps";
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (error) {
            std::fprintf(stderr, "murko-art: cannot make %s: %s\n", folder.c_str(),
                         error.message().c_str());
            return 0;
        }
        if (!WriteIconPng((folder / "murko.png").string(), side)) return 0;
    }
    return 1;
}

int WriteWindowIcon(const char* source, const char* output) {
    if (!ReadIconGrid(source)) return 0;
    FILE* out = std::fopen(output, "wb");
    if (!out) {
        std::fprintf(stderr, "murko-art: cannot write %s\n", output);
        return 0;
    }
    std::fprintf(out, "// Made by murko-art from assets/art/window_icon.txt.\n");
    std::fprintf(out, "static const uint32_t WindowIconGrid[%d * %d] = {", IconSize, IconSize);
    for (int i = 0; i < IconSize * IconSize; i++)
        std::fprintf(out, "%s0x%08X,", i % 8 ? " " : "\n    ", unsigned(IconGrid[i]));
    std::fprintf(out, "\n};\n");
    int ok = !std::ferror(out);
    ok = (std::fclose(out) == 0) && ok;
    if (!ok) std::fprintf(stderr, "murko-art: writing %s failed\n", output);
    return ok;
}
