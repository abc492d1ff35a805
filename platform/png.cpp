// Writes RGB565 pictures as PNG files (screenshots).
#include <png.h>

#include <cstdio>
#include <vector>

#include "platform/host.h"

bool HostWritePng(const char* path, const uint16_t* rgb565, int width, int height) {
    FILE* file = fopen(path, "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(size_t(width) * 3);
    for (int y = 0; y < height; y++) {
        for (int x = 0; x < width; x++) {
            uint16_t p = rgb565[y * width + x];
            uint32_t r = (p >> 11) & 31, g = (p >> 5) & 63, b = p & 31;
            row[x * 3 + 0] = png_byte((r << 3) | (r >> 2));
            row[x * 3 + 1] = png_byte((g << 2) | (g >> 4));
            row[x * 3 + 2] = png_byte((b << 3) | (b >> 2));
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return fclose(file) == 0;
}
