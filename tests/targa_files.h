// Test helper: small 8-bit colour-mapped Targa files, fresh folders, and counting lines in captured
// stderr.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

using TestColour = std::array<uint8_t, 3>;  // red, green, blue

// Standard header (colour-mapped, 256 x 24-bit map, 8 bits, bottom-left origin), BGR map, indices
// as given.
inline std::vector<uint8_t> TargaBytes(int width, int height,
                                       const std::vector<TestColour>& palette,
                                       const std::vector<uint8_t>& indicesInFileOrder) {
    std::vector<uint8_t> bytes = {0,
                                  1,
                                  1,
                                  0,
                                  0,
                                  0,
                                  1,
                                  24,
                                  0,
                                  0,
                                  0,
                                  0,
                                  uint8_t(width),
                                  uint8_t(width >> 8),
                                  uint8_t(height),
                                  uint8_t(height >> 8),
                                  8,
                                  0};
    bytes.resize(18 + 768);
    for (size_t i = 0; i < palette.size(); i++)
        std::copy(palette[i].rbegin(), palette[i].rend(), &bytes[18 + 3 * i]);
    bytes.insert(bytes.end(), indicesInFileOrder.begin(), indicesInFileOrder.end());
    return bytes;
}

inline void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

inline std::filesystem::path FreshFolder(const std::string& name) {
    std::filesystem::path folder = std::filesystem::temp_directory_path() / ("murko-test-" + name);
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

// Lines in text, and whether it mentions needle.
inline std::pair<int, bool> Said(const std::string& text, const std::string& needle) {
    return {int(std::count(text.begin(), text.end(), '\n')),
            text.find(needle) != std::string::npos};
}
