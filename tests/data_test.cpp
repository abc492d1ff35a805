// Data folders and the whole start-up load: pictures into their slots, the raster font, the score file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <span>

#include "app/data.h"
#include "core/globals.h"
#include "app/options.h"
#include "gfx/targa.h"
#include "targa_files.h"

namespace fs = std::filesystem;

TEST(DataPaths, FoldersForEveryWayOfRunning) {
    for (const auto& [path, folder] : {std::pair{"/usr/games/murko", "/usr/games/"}, {"murko", "./"}, {"/murko", "/"}, {"", "./"}})
        EXPECT_EQ(FolderOfPath(path), folder) << path;
    fs::path root = FreshFolder("paths");
    std::string built = (root / "build").string() + "/", bin = (root / "prefix/bin").string() + "/";
    std::string share = (root / "prefix/share/murko").string(), data = (root / "Dåtä мурко").string();
    std::string user = (root / "home/murko").string() + "/";
    for (const std::string& folder : {built + "Graph", bin, share + "/Graph", data + "/Graph"}) fs::create_directories(folder);
    const struct { std::string exe, dataDir, install, user, base, scores; bool complaint; } cases[] = {  // base: parent of Graph/, Sound/
        {built, "", share, user, built, built, false},
        {built.substr(0, built.size() - 1), "", share, user, built, built, false},
        {bin, "", share, user, share + "/", user, false},
        {bin, "", share, "", share + "/", bin, false},
        {bin, data, share, user, data + "/", data + "/", false},
        {built, data + "/", share, user, data + "/", data + "/", false},
        {built, bin, share, user, bin, bin, true},  // --data without Graph/
        {bin, "", (root / "none").string(), user, bin, bin, false},
    };
    for (const auto& c : cases) {
        testing::internal::CaptureStderr();
        BuildDataPathsFrom(c.exe, c.dataDir, c.install, c.user);
        EXPECT_EQ(Said(testing::internal::GetCapturedStderr(), "Graph"), std::pair(int(c.complaint), c.complaint)) << c.exe << " " << c.dataDir;
        EXPECT_EQ(G.GraphFolder + G.SoundFolder + G.ProgramFolder, c.base + "Graph/" + c.base + "Sound/" + c.scores) << c.exe << " " << c.dataDir;
    }
}

