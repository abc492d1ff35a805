// What the tests share: fresh folders, the game and shell commands run in them, golden files,
// dumps, small Targas and checks in a child process.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

// In a child process: report the failed condition and leave with 1.
#define CHECK(cond)                                                             \
    do {                                                                        \
        if (cond) break;                                                        \
        std::fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #cond); \
        _exit(1);                                                               \
    } while (0)

// Runs the body in a fresh child process, which must end with 0.
#define IN_CHILD(...)                                                        \
    do {                                                                     \
        GTEST_FLAG_SET(death_test_style, "threadsafe");                      \
        EXPECT_EXIT(([&] { __VA_ARGS__; }(), std::fflush(stderr), _exit(0)), \
                    testing::ExitedWithCode(0), "");                         \
    } while (0)

// A file's bytes, "" when missing.
inline std::string ReadFile(const fs::path& path) {
    std::stringstream all;
    all << std::ifstream(path, std::ios::binary).rdbuf();
    return all.str();
}

// /tmp/murko-NAME-PID, made afresh and removed with the object. With ownData it holds links to the
// built Graph/ and Sound/ and is the game's data folder, so the score file is written here too.
struct TestFolder {
    fs::path path;
    bool ownData;
    explicit TestFolder(const std::string& name, bool ownData = false)
        : path(fs::temp_directory_path() / ("murko-" + name + "-" + std::to_string(getpid()))),
          ownData(ownData) {
        fs::remove_all(path);
        fs::create_directories(path);
        fs::permissions(path, fs::perms::owner_all);  // a private runtime folder for windows
        for (const char* sub : {"Graph", "Sound"})
            if (ownData)
                fs::create_directory_symlink(MURKO_BINARY_DIR "/" + std::string(sub), path / sub);
    }
    ~TestFolder() { fs::remove_all(path); }
    std::string operator[](const std::string& file) const { return ReadFile(path / file); }
    void Write(const std::string& file, const std::string& bytes) const {
        std::ofstream(path / file, std::ios::binary) << bytes;
    }
    // The game, silent, headless unless args ask for a window on SDL's invisible display ('@'
    // stands for this folder and a '/'); its exit code, with what it said on stderr in errors.
    int Run(std::string args, std::string* errors = nullptr, std::string env = "") const {
        const bool window = args.find("--windowed") != std::string::npos;
        if (window) env = "SDL_VIDEODRIVER=dummy XDG_RUNTIME_DIR=@ " + env;  // env may override
        std::string command = env + " '" MURKO_EXECUTABLE "' " + (window ? "" : "--headless ") +
                              "--audio nosound --data '" +
                              (ownData ? path.string() : MURKO_BINARY_DIR) + "' " + args;
        for (size_t at; (at = command.find('@')) != std::string::npos;)
            command.replace(at, 1, path.string() + "/");
        int status = std::system((command + " >/dev/null 2>'" + path.string() + "/err'").c_str());
        if (errors) *errors = (*this)["err"];
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

// A shell command's exit status, with what it printed on stdout and stderr in out.
inline int Shell(const std::string& command, std::string* out) {
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    out->clear();
    for (int c; pipe && (c = fgetc(pipe)) != EOF;) *out += char(c);
    const int status = pipe ? pclose(pipe) : -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// FNV-1a of bytes, 64 bits, in hex.
inline std::string Hash(const std::string& bytes) {
    uint64_t hash = 1469598103934665603u;
    for (unsigned char c : bytes) hash = (hash ^ c) * 1099511628211u;
    char text[17];
    snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

// got against the golden file tests/golden/NAME, or written there when MURKO_WRITE_GOLDEN is set.
inline void ExpectGolden(const std::string& name, const std::string& got) {
    const fs::path golden = fs::path(MURKO_SOURCE_DIR) / "tests" / "golden" / name;
    if (getenv("MURKO_WRITE_GOLDEN")) std::ofstream(golden) << got;
    EXPECT_EQ(ReadFile(golden), got) << golden << " is missing or differs";
}

// A number field of a state dump, -1 when missing.
inline long Field(const std::string& dump, const std::string& name) {
    const size_t at = dump.find("\"" + name + "\": ");
    return at == std::string::npos ? -1 : std::stol(dump.substr(at + name.size() + 4));
}

// A state dump without the frame start tick and the folders, which differ between processes.
inline std::string WithoutTick(const std::string& dump) {
    std::istringstream lines(dump);
    std::string kept;
    for (std::string line; std::getline(lines, line);)
        if (line.find("\"FrameStartTick\"") == line.npos && line.find("Folder\"") == line.npos)
            kept += line + "\n";
    return kept;
}

// Lines in text, and whether it mentions needle.
inline std::pair<int, bool> Said(const std::string& text, const std::string& needle) {
    return {int(std::count(text.begin(), text.end(), '\n')), text.find(needle) != text.npos};
}

using TestColour = std::array<uint8_t, 3>;  // red, green, blue

// A colour-mapped Targa (256 x 24-bit map, 8 bits, bottom-left origin), indices as given.
inline std::string TargaBytes(int width, int height, const std::vector<TestColour>& palette,
                              const std::vector<uint8_t>& indicesInFileOrder) {
    std::string bytes = {0, 1, 1, 0, 0, 0, 1, 24, 0, 0, 0, 0};
    for (int size : {width, height}) bytes += {char(size), char(size >> 8)};
    bytes += {8, 0};
    bytes.resize(18 + 768);
    for (size_t i = 0; i < palette.size(); i++)
        std::copy(palette[i].rbegin(), palette[i].rend(), &bytes[18 + 3 * i]);
    return bytes.append(indicesInFileOrder.begin(), indicesInFileOrder.end());
}
