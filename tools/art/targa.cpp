// Writes a picture as the one Targa layout the game reads: 8-bit colour-mapped, bottom row first.
#include <cstdio>

#include "art.h"

// The 18-byte header of an uncompressed, colour-mapped Targa file with a 256 x 24-bit palette.
static void FillHeader(uint8_t header[18], int width, int height) {
    for (int i = 0; i < 18; i++) header[i] = 0;
    header[1] = 1;   // a colour map follows
    header[2] = 1;   // uncompressed, colour-mapped
    header[5] = 0;   // colour map length: 256, low byte
    header[6] = 1;   //                    high byte
    header[7] = 24;  // bits per palette entry
    header[12] = uint8_t(width & 0xFF);
    header[13] = uint8_t(width >> 8);
    header[14] = uint8_t(height & 0xFF);
    header[15] = uint8_t(height >> 8);
    header[16] = 8;  // bits per pixel
    header[17] = 0;  // origin at the lower-left corner, no alpha bits
}

int WriteTarga(const char* path, const ArtPicture* picture) {
    static uint8_t
        file[18 + 768 + ArtMaxWidth * ArtMaxHeight];  // the whole file before it is written
    FillHeader(file, picture->width, picture->height);
    for (int i = 0; i < 256; i++) {
        file[18 + 3 * i] = picture->palette[i][2];
        file[19 + 3 * i] = picture->palette[i][1];
        file[20 + 3 * i] = picture->palette[i][0];
    }
    int size = 786;
    for (int y = picture->height - 1; y >= 0; y--) {
        for (int x = 0; x < picture->width; x++)
            file[size++] = picture->pixels[y * picture->width + x];
    }
    FILE* out = std::fopen(path, "wb");
    if (!out) {
        std::fprintf(stderr, "murko-art: cannot write %s\n", path);
        return 0;
    }
    int ok = std::fwrite(file, 1, size_t(size), out) == size_t(size);
    ok = (std::fclose(out) == 0) && ok;
    if (!ok) std::fprintf(stderr, "murko-art: writing %s failed\n", path);
    return ok;
}
