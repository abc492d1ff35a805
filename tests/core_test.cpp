// The random generator, and the layering: who may include what, no circles, SDL in the host alone,
// and no use of the C library's rand in the game.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <set>

#include "core/random.h"

TEST(Random, MatchesTheHandheldGenerator) {
    // state = state * 214013 + 2531011; value = (state >> 16) & 0x7FFF
    const std::pair<uint32_t, std::vector<int>> cases[] = {
        {0, {38, 7719, 21238, 2437, 8855}},
        {12345, {7584, 19164, 25795, 22125, 5828}},
        {4294967295u, {35}},  // the top of the range wraps like any other state
    };
    for (const auto& [seed, values] : cases) {
        Srand(seed);
        for (int value : values) EXPECT_EQ(Rand(), value) << "seed " << seed;
    }
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

// Every include of the code folders' files, as "folder/name" units (a .h and its .cpp are one),
// checking each line against the folder's rules on the way.
std::map<std::string, std::set<std::string>> IncludeGraph() {
    namespace fs = std::filesystem;
    const std::regex include(R"re(^\s*#\s*include\s*"(([a-z_]+)/[a-z_/]+)\.h")re");
    const std::regex sdl(R"re(^\s*#\s*include\s*[<"]SDL)re");
    const std::regex hostRand(R"re((^|[^A-Za-z0-9_])s?rand\s*\()re");
    std::map<std::string, std::set<std::string>> graph;
    for (const auto& [folder, allowed] : MayInclude) {
        const fs::path root = fs::path(MURKO_SOURCE_DIR) / folder;
        const bool game = !allowed.count("platform") && folder != "tools";
        for (const auto& entry : fs::recursive_directory_iterator(root)) {
            std::string unit = folder + "/" + fs::relative(entry.path(), root).string();
            unit = unit.substr(0, unit.rfind('.'));
            std::ifstream in(entry.path());
            std::smatch match;
            for (std::string line; std::getline(in, line);) {
                EXPECT_FALSE(folder != "platform" && std::regex_search(line, sdl)) << unit;
                EXPECT_FALSE(game && std::regex_search(line, hostRand)) << unit << " calls rand";
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
        for (const std::string& next :
             graph.count(unit) ? graph.at(unit) : std::set<std::string>{}) {
            const std::string circle = state[next] == 1 ? next : state[next] ? "" : visit(next);
            if (!circle.empty()) return unit + " -> " + circle;
        }
        state[unit] = 2;
        return std::string();
    };
    std::string circle;
    for (const auto& [unit, edges] : graph)
        if (circle.empty() && state[unit] == 0) circle = visit(unit);
    return circle;
}

}  // namespace

TEST(Layout, FoldersIncludeOnlyWhatTheyMayAndNoFilesInACircle) {
    const auto graph = IncludeGraph();
    EXPECT_GT(graph.size(), 40u);
    EXPECT_EQ(FindCircle(graph), "");
}
