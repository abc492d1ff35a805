// Test helper: writes small 8-bit colour-mapped Targa files and temporary folders.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

struct TestColour {
    uint8_t red, green, blue;  // 8-bit channels
};

// Header (standard colour-mapped, origin bottom-left), 256 BGR entries, then the index bytes as given.
inline std::vector<uint8_t> TargaBytes(int width, int height, const std::vector<TestColour>& palette,
                                       const std::vector<uint8_t>& indicesInFileOrder) {
    std::vector<uint8_t> bytes(18 + 768, 0);
    bytes[1] = 1;   // colour map present
    bytes[2] = 1;   // uncompressed, colour-mapped
    bytes[6] = 1;   // 256 map entries
    bytes[7] = 24;  // of 24 bits
    bytes[12] = uint8_t(width), bytes[13] = uint8_t(width >> 8);
    bytes[14] = uint8_t(height), bytes[15] = uint8_t(height >> 8);
    bytes[16] = 8;  // bits per pixel
    for (size_t i = 0; i < palette.size() && i < 256; i++) {
        bytes[18 + 3 * i] = palette[i].blue;
        bytes[19 + 3 * i] = palette[i].green;
        bytes[20 + 3 * i] = palette[i].red;
    }
    bytes.insert(bytes.end(), indicesInFileOrder.begin(), indicesInFileOrder.end());
    return bytes;
}

inline void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    FILE* file = fopen(path.string().c_str(), "wb");
    if (!file) return;
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

// A fresh, empty folder under the system's temporary folder.
inline std::filesystem::path FreshFolder(const std::string& name) {
    std::filesystem::path folder = std::filesystem::temp_directory_path() / ("murko-test-" + name);
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

// Lines in a captured stderr text that mention needle.
inline int LinesMentioning(const std::string& text, const std::string& needle) {
    int lines = 0;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        if (text.substr(start, end - start).find(needle) != std::string::npos) lines++;
        start = end + 1;
    }
    return lines;
}
