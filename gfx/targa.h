// Targa loading: 8-bit colour-mapped pictures into RGB565 image slots.
#pragma once

#include <cstdint>
#include <string>

constexpr int TargaHeaderBytes = 18;    // header, skipped unread
constexpr int TargaPaletteBytes = 768;  // 256 entries of blue, green, red
constexpr int TargaPixelOffset = TargaHeaderBytes + TargaPaletteBytes;  // first index byte, 786

// One palette entry as RGB565, the low bits of each channel dropped.
uint16_t TargaColour(uint8_t red, uint8_t green, uint8_t blue);

// Fills dest (width x height pixels) from the file at path (UTF-8). The slot is cleared to
// black first, so whatever the file does not supply stays black. Returns 1 when the whole
// picture was read, 0 when the file is missing, unreadable or short (one line on stderr).
int LoadTarga(const std::string& path, int width, int height, uint16_t* dest);
