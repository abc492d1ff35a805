// The package: cpack's .deb unpacked into a throwaway root starts there, moved elsewhere it still
// finds its data, and lintian takes it.

#include <regex>
#include <set>

#include "tests/test_support.h"

namespace {

bool Have(const char* tool) {
    return system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

}  // namespace

TEST(Install, TheDebUnpacksIntoAThrowawayRootAndStartsHeadlessThere) {
    TestFolder t("install");
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
