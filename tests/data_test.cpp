// Data folders, the raster font file, the score file and the whole start-up load.
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

TEST(DataPaths, FolderStrings) {
    struct Case {
        const char* in;
        const char* withSlash;
        const char* folderOf;
    };
    const Case cases[] = {
        {"/usr/games/murko", "/usr/games/murko/", "/usr/games/"},
        {"/usr/games/", "/usr/games/", "/usr/games/"},
        {"murko", "murko/", "./"},
        {"/murko", "/murko/", "/"},
        {"", "./", "./"},
        {"./build/murko", "./build/murko/", "./build/"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FolderWithSlash(c.in), c.withSlash) << c.in;
        EXPECT_EQ(FolderOfPath(c.in), c.folderOf) << c.in;
    }
}

TEST(DataPaths, ChoosesDataAndScoreFolders) {
    fs::path root = FreshFolder("paths");
    std::string built = (root / "build").string() + "/";  // a build folder: Graph/ beside the game
    std::string bin = (root / "prefix" / "bin").string() + "/";
    std::string share = (root / "prefix" / "share" / "murko").string();
    std::string data = (root / "Dåtä мурко").string();
    std::string user = (root / "home" / "murko").string() + "/";
    for (const std::string& folder : {built + "Graph", bin, share + "/Graph", data + "/Graph"}) fs::create_directories(folder);
    struct Case {
        const char* what;
        std::string exe, dataDir, install, user;
        std::string base, scores;  // expected Graph/Sound parent and ProgramFolder
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
        std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(G.GraphFolder, c.base + "Graph/") << c.what;
        EXPECT_EQ(G.SoundFolder, c.base + "Sound/") << c.what;
        EXPECT_EQ(G.ProgramFolder, c.scores) << c.what;
        EXPECT_EQ(LinesMentioning(said, "Graph"), c.complaint ? 1 : 0) << c.what << ": " << said;
    }
}

TEST(DataPaths, UserFolderFollowsXdg) {
    std::string oldXdg = getenv("XDG_DATA_HOME") ? getenv("XDG_DATA_HOME") : "";
    std::string oldHome = getenv("HOME") ? getenv("HOME") : "";
    struct Case {
        const char* xdg;   // nullptr: unset
        const char* home;  // nullptr: unset
        const char* folder;
    };
    const Case cases[] = {
        {"/data/me", "/home/me", "/data/me/murko/"},
        {"/data/me/", "/home/me", "/data/me/murko/"},
        {nullptr, "/home/me", "/home/me/.local/share/murko/"},
        {"relative", "/home/me", "/home/me/.local/share/murko/"},
        {"", "/home/me", "/home/me/.local/share/murko/"},
        {nullptr, nullptr, ""},
    };
    for (const Case& c : cases) {
        c.xdg ? setenv("XDG_DATA_HOME", c.xdg, 1) : unsetenv("XDG_DATA_HOME");
        c.home ? setenv("HOME", c.home, 1) : unsetenv("HOME");
        EXPECT_EQ(UserDataFolder(), c.folder) << (c.xdg ? c.xdg : "(unset)");
    }
    oldXdg.empty() ? unsetenv("XDG_DATA_HOME") : setenv("XDG_DATA_HOME", oldXdg.c_str(), 1);
    oldHome.empty() ? unsetenv("HOME") : setenv("HOME", oldHome.c_str(), 1);
}

TEST(RasterFontFile, ReadsWhatThereIsAndCreatesNothing) {
    fs::path folder = FreshFolder("font");
    G.GraphFolder = folder.string() + "/";
    struct Case {
        int bytes;  // -1: no file
        int lines;  // stderr lines naming the font
    };
    const Case cases[] = {{4096, 0}, {2000, 1}, {5000, 0}, {-1, 1}};
    for (const Case& c : cases) {
        fs::remove(folder / "Antique.fnt");
        std::vector<uint8_t> bytes;
        for (int i = 0; i < c.bytes; i++) bytes.push_back(uint8_t(i * 7 + 1));
        if (c.bytes >= 0) WriteBytes(folder / "Antique.fnt", bytes);
        memset(G.FontGlyphs, 0, sizeof G.FontGlyphs);
        testing::internal::CaptureStderr();
        LoadRasterFontFile();
        std::string said = testing::internal::GetCapturedStderr();
        for (int i = 0; i < 4096; i++)
            ASSERT_EQ(G.FontGlyphs[i], i < c.bytes ? uint8_t(i * 7 + 1) : 0) << c.bytes << " bytes, byte " << i;
        EXPECT_EQ(LinesMentioning(said, "Antique.fnt"), c.lines) << said;
    }
    EXPECT_FALSE(fs::exists(folder / "Antique.fnt")) << "a missing font must not be created";
}

