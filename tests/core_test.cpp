// The random generator, and the rule that keeps SDL out of the game core.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

#include "app/globals.h"
#include "app/random.h"

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

TEST(Random, StaysInRange) {
    Srand(99);
    for (int i = 0; i < 100000; i++) {
        int v = Rand();
        ASSERT_GE(v, 0);
        ASSERT_LE(v, RandMax);
    }
}

// Walks the core folders; SDL belongs to platform/ only, and the host C library's rand() is never used.
TEST(Layout, CoreHasNoSdlAndNoHostRand) {
    namespace fs = std::filesystem;
    const std::regex sdl(R"(#\s*include\s*[<"]SDL)");
    const std::regex hostRand(R"((^|[^A-Za-z0-9_])(std::)?s?rand\s*\()");
    int files = 0;
    for (const char* folder : {"app", "gfx", "game", "screens"}) {
        for (const auto& entry : fs::recursive_directory_iterator(fs::path(MURKO_SOURCE_DIR) / folder)) {
            if (!entry.is_regular_file()) continue;
            std::ifstream in(entry.path());
            std::string line;
            int number = 0;
            files++;
            while (std::getline(in, line)) {
                number++;
                EXPECT_FALSE(std::regex_search(line, sdl)) << entry.path() << ":" << number << " includes SDL";
                EXPECT_FALSE(std::regex_search(line, hostRand)) << entry.path() << ":" << number << " calls rand";
            }
        }
    }
    EXPECT_GT(files, 10);
}
