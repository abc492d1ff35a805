// Targa loading: header skipped, 256-entry BGR palette, index rows stored bottom row first.
#include "gfx/targa.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/files.h"

constexpr int MaxTargaWidth = 240;  // widest picture of the game; rows are read one at a time

uint16_t TargaColour(uint8_t red, uint8_t green, uint8_t blue) {
    return uint16_t(((red & 0xF8) << 8) | ((green & 0xFC) << 3) | (blue >> 3));
}

// The colour map as RGB565; entries the file does not supply stay black.
static size_t ReadPalette(FILE* file, uint16_t palette[256]) {
    uint8_t bytes[TargaPixelOffset] = {};
    size_t got = fread(bytes, 1, sizeof bytes, file);
    for (int i = 0; i < 256; i++) {
        const uint8_t* entry = bytes + TargaHeaderBytes + 3 * i;
        palette[i] = TargaColour(entry[2], entry[1], entry[0]);
    }
    return got;
}

// Index rows, bottom row of the picture first; returns the number of index bytes read.
static size_t ReadRows(FILE* file, const uint16_t palette[256], int width, int height,
                       uint16_t* dest) {
    uint8_t row[MaxTargaWidth];
    size_t total = 0;
    for (int y = height - 1; y >= 0; y--) {
        uint16_t* out = dest + y * width;
        for (int x0 = 0; x0 < width; x0 += MaxTargaWidth) {
            size_t want = size_t(width - x0 < MaxTargaWidth ? width - x0 : MaxTargaWidth);
            size_t got = fread(row, 1, want, file);
            for (size_t x = 0; x < got; x++) out[x0 + x] = palette[row[x]];
            total += got;
            if (got < want) return total;
        }
    }
    return total;
}

int LoadTarga(const std::string& path, int width, int height, uint16_t* dest) {
    if (width <= 0 || height <= 0) return 0;
    memset(dest, 0, size_t(width) * size_t(height) * sizeof *dest);
    FILE* file = OpenForReading(path.c_str());
    if (!file) {
        fprintf(stderr, "murko: cannot open picture %s (%s); it stays black\n", path.c_str(),
                ReadFailure(errno));
        return 0;
    }
    uint16_t palette[256];
    size_t got = ReadPalette(file, palette);
    if (got == size_t(TargaPixelOffset)) got += ReadRows(file, palette, width, height, dest);
    bool failed = ferror(file) != 0;
    int readErrno = errno;
    if (fclose(file) != 0 && !failed) {
        fprintf(stderr, "murko: cannot close picture %s (%s)\n", path.c_str(), strerror(errno));
        return 0;
    }
    size_t want = size_t(TargaPixelOffset) + size_t(width) * size_t(height);
    if (failed) {
        fprintf(stderr, "murko: cannot read picture %s (%s); the unread part stays black\n",
                path.c_str(), strerror(readErrno));
        return 0;
    }
    if (got < want) {
        fprintf(stderr,
                "murko: picture %s is short (%zu of %zu bytes); the missing part stays black\n",
                path.c_str(), got, want);
        return 0;
    }
    return 1;
}
