// Data folders and the whole start-up load: pictures into their slots, the raster font, the menu.
#include <gtest/gtest.h>

#include <algorithm>
#include <span>

#include "app/data.h"
#include "app/options.h"
#include "core/globals.h"
#include "core/pictures.h"
#include "gfx/targa.h"
#include "targa_files.h"

namespace fs = std::filesystem;

TEST(DataPaths, FoldersForEveryWayOfRunning) {
    for (const auto& [path, folder] : {std::pair{"/usr/games/murko", "/usr/games/"},
                                       {"murko", "./"},
                                       {"/murko", "/"},
                                       {"", "./"}})
        EXPECT_EQ(FolderOfPath(path), folder) << path;
    const fs::path root = FreshFolder("paths");
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
        {built.substr(0, built.size() - 1), "", share, user, built, built, false},
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

// The 26 pictures in a long UTF-8 folder, each one colour of its own, pickDoom missing; the font
// file short, then missing; a whole score file.
TEST(LoadResources, FillsEverySlotInOrderAndEndsAtTheMenu) {
    std::string name = "ünïcødé";
    while (name.size() < 400) name += "/долгое-имя-папки-с-картинками";
    const fs::path root = FreshFolder(name);
    const fs::path graph = root / "Graph";
    fs::create_directories(graph);
    auto colour = [](int i) {
        return TestColour{uint8_t(8 * i + 8), uint8_t(4 * (i % 7) + 4), uint8_t(200 - 8 * i)};
    };
    const int missing = 22;  // pickDoom.tga
    for (int i = 0; i < 26; i++) {
        const PictureFile& p = PictureFiles[i];
        const std::vector<uint8_t> indices(size_t(p.width * p.height), 3);
        if (i != missing)
            WriteBytes(graph / p.file,
                       TargaBytes(p.width, p.height, {{}, {}, {}, colour(i)}, indices));
    }
    std::vector<uint8_t> font(2000);
    for (size_t i = 0; i < font.size(); i++) font[i] = uint8_t(i * 7 + 1);
    std::vector<uint8_t> scores(200);  // score i is 65536 + 256 (i + 1), little-endian
    for (int i = 0; i < 10; i++) {
        scores[20 * i] = uint8_t('a' + i);
        scores[20 * i + 13] = uint8_t(i + 1);
        scores[20 * i + 14] = 1;
    }
    WriteBytes(root / "Mhighscore.dat", scores);
    const LaunchOptions saved = Options;
    Options.haveSeed = true;
    for (const bool withFont : {true, false}) {
        SCOPED_TRACE(withFont ? "short font file" : "no font file");
        fs::remove(graph / "Antique.fnt");
        if (withFont) WriteBytes(graph / "Antique.fnt", font);
        Options.mute = !withFont;
        BuildDataPathsFrom("/nowhere/", root.string(), "", "");
        std::fill_n(G.TileImages[0], sizeof G.TileImages / 2, 0x3333);
        std::fill_n(G.BackBuffer, BackBufferPixels, 0x4444);
        std::fill_n(G.FontGlyphs, sizeof G.FontGlyphs, 0);
        testing::internal::CaptureStderr();
        LoadResources();
        const std::string said = testing::internal::GetCapturedStderr();
        for (int i = 0; i < 26; i++) {
            const uint16_t want =
                i == missing ? 0 : TargaColour(colour(i)[0], colour(i)[1], colour(i)[2]);
            const std::span slot(PictureSlots[i], PictureFiles[i].width * PictureFiles[i].height);
            EXPECT_EQ(std::count(slot.begin(), slot.end(), want), slot.size())
                << PictureFiles[i].file;
        }
        EXPECT_EQ(std::count(std::begin(G.TileImages[8]), std::end(G.TileImages[8]), 0), 20 * 20)
            << "spare tile 8";
        EXPECT_EQ(std::count(std::begin(G.TileImages[9]), std::end(G.TileImages[9]), 0), 20 * 20)
            << "spare tile 9";
        for (int i = 0; i < 4096; i++)
            ASSERT_EQ(G.FontGlyphs[i], withFont && i < 2000 ? font[i] : 0) << "font byte " << i;
        EXPECT_TRUE(Said(said, "pickDoom.tga").second) << said;
        EXPECT_TRUE(Said(said, "Antique.fnt").second) << said;
        EXPECT_EQ(std::distance(fs::directory_iterator(graph), fs::directory_iterator()),
                  25 + withFont)
            << "nothing created";
        for (int i = 0; i < 10; i++) {
            EXPECT_EQ(G.HighScoreTable[i].name[0], 'a' + i) << "entry " << i;
            EXPECT_EQ(G.HighScoreTable[i].score, 65536 + 256 * (i + 1)) << "entry " << i;
        }
        EXPECT_EQ(G.RedFontCharMap[uint8_t(' ')], 50);
        EXPECT_EQ(G.ScreenState, ScreenMainMenu);
        EXPECT_EQ(G.SoundOn, withFont ? 1 : 0);
        EXPECT_EQ(std::count(G.MazeGrid, G.MazeGrid + MazeCells, 0), MazeCells)
            << "maze cleared last";
        EXPECT_EQ(std::count(G.BackBuffer, G.BackBuffer + BackBufferPixels, 0), BackBufferPixels)
            << "back buffer black";
    }
    Options = saved;
    fs::remove_all(fs::temp_directory_path() / "murko-test-ünïcødé");
}
