// Start-up timing: MURKO_TIME_FIRST_FRAME makes the first frame shown, and only it, say how long
// the start took, from the process start or from the launch instant the variable holds.
#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <regex>
#include <string>

// What a headless run of three frames prints on stderr, with env in front of it.
static std::string StartUpSays(const std::string& env) {
    std::string command = env + " '" MURKO_EXECUTABLE "' --headless --frames 3 2>&1 >/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    std::string said;
    char chunk[256];
    for (size_t n; pipe && (n = fread(chunk, 1, sizeof chunk, pipe)) > 0;) said.append(chunk, n);
    if (pipe) pclose(pipe);
    return said;
}

TEST(StartUp, TheFirstFrameIsTimedOnRequestOnly) {
    const std::regex once(R"(murko: first frame shown after ([0-9]+\.[0-9]) ms\n)");
    timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    const std::string launch =
        std::to_string(now.tv_sec) + std::to_string(now.tv_nsec + 1000000000L).substr(1);
    std::smatch m;
    for (const std::string& env :
         {std::string("MURKO_TIME_FIRST_FRAME=1"), "MURKO_TIME_FIRST_FRAME=" + launch}) {
        const std::string said = StartUpSays(env);
        ASSERT_TRUE(std::regex_match(said, m, once)) << env << ": " << said;
        EXPECT_GT(std::stod(m[1]), 0.0) << env;
        EXPECT_LT(std::stod(m[1]), 30000.0) << env;
    }
    EXPECT_EQ(StartUpSays("env -u MURKO_TIME_FIRST_FRAME"), "");
}
