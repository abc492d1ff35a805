// The random generator, and the rule that keeps SDL out of the game core.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <set>
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

namespace {

// The folders each code folder may include from: the game's layers in order (core, gfx, game,
// screens, then the shell, which alone reaches the host); the host and the tools stand apart.
const std::map<std::string, std::set<std::string>> MayInclude = {
    {"core", {"core"}},
    {"gfx", {"core", "gfx"}},
    {"game", {"core", "gfx", "game"}},
    {"screens", {"core", "gfx", "game", "screens"}},
    {"app", {"core", "gfx", "game", "screens", "app", "platform"}},
    {"platform", {"core", "platform"}},
    {"tools", {"core", "tools"}},
};

// Every include of a code folder's files, as "folder/name" units (a .h and its .cpp are one).
std::map<std::string, std::set<std::string>> IncludeGraph() {
    namespace fs = std::filesystem;
    const std::regex include(R"re(^\s*#\s*include\s*"(([a-z_]+)/[a-z_/]+)\.h")re");
    std::map<std::string, std::set<std::string>> graph;
    for (const auto& [folder, allowed] : MayInclude) {
        const fs::path root = fs::path(MURKO_SOURCE_DIR) / folder;
        for (const auto& entry : fs::recursive_directory_iterator(root)) {
            std::string unit = folder + "/" + fs::relative(entry.path(), root).string();
            unit = unit.substr(0, unit.rfind('.'));
            std::ifstream in(entry.path());
            std::smatch match;
            for (std::string line; std::getline(in, line);) {
                if (!std::regex_search(line, match, include)) continue;
                EXPECT_TRUE(allowed.count(match[2])) << entry.path() << " includes " << match[1];
                if (match[1] != unit) graph[unit].insert(match[1]);
            }
        }
    }
    return graph;
}

// A unit that reaches itself through includes, or "" when there is no circle.
std::string FindCircle(const std::map<std::string, std::set<std::string>>& graph) {
    std::map<std::string, int> state;  // 1 on the current path, 2 done
    std::function<std::string(const std::string&)> visit = [&](const std::string& unit) {
        state[unit] = 1;
        auto edges = graph.find(unit);
        if (edges != graph.end())
            for (const std::string& next : edges->second) {
                if (state[next] == 1) return unit + " -> " + next;
                if (state[next] == 0) {
                    std::string circle = visit(next);
                    if (!circle.empty()) return unit + " -> " + circle;
                }
            }
        state[unit] = 2;
        return std::string();
    };
    for (const auto& [unit, edges] : graph)
        if (state[unit] == 0) {
            std::string circle = visit(unit);
            if (!circle.empty()) return circle;
        }
    return "";
}

}  // namespace

TEST(Layout, FoldersIncludeOnlyWhatTheyMayAndNoFilesInACircle) {
    const auto graph = IncludeGraph();
    EXPECT_GT(graph.size(), 40u);
    EXPECT_EQ(FindCircle(graph), "");
}
