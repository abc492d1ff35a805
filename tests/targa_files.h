// Test helper: small 8-bit colour-mapped Targa files, fresh folders, and reading captured stderr.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

struct TestColour {
    uint8_t red, green, blue;  // 8-bit channels
};

// Standard header (colour-mapped, 256 x 24-bit map, 8 bits, bottom-left origin), BGR map, indices as given.
inline std::vector<uint8_t> TargaBytes(int width, int height, const std::vector<TestColour>& palette,
                                       const std::vector<uint8_t>& indicesInFileOrder) {
    std::vector<uint8_t> bytes = {0, 1, 1, 0, 0, 0, 1, 24, 0, 0, 0, 0, uint8_t(width), uint8_t(width >> 8),
                                  uint8_t(height), uint8_t(height >> 8), 8, 0};
    bytes.resize(18 + 768);
    for (size_t i = 0; i < palette.size(); i++) {
        bytes[18 + 3 * i] = palette[i].blue, bytes[19 + 3 * i] = palette[i].green, bytes[20 + 3 * i] = palette[i].red;
    }
    bytes.insert(bytes.end(), indicesInFileOrder.begin(), indicesInFileOrder.end());
    return bytes;
}

inline void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    if (FILE* file = fopen(path.string().c_str(), "wb")) {
        if (!bytes.empty()) fwrite(bytes.data(), 1, bytes.size(), file);
        fclose(file);
    }
}

inline std::filesystem::path FreshFolder(const std::string& name) {
    std::filesystem::path folder = std::filesystem::temp_directory_path() / ("murko-test-" + name);
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

// Lines of text that contain needle.
inline int LinesMentioning(const std::string& text, const std::string& needle) {
    int lines = 0;
    for (size_t start = 0, end; start < text.size(); start = end + 1) {
        end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines += text.substr(start, end - start).find(needle) != std::string::npos;
    }
    return lines;
}
