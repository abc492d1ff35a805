// Data folders for every way of running: a build tree, an installed tree, --data, a user's own.

#include "app/data.h"
#include "core/globals.h"
#include "tests/test_support.h"

TEST(DataPaths, FoldersForEveryWayOfRunning) {
    for (const auto& [path, folder] : {std::pair{"/usr/games/murko", "/usr/games/"},
                                       {"murko", "./"},
                                       {"/murko", "/"},
                                       {"", "./"}})
        EXPECT_EQ(FolderOfPath(path), folder) << path;
    const TestFolder t("paths");
    const fs::path& root = t.path;
    const std::string built = (root / "build").string() + "/";
    const std::string bin = (root / "prefix/bin").string() + "/";
    const std::string share = (root / "prefix/share/murko").string();
    const std::string data = (root / "Dåtä мурко").string();
    const std::string user = (root / "home/murko").string() + "/";
    for (const std::string& folder : {built + "Graph", bin, share + "/Graph", data + "/Graph"})
        fs::create_directories(folder);
    const struct {
        std::string exe, dataDir, install, user;
        std::string base;    // parent of Graph/ and Sound/
        std::string scores;  // folder of the score file
        bool complaint;      // a line on stderr
    } cases[] = {
        {built, "", share, user, built, built, false},
        {bin, "", share, user, share + "/", user, false},
        {bin, "", share, "", share + "/", bin, false},
        {bin, data, share, user, data + "/", data + "/", false},
        {built, data + "/", share, user, data + "/", data + "/", false},
        {built, bin, share, user, bin, bin, true},  // --data without Graph/
        {bin, "", (root / "none").string(), user, bin, bin, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.exe + " " + c.dataDir);
        testing::internal::CaptureStderr();
        BuildDataPathsFrom(c.exe, c.dataDir, c.install, c.user);
        EXPECT_EQ(Said(testing::internal::GetCapturedStderr(), "Graph").second, c.complaint);
        EXPECT_EQ(G.GraphFolder, c.base + "Graph/");
        EXPECT_EQ(G.SoundFolder, c.base + "Sound/");
        EXPECT_EQ(G.ProgramFolder, c.scores);
    }
}
