// Reads the text sources: character-grid pictures with their colour legend, letter shapes, the
// font.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "art.h"

// One open source file and the line last read from it.
struct SourceReader {
    FILE* file;        // the open file
    const char* path;  // its name, for messages
    int line;          // number of the line in text
    char text[512];    // the line, without its end
};

static int OpenSource(SourceReader* reader, const char* path) {
    reader->file = std::fopen(path, "rb");
    reader->path = path;
    reader->line = 0;
    if (!reader->file) std::fprintf(stderr, "murko-art: cannot read %s\n", path);
    return reader->file != nullptr;
}

// The next line; comment lines and blank lines are passed over when skipNotes is 1.
static int NextLine(SourceReader* reader, int skipNotes) {
    while (std::fgets(reader->text, sizeof reader->text, reader->file)) {
        reader->line++;
        size_t length = std::strcspn(reader->text, "\r\n");
        reader->text[length] = 0;
        if (!skipNotes) return 1;
        if (length == 0 || reader->text[0] == '#') continue;
        return 1;
    }
    return 0;
}

static int Complain(const SourceReader* reader, const char* message) {
    std::fprintf(stderr, "murko-art: %s:%d: %s\n", reader->path, reader->line, message);
    return 0;
}

static int CloseSource(SourceReader* reader, int ok) {
    std::fclose(reader->file);
    return ok;
}

// Reads one row of a grid: exactly width characters, each one of the legend.
static int ReadGridRow(SourceReader* reader, ArtPicture* picture, int y, const int legend[256]) {
    if (!NextLine(reader, 0)) return Complain(reader, "the picture ends early");
    if (int(std::strlen(reader->text)) != picture->width)
        return Complain(reader, "row of the wrong width");
    for (int x = 0; x < picture->width; x++) {
        int index = legend[uint8_t(reader->text[x])];
        if (index < 0) return Complain(reader, "character not in the colour legend");
        picture->pixels[y * picture->width + x] = uint8_t(index);
    }
    return 1;
}

// "picture NAME WIDTH HEIGHT" and its rows; the palette is the file's whole legend, in order.
static int ReadGridPicture(SourceReader* reader, const uint8_t colours[][3], int colourCount,
                           const int legend[256]) {
    char name[64];
    int width = 0, height = 0;
    if (std::sscanf(reader->text, "picture %63s %d %d", name, &width, &height) != 3) {
        return Complain(reader, "expected: picture NAME WIDTH HEIGHT");
    }
    if (width < 1 || height < 1 || width > ArtMaxWidth || height > ArtMaxHeight) {
        return Complain(reader, "picture size out of range");
    }
    if (std::strlen(name) >= ArtNameLength) return Complain(reader, "picture name too long");
    if (FindPicture(name)) return Complain(reader, "picture drawn twice");
    if (ArtPictureCount == ArtMaxPictures) return Complain(reader, "too many pictures");
    ArtPicture* picture = NewPicture(name, width, height);
    if (!picture) return 0;
    std::memcpy(picture->palette, colours, size_t(colourCount) * 3);
    picture->colours = colourCount;
    for (int y = 0; y < height; y++) {
        if (!ReadGridRow(reader, picture, y, legend)) return 0;
    }
    return 1;
}

// "colour C RED GREEN BLUE note": character C stands for that colour in the pictures below.
static int ReadLegendLine(SourceReader* reader, uint8_t colours[][3], int* colourCount,
                          int legend[256]) {
    char symbol = 0;
    int red = -1, green = -1, blue = -1;
    if (std::sscanf(reader->text, "colour %c %d %d %d", &symbol, &red, &green, &blue) != 4 ||
        red < 0 || red > 255 || green < 0 || green > 255 || blue < 0 || blue > 255) {
        return Complain(reader, "expected: colour CHARACTER RED GREEN BLUE (0..255)");
    }
    if (legend[uint8_t(symbol)] >= 0) return Complain(reader, "character already in the legend");
    if (*colourCount == 256) return Complain(reader, "more than 256 colours");
    colours[*colourCount][0] = uint8_t(red);
    colours[*colourCount][1] = uint8_t(green);
    colours[*colourCount][2] = uint8_t(blue);
    legend[uint8_t(symbol)] = (*colourCount)++;
    return 1;
}

