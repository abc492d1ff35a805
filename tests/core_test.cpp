// The random generator, and the rule that keeps SDL out of the game core.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
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
    EXPECT_EQ(Rand(), 35);
}

namespace {

const std::regex SdlInclude(R"re(^\s*#\s*include\s*[<"]SDL)re");  // an SDL header
const std::regex HostRandCall(
    R"re((^|[^A-Za-z0-9_])s?rand\s*\()re");  // the C library's rand or srand

}  // namespace

// SDL belongs to platform/ alone (and to the small program that measures the cost of presenting,
// and the tests' injector of SDL events);
// the game core never uses the host C library's random numbers.
TEST(Layout, SdlStaysInPlatformAndTheCoreUsesItsOwnRand) {
    namespace fs = std::filesystem;
    const fs::path root(MURKO_SOURCE_DIR);
    int files = 0;
    for (const char* folder :
         {"core", "app", "gfx", "game", "screens", "tests", "tools", "bench"}) {
        if (!fs::exists(root / folder)) continue;
        bool core = std::string(folder) != "tests" && std::string(folder) != "tools" &&
                    std::string(folder) != "bench";
        for (const auto& entry : fs::recursive_directory_iterator(root / folder)) {
            std::string ext = entry.path().extension().string();
            if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
            if (entry.path().parent_path().filename() == "present_floor") continue;
            if (entry.path().filename() == "sdl_inject.cpp") continue;
            std::ifstream in(entry.path());
            std::string line;
            int number = 0;
            files++;
            while (std::getline(in, line)) {
                number++;
                EXPECT_FALSE(std::regex_search(line, SdlInclude))
                    << entry.path() << ":" << number << " includes SDL";
                if (core) {
                    EXPECT_FALSE(std::regex_search(line, HostRandCall))
                        << entry.path() << ":" << number << " calls rand";
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
                bool allowed = used != order.end() ? size_t(used - order.begin()) <= rank
                                                   : order[rank] == "app";
                EXPECT_TRUE(allowed) << entry.path() << " includes " << match[1];
            }
        }
    }
}
