// Writes pictures, RGB565 or 0xRRGGBB, as PNG files (screenshots).
#include <png.h>

#include <cstdio>
#include <vector>

#include "platform/host.h"

// Writes a width x height picture whose pixel i is 0xRRGGBB as rgb(pixels[i]) and closes file.
template <typename Pixel>
static bool WritePng(FILE* file, const Pixel* pixels, int width, int height,
                     uint32_t (*rgb)(Pixel)) {
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(size_t(width) * 3);
    for (int y = 0; y < height; y++) {
        for (int x = 0; x < width; x++) {
            uint32_t p = rgb(pixels[y * width + x]);
            row[x * 3 + 0] = png_byte(p >> 16);
            row[x * 3 + 1] = png_byte(p >> 8);
            row[x * 3 + 2] = png_byte(p);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return fclose(file) == 0;
}

// An RGB565 pixel as 0xRRGGBB, each part widened by repeating its top bits.
static uint32_t FromRgb565(uint16_t p) {
    uint32_t r = (p >> 11) & 31, g = (p >> 5) & 63, b = p & 31;
    return ((r << 3) | (r >> 2)) << 16 | ((g << 2) | (g >> 4)) << 8 | ((b << 3) | (b >> 2));
}

static uint32_t FromRgb888(uint32_t p) { return p & 0xFFFFFF; }

bool HostWritePng(const char* path, const uint16_t* rgb565, int width, int height) {
    return WritePng(fopen(path, "wb"), rgb565, width, height, FromRgb565);
}

bool HostWritePngRgb(FILE* file, const uint32_t* rgb, int width, int height) {
    return WritePng(file, rgb, width, height, FromRgb888);
}
