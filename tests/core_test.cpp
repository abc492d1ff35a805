// The random generator, and the rule that keeps SDL out of the game core.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <cctype>
#include <cstring>
#include <algorithm>
#include <regex>
#include <string>
#include <vector>

#include "core/globals.h"
#include "core/random.h"

TEST(Random, MatchesTheHandheldGenerator) {
    struct Case {
        uint32_t seed;
        int first[5];
    };
    // state = state * 214013 + 2531011; value = (state >> 16) & 0x7FFF
    const Case cases[] = {
        {0, {38, 7719, 21238, 2437, 8855}},
        {1, {41, 18467, 6334, 26500, 19169}},
        {12345, {7584, 19164, 25795, 22125, 5828}},
    };
    for (const Case& c : cases) {
        Srand(c.seed);
        for (int i = 0; i < 5; i++) {
            EXPECT_EQ(Rand(), c.first[i]) << "seed " << c.seed << " value " << i;
        }
    }
    Srand(4294967295u);  // the top of the range wraps like any other state
    uint32_t state = 4294967295u;
    for (int i = 0; i < 1000; i++) {
        state = state * 214013u + 2531011u;
        ASSERT_EQ(Rand(), int((state >> 16) & 0x7FFF));
    }
}

namespace {

// True when the line is an #include of an SDL header.
bool IncludesSdl(const std::string& line) {
    size_t p = line.find_first_not_of(" \t");
    if (p == std::string::npos || line[p] != '#') return false;
    p = line.find_first_not_of(" \t", p + 1);
    if (p == std::string::npos || line.compare(p, 7, "include") != 0) return false;
    p = line.find_first_not_of(" \t", p + 7);
    return p != std::string::npos && (line.compare(p, 4, "<SDL") == 0 || line.compare(p, 4, "\"SDL") == 0);
}

// True when the line calls rand( or srand( of the C library (our own are Rand and Srand).
bool CallsHostRand(const std::string& line) {
    for (const char* name : {"rand", "srand"}) {
        size_t n = strlen(name);
        for (size_t p = line.find(name); p != std::string::npos; p = line.find(name, p + 1)) {
            bool startsWord = p == 0 || !(isalnum((unsigned char)line[p - 1]) || line[p - 1] == '_');
            size_t q = line.find_first_not_of(" \t", p + n);
            if (startsWord && q != std::string::npos && line[q] == '(') return true;
        }
    }
    return false;
}

}  // namespace

TEST(Layout, LineCheckersCatchWhatTheyLookFor) {
    EXPECT_TRUE(IncludesSdl("#include <SDL.h>"));
    EXPECT_TRUE(IncludesSdl("  #  include \"SDL2/SDL_audio.h\""));
    EXPECT_FALSE(IncludesSdl("#include \"platform/host.h\""));
    EXPECT_FALSE(IncludesSdl("// #include <SDL.h> is not allowed here"));
    EXPECT_TRUE(CallsHostRand("x = rand() % 4;"));
    EXPECT_TRUE(CallsHostRand("std::srand (7);"));
    EXPECT_FALSE(CallsHostRand("x = Rand() % 4;"));
    EXPECT_FALSE(CallsHostRand("Srand(seed); int operand(1);"));
}

// SDL belongs to platform/ alone (and to the small program that measures the cost of presenting);
// the game core never uses the host C library's random numbers.
TEST(Layout, SdlStaysInPlatformAndTheCoreUsesItsOwnRand) {
    namespace fs = std::filesystem;
    const fs::path root(MURKO_SOURCE_DIR);
    int files = 0;
    for (const char* folder : {"core", "app", "gfx", "game", "screens", "tests", "tools", "bench"}) {
        if (!fs::exists(root / folder)) continue;
        bool core = std::string(folder) != "tests" && std::string(folder) != "tools" && std::string(folder) != "bench";
        for (const auto& entry : fs::recursive_directory_iterator(root / folder)) {
            std::string ext = entry.path().extension().string();
            if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
            if (entry.path().parent_path().filename() == "present_floor") continue;
            std::ifstream in(entry.path());
            std::string line;
            int number = 0;
            files++;
            while (std::getline(in, line)) {
                number++;
                EXPECT_FALSE(IncludesSdl(line)) << entry.path() << ":" << number << " includes SDL";
                if (core) {
                    EXPECT_FALSE(CallsHostRand(line)) << entry.path() << ":" << number << " calls rand";
                }
            }
        }
    }
    EXPECT_GT(files, 30);
}

// Each folder of the game includes only its own files and those of the folders below it:
// core, then gfx, game, screens, and the shell (app) on top, which alone reaches the host.
TEST(Layout, FoldersIncludeOnlyTheFoldersBelowThem) {
    namespace fs = std::filesystem;
    const std::vector<std::string> order = {"core", "gfx", "game", "screens", "app"};
    const fs::path root(MURKO_SOURCE_DIR);
    const std::regex include(R"re(^\s*#\s*include\s*"([a-z_]+)/)re");
    for (size_t rank = 0; rank < order.size(); rank++) {
        for (const auto& entry : fs::recursive_directory_iterator(root / order[rank])) {
            std::ifstream in(entry.path());
            std::string line;
            std::smatch match;
            while (std::getline(in, line)) {
                if (!std::regex_search(line, match, include)) continue;
                auto used = std::find(order.begin(), order.end(), match[1].str());
                bool allowed = used != order.end() ? size_t(used - order.begin()) <= rank : order[rank] == "app";
                EXPECT_TRUE(allowed) << entry.path() << " includes " << match[1];
            }
        }
    }
}
