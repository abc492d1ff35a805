// Player options: the settings file line by line, the command line winning, and where F12's
// screenshots go.

#include <ctime>

#include "app/config.h"
#include "app/options.h"
#include "platform/screenshot.h"
#include "tests/test_support.h"

namespace {

void Parse(std::vector<std::string> words) {
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    testing::internal::CaptureStderr();
    ParseOptions(int(argv.size()), argv.data());
    testing::internal::GetCapturedStderr();
}

// A temporary HOME (no XDG_* folders set) for one test.
struct Home : TestFolder {
    Home() : TestFolder("home") {
        fs::create_directories(path / ".config/murko");
        setenv("HOME", path.c_str(), 1);
        unsetenv("XDG_CONFIG_HOME");
        unsetenv("XDG_DATA_HOME");
    }
};

}  // namespace

// Each line between a comment and "scale = 2": a bad one is named with its line number, and reading
// goes on.
TEST(Config, EveryLineGoodOrToldAndSkipped) {
    const std::pair<std::string, bool> lines[] = {
        {"scale=16 # biggest", true},
        {"key-up = keypad 8,right gui", true},
        {"renderer = opengl", true},
        {"scale = 17", false},
        {"fullscreen = maybe", false},
        {"renderer = direct3d", false},
        {"scale", false},
        {"key-a = Space, Nope", false},
        {"key-a = F12", false},
        {std::string(600, 'x'), false},
    };
    for (const auto& [line, good] : lines) {
        const std::string text = "# first\n" + line + "\nscale = 2\n";
        FILE* f = fmemopen(const_cast<char*>(text.data()), text.size(), "r");
        LaunchOptions o;
        testing::internal::CaptureStderr();
        EXPECT_EQ(ReadConfig(f, "f", &o), good ? 0 : 1) << line;
        EXPECT_EQ(testing::internal::GetCapturedStderr().find("murko: f:2: ") == 0, !good) << line;
        EXPECT_EQ(o.host.scale, 2) << line;
        fclose(f);
    }
}

TEST(Config, TheCommandLineWinsOverTheFile) {
    Home home;
    home.Write(".config/murko/murko.conf", "scale = 5\n");
    home.Write("own.conf",
               "scale = 3\nmute = yes\ndisplay = gray2\nkey-left = W, Left\nrenderer = opengl\n");
    const std::string own = (home.path / "own.conf").string();
    Parse({"murko", "--scale", "2", "--config", own, "--no-mute", "--renderer", "opengles2"});
    EXPECT_EQ(Options.host.scale, 2);
    EXPECT_EQ(Options.host.renderer, RendererOpenGles2);
    EXPECT_FALSE(Options.mute);
    EXPECT_EQ(Options.host.display, DisplayGray2)
        << "the file's, where the command line says nothing";
    EXPECT_EQ(Options.host.keys[2][0], 26) << "left on W, SDL's scancode 26";
    EXPECT_EQ(Options.host.keys[2][1], 80) << "and on the left arrow";
    const std::pair<std::vector<std::string>, int> scales[] = {
        {{"murko"}, 5},
        {{"murko", "--headless"}, 0},
        {{"murko", "--headless", "--config", own}, 3},
        {{"murko", "--input", "--config"}, 5},
        {{"murko", "--config", "/dev/zero"}, 0},
    };
    for (const auto& [args, scale] : scales) {
        Parse(args);
        EXPECT_EQ(Options.host.scale, scale) << args.back();
    }
}

TEST(Config, ScreenshotsGoToPicturesOrData) {
    Home home;
    const struct {
        const char* userDirs;  // user-dirs.dirs
        const char* made;      // a folder made in HOME first
        const char* folder;    // expected, under HOME
    } cases[] = {
        {"XDG_PICTURES_DIR=\"$HOME/Bilder\"\n", "Bilder", "Bilder/"},
        {"XDG_PICTURES_DIR=\"$HOME/Missing\"\n", "Pictures", "Pictures/"},
        {"XDG_PICTURES_DIR=\"$HOME/\"\n", ".config", ".local/share/murko/"},
    };
    for (const auto& c : cases) {
        fs::remove_all(home.path / "Pictures");
        home.Write(".config/user-dirs.dirs", c.userDirs);
        fs::create_directories(home.path / c.made);
        EXPECT_EQ(ScreenshotFolder(), (home.path / c.folder).string()) << c.folder;
    }
    std::vector<uint32_t> picture(240 * 320, 0x123456);
    std::string saved;
    WriteScreenshots(ScreenshotFolder(), picture.data(), 3, &saved);
    WriteScreenshots(ScreenshotFolder(), picture.data(), 3, &saved);
    EXPECT_EQ(std::distance(fs::directory_iterator(ScreenshotFolder()), fs::directory_iterator()),
              4)
        << "none overwritten";
    // Every name of this second and the next taken, the first by a link to nowhere.
    const std::string folder = ScreenshotFolder();
    const time_t now = time(nullptr);
    for (time_t second : {now, now + 1}) {
        char stamp[32];
        strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", localtime(&second));
        fs::remove(folder + "murko-" + stamp + ".png");
        fs::create_symlink(home.path / "through-link", folder + "murko-" + stamp + ".png");
        for (int n = 2; n <= 99; n++)
            std::ofstream(folder + "murko-" + stamp + "-" + std::to_string(n) + ".png");
    }
    EXPECT_FALSE(WriteScreenshots(folder, picture.data(), 1, &saved)) << "no free name";
    EXPECT_FALSE(fs::exists(home.path / "through-link")) << "nothing written through a link";
}