TEST(HighScoreFile, ReadOverTheDefaults) {
    fs::path folder = FreshFolder("scores");
    G.ProgramFolder = folder.string() + "/";
    std::vector<uint8_t> file(200, 0);
    for (int i = 0; i < 10; i++) {
        snprintf(reinterpret_cast<char*>(&file[20 * i]), 12, "Player%d", i);
        uint32_t score = 70000u + 1000u * uint32_t(9 - i);
        for (int b = 0; b < 4; b++) file[20 * i + 12 + b] = uint8_t(score >> (8 * b));
    }
    std::vector<uint8_t> unterminated = file;
    memset(&unterminated[20], 'X', 12);
    struct Case {
        const char* what;
        int bytes;  // -1: no file
        const std::vector<uint8_t>* source;
        const char* name1;
        int score0, score1, score9;
    };
    const Case cases[] = {
        {"missing", -1, &file, "Murko-Dog", 100, 90, 10},
        {"whole", 200, &file, "Player1", 79000, 78000, 70000},
        {"one and a half records", 30, &file, "Player1", 79000, 90, 10},
        {"unterminated name", 200, &unterminated, "XXXXXXXXXXX", 79000, 78000, 70000},
    };
    for (const Case& c : cases) {
        fs::remove(folder / "Mhighscore.dat");
        if (c.bytes >= 0) WriteBytes(folder / "Mhighscore.dat", std::vector<uint8_t>(c.source->begin(), c.source->begin() + c.bytes));
        SetDefaultHighScores();
        LoadHighScores();
        EXPECT_STREQ(G.HighScoreTable[1].name, c.name1) << c.what;
        EXPECT_EQ(G.HighScoreTable[0].score, c.score0) << c.what;
        EXPECT_EQ(G.HighScoreTable[1].score, c.score1) << c.what;
        EXPECT_EQ(G.HighScoreTable[9].score, c.score9) << c.what;
        EXPECT_STREQ(G.HighScoreTable[9].name, c.bytes == 200 ? "Player9" : "Murko-Dog") << c.what;
        if (c.bytes < 0) {
            EXPECT_FALSE(fs::exists(folder / "Mhighscore.dat")) << "a missing score file must not be created";
        }
    }
}

namespace {

// The 26 pictures of a start-up, each a single colour of its own, and where each must land.
struct Picture {
    const char* file;
    int width, height;
    const uint16_t* slot;
};
const Picture Pictures[] = {
    {"dogLeft1.tga", 16, 16, G.HeroFrames[0]},   {"dogLeft2.tga", 16, 16, G.HeroFrames[1]},
    {"dogUp1.tga", 16, 16, G.HeroFrames[2]},     {"dogUp2.tga", 16, 16, G.HeroFrames[3]},
    {"dogDown1.tga", 16, 16, G.HeroFrames[4]},   {"dogDown2.tga", 16, 16, G.HeroFrames[5]},
    {"murko1.tga", 18, 18, G.SpiderFrames[0]},   {"murko2.tga", 18, 18, G.SpiderFrames[1]},
    {"murko3.tga", 18, 18, G.SpiderFrames[2]},   {"murko4.tga", 18, 18, G.SpiderFrames[3]},
    {"murko5.tga", 18, 18, G.SpiderFrames[4]},   {"back1.tga", 240, 192, G.MenuBackImage},
    {"panel1.tga", 240, 32, G.BottomPanelImage}, {"panel2.tga", 240, 80, G.HudPanelImage},
    {"backdrop1.tga", 240, 320, G.BackdropImage}, {"redfont.tga", 160, 80, G.RedFontImage},
    {"speaker.tga", 16, 16, G.SpeakerImage},     {"exit.tga", 16, 16, G.ExitImage},
    {"brick.tga", 20, 20, G.TileImages[1]},      {"open.tga", 20, 20, G.TileImages[0]},
    {"pickFood.tga", 20, 20, G.TileImages[2]},   {"pickBone.tga", 20, 20, G.TileImages[3]},
    {"pickDoom.tga", 20, 20, G.TileImages[4]},   {"pickOpen.tga", 20, 20, G.TileImages[5]},
    {"cloud1.tga", 20, 20, G.TileImages[6]},     {"cloud2.tga", 20, 20, G.TileImages[7]},
};

TestColour PictureColour(int i) { return {uint8_t(8 * i + 8), uint8_t(4 * (i % 7) + 4), uint8_t(200 - 8 * i)}; }

// A data folder holding Graph/ with all pictures but the one named skip.
fs::path MakeDataFolder(const std::string& name, const std::string& skip) {
    fs::path root = FreshFolder(name);
    fs::create_directories(root / "Graph");
    for (int i = 0; i < 26; i++) {
        const Picture& p = Pictures[i];
        if (skip == p.file) continue;
        std::vector<uint8_t> indices(size_t(p.width * p.height), 3);
        WriteBytes(root / "Graph" / p.file, TargaBytes(p.width, p.height, {{}, {}, {}, PictureColour(i)}, indices));
    }
    std::vector<uint8_t> font(4096, 0x5A);
    WriteBytes(root / "Graph" / "Antique.fnt", font);
    return root;
}

}  // namespace