int ReadGridFile(const char* path) {
    SourceReader reader;
    if (!OpenSource(&reader, path)) return 0;
    static uint8_t colours[256][3];  // the legend's colours in the order given
    int colourCount = 0;
    int legend[256];
    for (int& entry : legend) entry = -1;
    while (NextLine(&reader, 1)) {
        int ok;
        if (std::strncmp(reader.text, "colour ", 7) == 0) {
            ok = ReadLegendLine(&reader, colours, &colourCount, legend);
        } else if (std::strncmp(reader.text, "picture ", 8) == 0) {
            ok = ReadGridPicture(&reader, colours, colourCount, legend);
        } else {
            ok = Complain(&reader, "expected a colour or picture line");
        }
        if (!ok) return CloseSource(&reader, 0);
    }
    return CloseSource(&reader, 1);
}

// "letter C" and seven rows of five: '#' ink, '.' clear.
static int ReadLetter(SourceReader* reader) {
    if (std::strlen(reader->text) != 8 || std::strncmp(reader->text, "letter ", 7) != 0 ||
        uint8_t(reader->text[7]) > 127) {
        return Complain(reader, "expected: letter C");
    }
    ArtLetter* letter = &ArtLetters[uint8_t(reader->text[7])];
    if (letter->defined) return Complain(reader, "letter drawn twice");
    letter->defined = 1;
    for (int row = 0; row < 7; row++) {
        if (!NextLine(reader, 0)) return Complain(reader, "the letter ends early");
        if (std::strlen(reader->text) != 5) return Complain(reader, "letter row not 5 wide");
        letter->rows[row] = 0;
        for (int column = 0; column < 5; column++) {
            char c = reader->text[column];
            if (c != '#' && c != '.') return Complain(reader, "letter rows hold only '#' and '.'");
            if (c == '#') letter->rows[row] |= uint8_t(0x10 >> column);
        }
    }
    return 1;
}

int ReadLetterFile(const char* path) {
    SourceReader reader;
    if (!OpenSource(&reader, path)) return 0;
    while (NextLine(&reader, 1)) {
        if (!ReadLetter(&reader)) return CloseSource(&reader, 0);
    }
    return CloseSource(&reader, 1);
}

// "glyph CODE note" and sixteen rows of eight: '#' ink, '.' clear, the leftmost column bit 7.
static int ReadGlyph(SourceReader* reader, uint8_t seen[256]) {
    char* end = nullptr;
    long code =
        std::strncmp(reader->text, "glyph ", 6) == 0 ? std::strtol(reader->text + 6, &end, 10) : -1;
    if (code < 0 || code > 255 || end == reader->text + 6)
        return Complain(reader, "expected: glyph CODE");
    if (seen[code]) return Complain(reader, "glyph drawn twice");
    seen[code] = 1;
    for (int row = 0; row < 16; row++) {
        if (!NextLine(reader, 0)) return Complain(reader, "the glyph ends early");
        if (std::strlen(reader->text) != 8) return Complain(reader, "glyph row not 8 wide");
        uint8_t bits = 0;
        for (int column = 0; column < 8; column++) {
            char c = reader->text[column];
            if (c != '#' && c != '.') return Complain(reader, "glyph rows hold only '#' and '.'");
            if (c == '#') bits |= uint8_t(0x80 >> column);
        }
        ArtFont[code * 16 + row] = bits;
    }
    return 1;
}

int ReadFontFile(const char* path) {
    SourceReader reader;
    if (!OpenSource(&reader, path)) return 0;
    uint8_t seen[256] = {};
    while (NextLine(&reader, 1)) {
        if (!ReadGlyph(&reader, seen)) return CloseSource(&reader, 0);
    }
    return CloseSource(&reader, 1);
}
