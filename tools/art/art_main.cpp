// murko-art SOURCE-FOLDER OUTPUT-FOLDER: draws every picture and the raster font the game loads.
// murko-art --icons OUTPUT-FOLDER: writes the desktop icons, hicolor/NxN/apps/murko.png.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "art.h"

// One picture the game loads: its name and the size its slot has.
struct PictureSlot {
    const char* name;  // file name without ".tga"
    int width;         // pixels
    int height;        // pixels
    int keyed;         // 1 for sprites and clouds, drawn with the red key; 2 for the red font
};

// Every picture of the Graph folder, in the game's load order.
static const PictureSlot PictureSlots[] = {
    {"dogLeft1", 16, 16, 1}, {"dogLeft2", 16, 16, 1}, {"dogUp1", 16, 16, 1},
    {"dogUp2", 16, 16, 1},   {"dogDown1", 16, 16, 1}, {"dogDown2", 16, 16, 1},
    {"murko1", 18, 18, 1},   {"murko2", 18, 18, 1},   {"murko3", 18, 18, 1},
    {"murko4", 18, 18, 1},   {"murko5", 18, 18, 1},   {"back1", 240, 192, 0},
    {"panel1", 240, 32, 0},  {"panel2", 240, 80, 0},  {"backdrop1", 240, 320, 0},
    {"redfont", 160, 80, 2}, {"speaker", 16, 16, 0},  {"exit", 16, 16, 0},
    {"brick", 20, 20, 0},    {"open", 20, 20, 0},     {"pickFood", 20, 20, 0},
    {"pickBone", 20, 20, 0}, {"pickDoom", 20, 20, 0}, {"pickOpen", 20, 20, 0},
    {"cloud1", 20, 20, 1},   {"cloud2", 20, 20, 1},
};

// The character-grid sources, read in this order before anything is drawn by code.
static const char* const GridSources[] = {"hero.txt", "spiders.txt", "tiles.txt", "icons.txt"};

// The game's RGB565 value of a palette colour, its low bits dropped as the loader drops them.
static int Rgb565(const uint8_t* colour) {
    return (colour[0] & 0xF8) << 8 | (colour[1] & 0xFC) << 3 | colour[2] >> 3;
}

// A colour the game would take for a key colour must be exactly the key colour of the sources, and
// only sprites, clouds and the red font may hold their key colour at all.
static int CheckKeyColours(const ArtPicture* picture, int keyed) {
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
        if ((exactRed && keyed != 1) || (exactBlue && keyed == 1)) {
            std::fprintf(stderr, "murko-art: %s: holds a key colour it must not hold\n",
                         picture->name);
            return 0;
        }
    }
    return 1;
}

static int WritePictures(const std::string& output) {
    for (const PictureSlot& slot : PictureSlots) {
        const ArtPicture* picture = FindPicture(slot.name);
        if (!picture) {
            std::fprintf(stderr, "murko-art: no source draws %s\n", slot.name);
            return 0;
        }
        if (picture->width != slot.width || picture->height != slot.height) {
            std::fprintf(stderr, "murko-art: %s is %d x %d, the game loads %d x %d\n", slot.name,
                         picture->width, picture->height, slot.width, slot.height);
            return 0;
        }
        if (!CheckKeyColours(picture, slot.keyed)) return 0;
        if (!WriteTarga((output + slot.name + ".tga").c_str(), picture)) return 0;
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
    if (argc != 3) {
        std::fprintf(
            stderr,
            "usage: murko-art SOURCE-FOLDER OUTPUT-FOLDER | murko-art --icons OUTPUT-FOLDER\n");
        return 2;
    }
    if (std::strcmp(argv[1], "--icons") == 0) return WriteIcons(argv[2]) ? 0 : 1;
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
