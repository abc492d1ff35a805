// The two fonts: the 8 x 16 raster font in any colour, and the ready-coloured red picture font.
#pragma once

#include <cstdint>

constexpr int RedFontCells = 50;                     // 16 x 16 cells of RedFontImage, 10 a row
extern const char RedFontCharset[RedFontCells + 1];  // character shown by each red font cell

void BuildRedFontCharMap();  // RedFontCharMap from RedFontCharset; later cells win
// One raster glyph at (x, y): ink is textColour when colour is -1, else colour; narrow 0 = double
// width.
void DrawFontGlyph(char ch, int x, int y, int colour, int narrow, uint16_t textColour);
// A string in the raster font with a black shadow up-left and down-right; 8 (narrow 1) or 16 pixels
// a character.
void DrawFontText(const char* text, int x, int y, int narrow, uint16_t colour);
void DrawRedGlyph(char ch, int x, int y);  // one red font cell; nothing for a character without one
void DrawRedText(const char* text, int x, int y);  // red font glyphs 16 pixels apart
