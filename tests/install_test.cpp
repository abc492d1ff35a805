// The package: cpack's .deb unpacked into a throwaway root starts there, and the desktop files it
// carries validate and document the game.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

// Runs a shell command; returns its exit status and puts what it printed (stdout and stderr) in
// *out.
int Shell(const std::string& command, std::string* out) {
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return -1;
    char chunk[4096];
    out->clear();
    for (size_t n; (n = fread(chunk, 1, sizeof chunk, pipe)) > 0;) out->append(chunk, n);
    int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool Have(const char* tool) {
    return system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

// A scratch folder for one test, removed at its end.
struct Scratch {
    fs::path path = fs::temp_directory_path() / ("murko-install-" + std::to_string(getpid()));
    Scratch() { fs::create_directories(path); }
    ~Scratch() { fs::remove_all(path); }
};

}  // namespace

TEST(Install, TheDebUnpacksIntoAThrowawayRootAndStartsHeadlessThere) {
    Scratch t;
    std::string said;
    const std::string cpack =
        std::string("cd '" MURKO_BINARY_DIR "' && '" MURKO_CPACK "' -G DEB -B '") +
        t.path.string() + "/deb'";
    ASSERT_EQ(Shell(cpack, &said), 0) << said;
    std::string arch;
    ASSERT_EQ(Shell("dpkg --print-architecture", &arch), 0);
    const fs::path package =
        t.path / "deb" / ("murko_" MURKO_VERSION "_" + arch.substr(0, arch.size() - 1) + ".deb");
    ASSERT_TRUE(fs::exists(package)) << said;
    const fs::path root = t.path / "root";
    ASSERT_EQ(Shell("dpkg -x '" + package.string() + "' '" + root.string() + "'", &said), 0)
        << said;
    const char* const files[] = {
        "share/games/murko/screenshots/maze.png",
        "share/applications/murko.desktop",
        "share/icons/hicolor/16x16/apps/murko.png",
        "share/icons/hicolor/32x32/apps/murko.png",
        "share/icons/hicolor/256x256/apps/murko.png",
        "share/metainfo/" MURKO_APP_ID ".metainfo.xml",
    };
    for (const char* file : files) EXPECT_TRUE(fs::exists(root / "usr" / file)) << file;
    const std::string home = "HOME='" + t.path.string() + "' XDG_DATA_HOME='" + t.path.string() +
                             "/data' '" + root.string();
    EXPECT_EQ(Shell(home + "/usr/games/murko' --headless --seed 1 --frames 5", &said), 0) << said;
    EXPECT_EQ(said, "") << "every picture, the font and the sounds were found in the root";
    // The same tree moved elsewhere as bin/ and share/murko/ still finds its data.
    fs::create_directories(root / "opt/share");
    fs::rename(root / "usr/games", root / "opt/bin");
    fs::rename(root / "usr/share/games/murko", root / "opt/share/murko");
    const std::string game = home + "/opt/bin/murko'";
    EXPECT_EQ(Shell(game + " --headless --seed 1 --frames 5", &said), 0) << said;
    EXPECT_EQ(said, "");
    EXPECT_EQ(Shell(game + " --version", &said), 0);
    EXPECT_EQ(said, "murko " MURKO_VERSION "\n");
    if (!Have("lintian")) GTEST_SKIP() << "scripts/setup.sh installs lintian";
    EXPECT_EQ(Shell("lintian --fail-on error,warning '" + package.string() + "'", &said), 0)
        << said;
}

TEST(Install, TheDesktopFilesValidateAndTheManualNamesEveryOption) {
    if (!Have("desktop-file-validate") || !Have("appstreamcli"))
        GTEST_SKIP() << "scripts/setup.sh installs the validators";
    std::string said;
    EXPECT_EQ(Shell("desktop-file-validate '" MURKO_SOURCE_DIR "/dist/murko.desktop'", &said), 0)
        << said;
    EXPECT_EQ(
        Shell("appstreamcli validate --no-net '" MURKO_BINARY_DIR "/" MURKO_APP_ID ".metainfo.xml'",
              &said),
        0)
        << said;
    ASSERT_EQ(Shell("'" MURKO_EXECUTABLE "' --help", &said), 0);
    const std::string manual =
        std::regex_replace(ReadText(MURKO_SOURCE_DIR "/dist/murko.6"), std::regex(R"(\\-)"), "-");
    const std::regex option(R"(--[a-z0-9-]+)");
    std::set<std::string> options(std::sregex_token_iterator(said.begin(), said.end(), option), {});
    for (const std::string& name : options)
        EXPECT_NE(manual.find(name), std::string::npos) << name << " is not in murko.6";
    EXPECT_GT(options.size(), 15u);
}
