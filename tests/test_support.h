// What the tests share: a fresh folder of their own, and the game run headless in it.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

// /tmp/murko-NAME-PID, made afresh and removed with the object.
struct TestFolder {
    fs::path path;
    explicit TestFolder(const std::string& name)
        : path(fs::temp_directory_path() / ("murko-" + name + "-" + std::to_string(getpid()))) {
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~TestFolder() { fs::remove_all(path); }
    std::string operator[](const std::string& file) const {  // a file's bytes, "" when missing
        std::stringstream all;
        all << std::ifstream(path / file, std::ios::binary).rdbuf();
        return all.str();
    }
    void Write(const std::string& file, const std::string& bytes) const {
        std::ofstream(path / file, std::ios::binary) << bytes;
    }
    // The game, silent, on the build's data, with args ('@' stands for this folder and a '/');
    // its exit code, with what it said on stderr in errors.
    int Run(std::string args, std::string* errors = nullptr) const {
        std::string command = "'" MURKO_EXECUTABLE "' --headless --audio nosound --data '" +
                              std::string(MURKO_BINARY_DIR) + "' " + args;
        for (size_t at; (at = command.find('@')) != std::string::npos;)
            command.replace(at, 1, path.string() + "/");
        int status = std::system((command + " >/dev/null 2>'" + path.string() + "/err'").c_str());
        if (errors) *errors = (*this)["err"];
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

// A state dump without its frame start tick, which is the clock's and differs between processes.
inline std::string WithoutTick(const std::string& dump) {
    std::istringstream lines(dump);
    std::string kept;
    for (std::string line; std::getline(lines, line);)
        if (line.find("\"FrameStartTick\"") == std::string::npos) kept += line + "\n";
    return kept;
}