// The 26 pictures in a long UTF-8 folder, each one colour of its own, pickDoom missing; fonts and score files cut short.
TEST(LoadResources, FillsEverySlotInOrderAndEndsAtTheMenu) {
    const struct { const char* name; std::span<const uint16_t> slot; } pictures[] = {
        {"dogLeft1", G.HeroFrames[0]}, {"dogLeft2", G.HeroFrames[1]}, {"dogUp1", G.HeroFrames[2]}, {"dogUp2", G.HeroFrames[3]},
        {"dogDown1", G.HeroFrames[4]}, {"dogDown2", G.HeroFrames[5]}, {"murko1", G.SpiderFrames[0]}, {"murko2", G.SpiderFrames[1]},
        {"murko3", G.SpiderFrames[2]}, {"murko4", G.SpiderFrames[3]}, {"murko5", G.SpiderFrames[4]}, {"back1", G.MenuBackImage},
        {"panel1", G.BottomPanelImage}, {"panel2", G.HudPanelImage}, {"backdrop1", G.BackdropImage}, {"redfont", G.RedFontImage},
        {"speaker", G.SpeakerImage}, {"exit", G.ExitImage}, {"brick", G.TileImages[1]}, {"open", G.TileImages[0]},
        {"pickFood", G.TileImages[2]}, {"pickBone", G.TileImages[3]}, {"pickDoom", G.TileImages[4]}, {"pickOpen", G.TileImages[5]},
        {"cloud1", G.TileImages[6]}, {"cloud2", G.TileImages[7]},
    };
    std::string name = "ünïcødé";
    while (name.size() < 400) name += "/долгое-имя-папки-с-картинками";
    fs::path root = FreshFolder(name), graph = root / "Graph";
    fs::create_directories(graph);
    auto colour = [](int i) { return TestColour{uint8_t(8 * i + 8), uint8_t(4 * (i % 7) + 4), uint8_t(200 - 8 * i)}; };
    for (int i = 0; i < 26; i++)
        if (i != 22)
            WriteBytes(graph / (pictures[i].name + std::string(".tga")), TargaBytes(16, int(pictures[i].slot.size() / 16), {{}, {}, {}, colour(i)},
                                                                                   std::vector<uint8_t>(pictures[i].slot.size(), 3)));
    std::vector<uint8_t> font(5000), scores(200);
    for (size_t i = 0; i < font.size(); i++) font[i] = uint8_t(i * 7 + 1);
    for (int i = 0; i < 10; i++)  // "Player<i>" scoring 65536 + 256 (i + 1), little-endian
        snprintf(reinterpret_cast<char*>(&scores[20 * i]), 12, "Player%d", i), scores[20 * i + 13] = uint8_t(i + 1), scores[20 * i + 14] = 1;
    memset(&scores[40], 'X', 12);  // a name without its terminating zero
    const struct { int mute, fontBytes, scoreBytes; } runs[] = {{0, 2000, 120}, {1, 5000, -1}, {0, -1, 130}};  // -1: no file
    LaunchOptions saved = Options;
    for (const auto& run : runs) {
        fs::remove(graph / "Antique.fnt"), fs::remove(root / "Mhighscore.dat");
        if (run.fontBytes >= 0) WriteBytes(graph / "Antique.fnt", {font.begin(), font.begin() + run.fontBytes});
        if (run.scoreBytes >= 0) WriteBytes(root / "Mhighscore.dat", {scores.begin(), scores.begin() + run.scoreBytes});
        Options.mute = run.mute, Options.haveSeed = true, Options.seed = 7;
        BuildDataPathsFrom("/nowhere/", root.string(), "", "");
        memset(G.TileImages, 0x33, sizeof G.TileImages), memset(G.BackBuffer, 0x44, sizeof G.BackBuffer), memset(G.FontGlyphs, 0, sizeof G.FontGlyphs);
        testing::internal::CaptureStderr();
        LoadResources();
        std::string said = testing::internal::GetCapturedStderr();
        for (int i = 0; i < 26; i++) {
            uint16_t want = i == 22 ? 0 : TargaColour(colour(i)[0], colour(i)[1], colour(i)[2]);
            for (uint16_t pixel : pictures[i].slot) ASSERT_EQ(pixel, want) << pictures[i].name;
        }
        EXPECT_TRUE(std::all_of(G.TileImages[8], G.TileImages[10], [](uint16_t p) { return p == 0; })) << "spare tiles";
        for (int i = 0; i < 4096; i++) ASSERT_EQ(G.FontGlyphs[i], i < run.fontBytes ? font[i] : 0) << "font byte " << i << " of " << run.fontBytes;
        EXPECT_EQ(Said(said, "pickDoom.tga"), std::pair(1 + (run.fontBytes < 4096), true)) << said;  // a line for each
        EXPECT_EQ(Said(said, "Antique.fnt").second, run.fontBytes < 4096) << said;
        EXPECT_EQ(std::distance(fs::directory_iterator(graph), fs::directory_iterator()), 25 + (run.fontBytes >= 0)) << "nothing created";
        for (int i = 0; i < 10; i++) {
            int have = run.scoreBytes - 20 * i;
            std::string name = have <= 0 ? "Murko-Dog" : i == 2 ? "XXXXXXXXXXXX" : "Player" + std::to_string(i);  // kept as read
            EXPECT_EQ(std::string(G.HighScoreTable[i].name, strnlen(G.HighScoreTable[i].name, 12)) + " " + std::to_string(G.HighScoreTable[i].score),
                      name + " " + std::to_string(have >= 16 ? 65536 + 256 * (i + 1) : 100 - 10 * i)) << run.scoreBytes << " bytes";
        }
        EXPECT_EQ(std::vector<int>({G.RedFontCharMap[uint8_t(' ')], G.ScreenState, G.SoundOn}), std::vector<int>({50, ScreenMainMenu, 1 - run.mute}));
        EXPECT_EQ(std::count(G.MazeGrid, G.MazeGrid + MazeCells, 0) + std::count(G.BackBuffer, G.BackBuffer + BackBufferPixels, 0),
                  MazeCells + BackBufferPixels) << "maze cleared last, back buffer black";
    }
    Options = saved;
    fs::remove_all(fs::temp_directory_path() / "murko-test-ünïcødé");
}