TEST(LoadResources, FillsEverySlotInOrderAndEndsAtTheMenu) {
    // A long UTF-8 folder name, far past the handheld's 260 characters.
    std::string longName = "ünïcødé";
    while (longName.size() < 400) longName += "/долгое-имя-папки-с-картинками";
    fs::path root = MakeDataFolder(longName, "pickDoom.tga");
    LaunchOptions saved = Options;
    for (int mute = 0; mute < 2; mute++) {
        Options.mute = mute;
        Options.haveSeed = true;
        Options.seed = 7;
        BuildDataPathsFrom("/nowhere/", root.string(), "", "");
        memset(G.TileImages, 0x33, sizeof G.TileImages);
        memset(G.BackBuffer, 0x44, sizeof G.BackBuffer);
        testing::internal::CaptureStderr();
        LoadResources();
        std::string said = testing::internal::GetCapturedStderr();
        for (int i = 0; i < 26; i++) {
            const Picture& p = Pictures[i];
            TestColour c = PictureColour(i);
            uint16_t want = std::string(p.file) == "pickDoom.tga" ? 0 : TargaColour(c.red, c.green, c.blue);
            for (int k = 0; k < p.width * p.height; k++) ASSERT_EQ(p.slot[k], want) << p.file << " pixel " << k;
        }
        for (int k = 0; k < 400; k++) ASSERT_EQ(G.TileImages[8][k] | G.TileImages[9][k], 0) << "spare tiles are black";
        EXPECT_EQ(LinesMentioning(said, "pickDoom.tga"), 1) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        EXPECT_FALSE(fs::exists(root / "Graph" / "pickDoom.tga"));
        EXPECT_EQ(G.FontGlyphs[4095], 0x5A);
        EXPECT_EQ(G.RedFontCharMap[uint8_t(' ')], 50);
        EXPECT_EQ(G.ScreenState, ScreenMainMenu);
        EXPECT_EQ(G.SoundOn, mute ? 0 : 1);
        EXPECT_STREQ(G.HighScoreTable[0].name, "Murko-Dog");
        EXPECT_EQ(G.HighScoreTable[9].score, 10);
        int mazeBytes = 0, bufferBytes = 0;
        for (int8_t cell : G.MazeGrid) mazeBytes += cell != 0;
        for (uint16_t p : G.BackBuffer) bufferBytes += p != 0;
        EXPECT_EQ(mazeBytes, 0) << "the maze is cleared last";
        EXPECT_EQ(bufferBytes, 0);
    }
    Options = saved;
    fs::remove_all(fs::temp_directory_path() / "murko-test-ünïcødé");
}

// The game itself, with a data folder that holds nothing: it says what is missing and runs on.
TEST(LoadResources, TheGameRunsOnWithoutItsPictures) {
    fs::path root = FreshFolder("empty-data");
    fs::path err = root / "stderr.txt";
    std::string command = std::string("'") + MURKO_EXECUTABLE + "' --headless --mute --seed 3 --frames 20 --data '" +
                          root.string() + "' 2>'" + err.string() + "'";
    EXPECT_EQ(system(command.c_str()), 0);
    std::ifstream in(err);
    std::string said((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (const Picture& p : Pictures) EXPECT_EQ(LinesMentioning(said, p.file), 1) << p.file << "\n" << said;
    EXPECT_EQ(LinesMentioning(said, "Antique.fnt"), 1) << said;
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(root)) files += entry.path() != err;
    EXPECT_EQ(files, 0) << "nothing is created in the data folder";
    fs::remove_all(root);
}
