// Fuzz targets: the fuzzer's bytes as a file the game can open.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

// This process's scratch folder, with a trailing '/'.
inline std::string FuzzFolder() {
    std::string folder = "/tmp/murko-fuzz-" + std::to_string(getpid()) + "/";
    mkdir(folder.c_str(), 0700);
    return folder;
}

// Writes data to the file name in the scratch folder and returns its path.
inline std::string FuzzFile(const uint8_t* data, size_t size, const char* name) {
    std::string path = FuzzFolder() + name;
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return path;
    fwrite(data, 1, size, f);
    fclose(f);
    return path;
}
