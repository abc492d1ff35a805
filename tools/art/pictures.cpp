// The table of pictures the tool makes, and the few ways of putting colour into one.
#include <cstdio>
#include <cstring>

#include "art.h"

ArtPicture ArtPictures[ArtMaxPictures];  // every picture made so far
int ArtPictureCount;                     // entries of ArtPictures in use
ArtLetter ArtLetters[128];               // letter shapes by ASCII code
uint8_t ArtFont[4096];                   // "Antique.fnt" as it will be written
int ArtFailed;                           // 1 once any step has reported a fault

ArtPicture* NewPicture(const char* name, int width, int height) {
    if (ArtPictureCount == ArtMaxPictures) {
        std::fprintf(stderr, "murko-art: more than %d pictures\n", ArtMaxPictures);
        return nullptr;
    }
    if (std::strlen(name) >= ArtNameLength || width < 1 || height < 1 || width > ArtMaxWidth ||
        height > ArtMaxHeight) {
        std::fprintf(stderr, "murko-art: picture %s of %d x %d is not possible\n", name, width,
                     height);
        return nullptr;
    }
    if (FindPicture(name)) {
        std::fprintf(stderr, "murko-art: picture %s is drawn twice\n", name);
        return nullptr;
    }
    ArtPicture* picture = &ArtPictures[ArtPictureCount++];
    std::memset(picture, 0, sizeof *picture);
    std::strcpy(picture->name, name);
    picture->width = width;
    picture->height = height;
    return picture;
}

ArtPicture* FindPicture(const char* name) {
    for (int i = 0; i < ArtPictureCount; i++) {
        if (std::strcmp(ArtPictures[i].name, name) == 0) return &ArtPictures[i];
    }
    return nullptr;
}

// The palette entry of a colour, added when it is new; -1 once all 256 are taken.
int InkIndex(ArtPicture* picture, int red, int green, int blue) {
    for (int i = 0; i < picture->colours; i++) {
        const uint8_t* entry = picture->palette[i];
        if (entry[0] == red && entry[1] == green && entry[2] == blue) return i;
    }
    if (picture->colours == 256) {
        if (!picture->overflowed)
            std::fprintf(stderr, "murko-art: %s needs more than 256 colours\n", picture->name);
        picture->overflowed = 1;
        ArtFailed = 1;
        return -1;
    }
    uint8_t* entry = picture->palette[picture->colours];
    entry[0] = uint8_t(red);
    entry[1] = uint8_t(green);
    entry[2] = uint8_t(blue);
    return picture->colours++;
}

void PlotIndex(ArtPicture* picture, int x, int y, int index) {
    if (index < 0 || x < 0 || y < 0 || x >= picture->width || y >= picture->height) return;
    picture->pixels[y * picture->width + x] = uint8_t(index);
}

void FillRect(ArtPicture* picture, int x, int y, int width, int height, int index) {
    for (int row = y; row < y + height; row++) {
        for (int column = x; column < x + width; column++) PlotIndex(picture, column, row, index);
    }
}
