// The picture tool's shared pieces: an 8-bit colour-mapped picture, the table of pictures, the
// steps.
#pragma once

#include <cstdint>

constexpr int ArtMaxWidth = 240;    // widest picture the game loads
constexpr int ArtMaxHeight = 320;   // tallest picture the game loads
constexpr int ArtMaxPictures = 40;  // pictures the tool can hold at once
constexpr int ArtNameLength = 32;   // longest picture name, with its terminator

// One picture: palette indices, top row first, and the palette they name.
struct ArtPicture {
    char name[ArtNameLength];                    // file name without ".tga"
    int width;                                   // pixels
    int height;                                  // pixels
    int colours;                                 // palette entries in use
    int overflowed;                              // 1 once a colour found no free palette entry
    uint8_t palette[256][3];                     // red, green, blue
    uint8_t pixels[ArtMaxWidth * ArtMaxHeight];  // index of pixel (x, y) at y * width + x
};

// The 5 x 7 letter shapes shared by the red font and the title: bit 4 is the leftmost column.
struct ArtLetter {
    uint8_t defined;  // 1 once the letter file drew it
    uint8_t rows[7];  // one byte a row, top first
};

extern ArtPicture ArtPictures[ArtMaxPictures];  // every picture made so far
extern int ArtPictureCount;                     // entries of ArtPictures in use
extern ArtLetter ArtLetters[128];               // letter shapes by ASCII code
extern uint8_t ArtFont[4096];                   // "Antique.fnt" as it will be written
extern int ArtFailed;                           // 1 once any step has reported a fault

// targa.cpp
int WriteTarga(const char* path, const ArtPicture* picture);

// pictures.cpp
ArtPicture* NewPicture(const char* name, int width, int height);
ArtPicture* FindPicture(const char* name);
int InkIndex(ArtPicture* picture, int red, int green, int blue);
void PlotIndex(ArtPicture* picture, int x, int y, int index);
void FillRect(ArtPicture* picture, int x, int y, int width, int height, int index);

// sources.cpp: the text sources
int ReadGridFile(const char* path);
int ReadLetterFile(const char* path);
int ReadFontFile(const char* path);

// icons.cpp: the window icon of the source folder's window_icon.txt, as the desktop icons
// (hicolor/NxN/apps/murko.png under the folder given) and as a C++ array for the SDL host
int WriteIcons(const char* source, const char* output);
int WriteWindowIcon(const char* source, const char* output);

// drawn.cpp: the pictures drawn by code
int DrawRedFont();
int DrawTitle();
int DrawBackdrop();
int DrawBottomPanel();
int DrawHudPanel();
