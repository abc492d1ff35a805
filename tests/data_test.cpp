// Data folders, the raster font file, the score file, the whole start-up load, and a game without pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "app/data.h"
#include "app/globals.h"
#include "app/options.h"
#include "gfx/targa.h"
#include "screens/high_scores.h"
#include "targa_files.h"

namespace fs = std::filesystem;

TEST(DataPaths, FoldersForEveryWayOfRunning) {
    const std::pair<const char*, const char*> folderOf[] = {{"/usr/games/murko", "/usr/games/"}, {"murko", "./"},
                                                            {"/murko", "/"}, {"", "./"}};
    for (const auto& [path, folder] : folderOf) EXPECT_EQ(FolderOfPath(path), folder) << path;
    fs::path root = FreshFolder("paths");
    std::string built = (root / "build").string() + "/", bin = (root / "prefix/bin").string() + "/";
    std::string share = (root / "prefix/share/murko").string(), data = (root / "Dåtä мурко").string();
    std::string user = (root / "home/murko").string() + "/";
    for (const std::string& folder : {built + "Graph", bin, share + "/Graph", data + "/Graph"}) fs::create_directories(folder);
    struct Case {
        const char* what;
        std::string exe, dataDir, install, user;
        std::string base, scores;  // expected parent of Graph/ and Sound/, and ProgramFolder
        bool complaint;
    };
    const Case cases[] = {
        {"build folder", built, "", share, user, built, built, false},
        {"build folder without slash", built.substr(0, built.size() - 1), "", share, user, built, built, false},
        {"installed", bin, "", share, user, share + "/", user, false},
        {"installed, no home", bin, "", share, "", share + "/", bin, false},
        {"--data", bin, data, share, user, data + "/", data + "/", false},
        {"--data with slash", built, data + "/", share, user, data + "/", data + "/", false},
        {"--data without Graph", built, bin, share, user, bin, bin, true},
        {"nothing anywhere", bin, "", (root / "none").string(), user, bin, bin, false},
    };
    for (const Case& c : cases) {
        testing::internal::CaptureStderr();
        BuildDataPathsFrom(c.exe, c.dataDir, c.install, c.user);
        EXPECT_EQ(LinesMentioning(testing::internal::GetCapturedStderr(), "Graph"), int(c.complaint)) << c.what;
        EXPECT_EQ(G.GraphFolder + G.SoundFolder + G.ProgramFolder, c.base + "Graph/" + c.base + "Sound/" + c.scores) << c.what;
    }
    std::string oldHome = getenv("HOME") ? getenv("HOME") : "", oldXdg = getenv("XDG_DATA_HOME") ? getenv("XDG_DATA_HOME") : "";
    setenv("XDG_DATA_HOME", "relative", 1);  // not absolute: ignored
    setenv("HOME", "/home/me", 1);
    EXPECT_EQ(UserDataFolder(), "/home/me/.local/share/murko/");
    setenv("XDG_DATA_HOME", "/data/me/", 1);
    EXPECT_EQ(UserDataFolder(), "/data/me/murko/");
    setenv("HOME", oldHome.c_str(), 1);
    oldXdg.empty() ? unsetenv("XDG_DATA_HOME") : setenv("XDG_DATA_HOME", oldXdg.c_str(), 1);
}

