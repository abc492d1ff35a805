// murko-art SOURCE-FOLDER OUTPUT-FOLDER: draws every picture and the raster font the game loads.
// murko-art --icons SOURCE-FOLDER OUTPUT-FOLDER: writes the desktop icons,
// hicolor/NxN/apps/murko.png.
// murko-art --window-icon SOURCE-FOLDER OUTPUT-FILE: writes the window icon as a C++ array.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "art.h"
#include "core/pictures.h"

// The character-grid sources, read in this order before anything is drawn by code.
static const char* const GridSources[] = {"hero.txt", "spiders.txt", "tiles.txt", "icons.txt"};

// The game's RGB565 value of a palette colour, its low bits dropped as the loader drops them.
static int Rgb565(const uint8_t* colour) {
    return (colour[0] & 0xF8) << 8 | (colour[1] & 0xFC) << 3 | colour[2] >> 3;
}

// A colour the game would take for a key colour must be exactly the key colour of the sources, and
// only sprites, clouds and the red font may hold their key colour at all.
static int CheckKeyColours(const ArtPicture* picture, PictureKey key) {
    uint8_t used[256] = {};
    for (int i = 0; i < picture->width * picture->height; i++) used[picture->pixels[i]] = 1;
    for (int i = 0; i < 256; i++) {
        if (!used[i]) continue;
        const uint8_t* c = picture->palette[i];
        int value = Rgb565(c);
        int exactRed = c[0] == 255 && c[1] == 0 && c[2] == 0;
        int exactBlue = c[0] == 0 && c[1] == 0 && c[2] == 255;
        if ((value == 0xF800 && !exactRed) || (value == 0x001F && !exactBlue)) {
            std::fprintf(stderr, "murko-art: %s: colour %d %d %d would read as a key colour\n",
                         picture->name, c[0], c[1], c[2]);
            return 0;
        }
        if ((exactRed && key != PictureSpriteKey) || (exactBlue && key == PictureSpriteKey)) {
            std::fprintf(stderr, "murko-art: %s: holds a key colour it must not hold\n",
                         picture->name);
            return 0;
        }
    }
    return 1;
}

static int WritePictures(const std::string& output) {
    for (const PictureFile& slot : PictureFiles) {
        std::string name(slot.file, std::strlen(slot.file) - std::strlen(".tga"));
        const ArtPicture* picture = FindPicture(name.c_str());
        if (!picture) {
            std::fprintf(stderr, "murko-art: no source draws %s\n", name.c_str());
            return 0;
        }
        if (picture->width != slot.width || picture->height != slot.height) {
            std::fprintf(stderr, "murko-art: %s is %d x %d, the game loads %d x %d\n", name.c_str(),
                         picture->width, picture->height, slot.width, slot.height);
            return 0;
        }
        if (!CheckKeyColours(picture, slot.key)) return 0;
        if (!WriteTarga((output + slot.file).c_str(), picture)) return 0;
    }
    return 1;
}

static int WriteFont(const std::string& output) {
    std::string path = output + "Antique.fnt";
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) {
        std::fprintf(stderr, "murko-art: cannot write %s\n", path.c_str());
        return 0;
    }
    int ok = std::fwrite(ArtFont, 1, sizeof ArtFont, out) == sizeof ArtFont;
    ok = (std::fclose(out) == 0) && ok;
    if (!ok) std::fprintf(stderr, "murko-art: writing %s failed\n", path.c_str());
    return ok;
}

static int ReadSources(const std::string& source) {
    for (const char* name : GridSources) {
        if (!ReadGridFile((source + name).c_str())) return 0;
    }
    return ReadLetterFile((source + "letters.txt").c_str()) &&
           ReadFontFile((source + "Antique.txt").c_str());
}

static int DrawByCode() {
    return DrawRedFont() && DrawTitle() && DrawBackdrop() && DrawBottomPanel() && DrawHudPanel() &&
           !ArtFailed;
}

int main(int argc, char** argv) {
    bool icons = argc == 4 && std::strcmp(argv[1], "--icons") == 0;
    bool windowIcon = argc == 4 && std::strcmp(argv[1], "--window-icon") == 0;
    if (argc != 3 && !icons && !windowIcon) {
        std::fprintf(stderr,
                     "usage: murko-art SOURCE-FOLDER OUTPUT-FOLDER | murko-art --icons "
                     "SOURCE-FOLDER OUTPUT-FOLDER | murko-art --window-icon SOURCE-FOLDER "
                     "OUTPUT-FILE\n");
        return 2;
    }
    if (icons) return WriteIcons(argv[2], argv[3]) ? 0 : 1;
    if (windowIcon) return WriteWindowIcon(argv[2], argv[3]) ? 0 : 1;
    std::string source = std::string(argv[1]) + "/";
    std::string output = std::string(argv[2]) + "/";
    std::error_code error;
    std::filesystem::create_directories(argv[2], error);
    if (error) {
        std::fprintf(stderr, "murko-art: cannot make %s: %s\n", argv[2], error.message().c_str());
        return 1;
    }
    if (!ReadSources(source) || !DrawByCode() || !WritePictures(output) || !WriteFont(output))
        return 1;
    return 0;
}