TEST(DataFiles, FontAndScoresAreReadAsFarAsTheyGoAndNeverCreated) {
    fs::path folder = FreshFolder("files");
    G.GraphFolder = G.ProgramFolder = folder.string() + "/";
    for (int bytes : {4096, 2000, 5000, -1}) {
        fs::remove(folder / "Antique.fnt");
        std::vector<uint8_t> font;
        for (int i = 0; i < bytes; i++) font.push_back(uint8_t(i * 7 + 1));
        if (bytes >= 0) WriteBytes(folder / "Antique.fnt", font);
        memset(G.FontGlyphs, 0, sizeof G.FontGlyphs);
        testing::internal::CaptureStderr();
        LoadRasterFontFile();
        EXPECT_EQ(LinesMentioning(testing::internal::GetCapturedStderr(), "Antique.fnt"), int(bytes == 2000 || bytes < 0));
        for (int i = 0; i < 4096; i++) ASSERT_EQ(G.FontGlyphs[i], i < bytes ? uint8_t(i * 7 + 1) : 0) << bytes << " bytes";
    }
    EXPECT_FALSE(fs::exists(folder / "Antique.fnt"));
    std::vector<uint8_t> scores(200, 0);
    for (int i = 0; i < 10; i++) {
        memcpy(&scores[20 * i], "Player", 6), scores[20 * i + 6] = uint8_t('0' + i);
        scores[20 * i + 13] = uint8_t(i + 1), scores[20 * i + 14] = 1;  // 65536 + 256 (i + 1), little-endian
    }
    memset(&scores[40], 'X', 12);  // a name without its terminating zero
    struct Case {
        int bytes;  // -1: no file
        const char* name1;
        int score0, score1, score9;
    };
    const Case cases[] = {{-1, "Murko-Dog", 100, 90, 10}, {200, "Player1", 65792, 66048, 68096}, {30, "Player1", 65792, 90, 10}};
    for (const Case& c : cases) {
        fs::remove(folder / "Mhighscore.dat");
        if (c.bytes >= 0) WriteBytes(folder / "Mhighscore.dat", {scores.begin(), scores.begin() + c.bytes});
        SetDefaultHighScores();
        LoadHighScores();
        EXPECT_STREQ(G.HighScoreTable[1].name, c.name1) << c.bytes;
        EXPECT_EQ(std::vector<int>({G.HighScoreTable[0].score, G.HighScoreTable[1].score, G.HighScoreTable[9].score}),
                  std::vector<int>({c.score0, c.score1, c.score9})) << c.bytes;
        EXPECT_EQ(strlen(G.HighScoreTable[2].name), c.bytes == 200 ? 11u : 9u) << c.bytes;
        EXPECT_EQ(fs::exists(folder / "Mhighscore.dat"), c.bytes >= 0);
    }
}

// The 26 pictures in a long UTF-8 folder, each one colour of its own, one of them missing.
TEST(LoadResources, FillsEverySlotInOrderAndEndsAtTheMenu) {
    const struct {
        const char* file;
        int width, height;
        const uint16_t* slot;
    } pictures[] = {
        {"dogLeft1.tga", 16, 16, G.HeroFrames[0]}, {"dogLeft2.tga", 16, 16, G.HeroFrames[1]},
        {"dogUp1.tga", 16, 16, G.HeroFrames[2]}, {"dogUp2.tga", 16, 16, G.HeroFrames[3]},
        {"dogDown1.tga", 16, 16, G.HeroFrames[4]}, {"dogDown2.tga", 16, 16, G.HeroFrames[5]},
        {"murko1.tga", 18, 18, G.SpiderFrames[0]}, {"murko2.tga", 18, 18, G.SpiderFrames[1]},
        {"murko3.tga", 18, 18, G.SpiderFrames[2]}, {"murko4.tga", 18, 18, G.SpiderFrames[3]},
        {"murko5.tga", 18, 18, G.SpiderFrames[4]}, {"back1.tga", 240, 192, G.MenuBackImage},
        {"panel1.tga", 240, 32, G.BottomPanelImage}, {"panel2.tga", 240, 80, G.HudPanelImage},
        {"backdrop1.tga", 240, 320, G.BackdropImage}, {"redfont.tga", 160, 80, G.RedFontImage},
        {"speaker.tga", 16, 16, G.SpeakerImage}, {"exit.tga", 16, 16, G.ExitImage},
        {"brick.tga", 20, 20, G.TileImages[1]}, {"open.tga", 20, 20, G.TileImages[0]},
        {"pickFood.tga", 20, 20, G.TileImages[2]}, {"pickBone.tga", 20, 20, G.TileImages[3]},
        {"pickDoom.tga", 20, 20, G.TileImages[4]}, {"pickOpen.tga", 20, 20, G.TileImages[5]},
        {"cloud1.tga", 20, 20, G.TileImages[6]}, {"cloud2.tga", 20, 20, G.TileImages[7]},
    };
    std::string name = "ünïcødé";
    while (name.size() < 400) name += "/долгое-имя-папки-с-картинками";
    fs::path root = FreshFolder(name);
    fs::create_directories(root / "Graph");
    auto colour = [](int i) { return TestColour{uint8_t(8 * i + 8), uint8_t(4 * (i % 7) + 4), uint8_t(200 - 8 * i)}; };
    for (int i = 0; i < 26; i++)
        if (i != 22)
            WriteBytes(root / "Graph" / pictures[i].file,
                       TargaBytes(pictures[i].width, pictures[i].height, {{}, {}, {}, colour(i)},
                                  std::vector<uint8_t>(size_t(pictures[i].width * pictures[i].height), 3)));
    WriteBytes(root / "Graph/Antique.fnt", std::vector<uint8_t>(4096, 0x5A));
    LaunchOptions saved = Options;
    for (int mute = 0; mute < 2; mute++) {
        Options.mute = mute, Options.haveSeed = true, Options.seed = 7;
        BuildDataPathsFrom("/nowhere/", root.string(), "", "");
        memset(G.TileImages, 0x33, sizeof G.TileImages);
        memset(G.BackBuffer, 0x44, sizeof G.BackBuffer);
        testing::internal::CaptureStderr();
        LoadResources();
        std::string said = testing::internal::GetCapturedStderr();
        for (int i = 0; i < 26; i++) {
            TestColour c = colour(i);
            uint16_t want = i == 22 ? 0 : TargaColour(c.red, c.green, c.blue);
            for (int k = 0; k < pictures[i].width * pictures[i].height; k++) ASSERT_EQ(pictures[i].slot[k], want) << pictures[i].file;
        }
        EXPECT_TRUE(std::all_of(G.TileImages[8], G.TileImages[10], [](uint16_t p) { return p == 0; })) << "spare tiles";
        EXPECT_EQ(LinesMentioning(said, "pickDoom.tga"), 1) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        EXPECT_FALSE(fs::exists(root / "Graph/pickDoom.tga"));
        EXPECT_EQ(G.FontGlyphs[4095] + G.RedFontCharMap[uint8_t(' ')] + G.HighScoreTable[9].score, 0x5A + 50 + 10);
        EXPECT_EQ(G.ScreenState, ScreenMainMenu);
        EXPECT_EQ(G.SoundOn, 1 - mute);
        EXPECT_TRUE(std::all_of(G.MazeGrid, G.MazeGrid + MazeCells, [](int8_t c) { return c == 0; })) << "maze cleared last";
        EXPECT_TRUE(std::all_of(G.BackBuffer, G.BackBuffer + BackBufferPixels, [](uint16_t p) { return p == 0; }));
    }
    Options = saved;
    fs::remove_all(fs::temp_directory_path() / "murko-test-ünïcødé");
}

TEST(LoadResources, TheGameRunsOnWithoutItsPictures) {
    fs::path root = FreshFolder("empty-data"), err = root / "stderr.txt";
    std::string command = std::string("'") + MURKO_EXECUTABLE + "' --headless --mute --seed 3 --frames 20 --data '" +
                          root.string() + "' 2>'" + err.string() + "'";
    EXPECT_EQ(system(command.c_str()), 0);
    std::ifstream in(err);
    std::string said((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (const char* file : {"dogLeft1.tga", "murko5.tga", "back1.tga", "redfont.tga", "cloud2.tga", "Antique.fnt"})
        EXPECT_EQ(LinesMentioning(said, file), 1) << file << "\n" << said;
    EXPECT_EQ(std::distance(fs::directory_iterator(root), fs::directory_iterator()), 1) << "nothing is created";
    fs::remove_all(root);
}
