// Player options: the settings file line by line, which file is read, the command line winning,
// key names as SDL spells them, and where F12's screenshots go.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/config.h"
#include "app/options.h"
#include "platform/host.h"
#include "platform/screenshot.h"
#include "platform/sdl_inject.h"

namespace fs = std::filesystem;

namespace {

// Keys by their USB usage ids, which SDL's scancodes are.
constexpr int UsbW = 26, UsbX = 27, UsbY = 28, UsbSpace = 44, UsbF12 = 69, UsbUp = 82, UsbLeftCtrl = 224;

// Reads text as the settings file "f" into o; the messages on stderr.
std::string Read(const std::string& text, LaunchOptions* o) {
    FILE* f = fmemopen(const_cast<char*>(text.data()), text.size(), "r");
    testing::internal::CaptureStderr();
    ReadConfig(f, "f", o);
    fclose(f);
    return testing::internal::GetCapturedStderr();
}

int Parse(std::vector<std::string> words) {
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    return ParseOptions(int(argv.size()), argv.data());
}

// A folder that is HOME, XDG_CONFIG_HOME and XDG_DATA_HOME's parent for one test.
struct Home {
    fs::path path = fs::temp_directory_path() / ("murko-home-" + std::to_string(getpid()));
    Home() {
        fs::remove_all(path), fs::create_directories(path / ".config/murko");
        setenv("HOME", path.c_str(), 1);
        unsetenv("XDG_CONFIG_HOME"), unsetenv("XDG_DATA_HOME");
    }
    ~Home() { fs::remove_all(path); }
    void Write(const std::string& name, const std::string& text) const { std::ofstream(path / name) << text; }
};

}  // namespace

TEST(Config, EveryLineGoodOrToldAndSkipped) {
    struct Case {
        const char* line;
        bool good;
    };
    const Case cases[] = {
        {"scale = 3", true},          {"scale=16 # biggest", true},      {"fullscreen = yes", true},
        {"mute = Off", true},         {"gamepad = 0", true},             {"display = gray4", true},
        {"key-a = Space, Left Ctrl", true}, {"key-up = w", true},       {"   # a comment", true},
        {"", true},                   {"scale = 0", false},              {"scale = 17", false},
        {"scale = 3x", false},        {"fullscreen = maybe", false},     {"display = cga", false},
        {"volume = 3", false},        {"scale", false},                  {"= 3", false},
        {"key-a = Space, Nope", false}, {"key-a = A, B, C, D, E", false}, {"key-a =", false},
        {"key-a = F12", false},       {"key-a = Space,", false},         {std::string(600, 'x').c_str(), false},
    };
    for (const Case& c : cases) {
        LaunchOptions o;
        const std::string errors = Read(std::string("# first\n") + c.line + "\nscale = 2\n", &o);
        EXPECT_EQ(errors.find("murko: f:2: ") == 0, !c.good) << c.line << errors;
        EXPECT_EQ(errors.find("f:3"), std::string::npos) << "the next line is read: " << c.line;
        EXPECT_EQ(o.host.scale, 2) << c.line;
    }
    LaunchOptions o;
    Read("scale=5\nfullscreen = yes\nmute = on\ngamepad = no\ndisplay = gray2\nkey-a = Space, Left Ctrl\nkey-a = Z, Nope\n", &o);
    EXPECT_EQ(o.host.scale, 5);
    EXPECT_TRUE(o.host.fullscreen);
    EXPECT_TRUE(o.mute);
    EXPECT_FALSE(o.host.gamepad);
    EXPECT_EQ(o.host.display, DisplayGray2);
    EXPECT_EQ(o.host.keys[4][0], UsbSpace) << "a bad line keeps the button's keys";
    EXPECT_EQ(o.host.keys[4][1], UsbLeftCtrl);
    EXPECT_EQ(o.host.keys[4][2], 0);
}

TEST(Config, TheCommandLineWinsOverTheFile) {
    Home home;
    home.Write("own.conf", "scale = 3\nmute = yes\ndisplay = gray2\nkey-a = X\ngamepad = no\nbad line\n");
    const std::string file = (home.path / "own.conf").string();
    testing::internal::CaptureStderr();
    EXPECT_EQ(Parse({"murko", "--scale", "2", "--config", file, "--no-mute", "--key-a", "Y", "--gamepad"}), -1);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("own.conf:6: "), std::string::npos);
    EXPECT_EQ(Options.host.scale, 2);
    EXPECT_FALSE(Options.mute);
    EXPECT_TRUE(Options.host.gamepad);
    EXPECT_EQ(Options.host.keys[4][0], UsbY);
    EXPECT_EQ(Options.host.display, DisplayGray2) << "the file's, where the command line says nothing";
    testing::internal::CaptureStderr();
    EXPECT_EQ(Parse({"murko", "--key-a", "Nope"}), 2) << "a bad key on the command line is a usage error";
    EXPECT_NE(testing::internal::GetCapturedStderr().find("--key-a"), std::string::npos);
}

TEST(Config, WhichFileIsRead) {
    Home home;
    home.Write(".config/murko/murko.conf", "scale = 5\n");
    home.Write("other.conf", "scale = 4\n");
    const std::string other = (home.path / "other.conf").string();
    struct Case {
        std::vector<std::string> args;
        int scale;
    };
    const Case cases[] = {
        {{"murko"}, 5},
        {{"murko", "--headless"}, 0},
        {{"murko", "--headless", "--config", other}, 4},
        {{"murko", "--config", other}, 4},
        {{"murko", "--config", other + ".missing"}, 0},
        {{"murko", "--input", "--config"}, 5},
    };
    for (const Case& c : cases) {
        testing::internal::CaptureStderr();
        Parse(c.args);
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(Options.host.scale, c.scale) << c.args.back();
    }
    setenv("XDG_CONFIG_HOME", (home.path / "nowhere").c_str(), 1);
    EXPECT_EQ(DefaultConfigPath(), (home.path / "nowhere/murko/murko.conf").string());
}

TEST(Config, KeyNamesAsSdlSpellsThem) {
    const std::pair<const char*, int> named[] = {
        {"a", 4},          {"Z", 29},          {"1", 30},          {"0", 39},          {"F1", 58},
        {"F10", 67},       {"return", 40},     {"Space", 44},      {",", 54},          {"/", 56},
        {"Up", 82},        {"Keypad 1", 89},   {"Keypad 0", 98},   {"Keypad Enter", 88}, {"Left Ctrl", 224},
        {"right gui", 231}, {"F11", 0},        {"F12", 0},         {"F0", 0},          {"AB", 0},
        {"Keypad 10", 0},  {"", 0},
    };
    for (const auto& [name, usb] : named) EXPECT_EQ(HostKeyByName(name), usb) << name;
}

// The player's keys reach the SDL backend's poll (a button without any keeps its usual ones),
// gamepads can be left alone, and F12 saves the picture.
TEST(Config, KeysGamepadsAndF12ReachTheWindow) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    HostConfig config{DisplayRgb565, 1, false, true};
    config.keys[0][0] = UsbW, config.keys[4][0] = UsbX, config.keys[4][1] = UsbLeftCtrl;
    config.gamepad = false;
    HostUse(SdlBackend());
    ASSERT_TRUE(HostOpen(config));
    const std::pair<int, const char*> keys[] = {
        {UsbW, " down 38 up 38"}, {UsbUp, ""}, {UsbX, " down 193 up 193"}, {UsbLeftCtrl, " down 193 up 193"}, {UsbSpace, ""},
    };
    for (const auto& [usb, events] : keys) {
        SdlInjectKey(usb, true, false);
        SdlInjectKey(usb, false, false);
        std::string polled;
        for (HostEvent e; HostPollEvent(&e);)
            if (e.type == HostEventKeyDown || e.type == HostEventKeyUp)
                polled += (e.type == HostEventKeyDown ? " down " : " up ") + std::to_string(e.key);
        EXPECT_EQ(polled, events) << usb;
    }
    SdlInjectPadButton(SdlInjectPad(), 0, true);
    HostEvent e;
    EXPECT_FALSE(HostPollEvent(&e)) << "the pad's south button presses nothing";
    Home home;
    fs::create_directories(home.path / "Pictures");
    testing::internal::CaptureStderr();
    SdlInjectKey(UsbF12, true, false);
    while (HostPollEvent(&e)) {
    }
    EXPECT_NE(testing::internal::GetCapturedStderr().find("screenshot saved to " + (home.path / "Pictures").string() + "/murko-"), std::string::npos);
    EXPECT_EQ(std::distance(fs::directory_iterator(home.path / "Pictures"), fs::directory_iterator()), 1) << "scale 1: one file";
    HostClose();
    HostUse(HeadlessBackend());
}

TEST(Config, ScreenshotsGoToPicturesOrData) {
    Home home;
    struct Case {
        const char* userDirs;  // user-dirs.dirs, or null
        const char* made;      // a folder made in HOME first, or null
        const char* data;      // XDG_DATA_HOME under HOME, or null
        const char* folder;    // expected, under HOME
    };
    const Case cases[] = {
        {"XDG_PICTURES_DIR=\"$HOME/Bilder\"\n", "Bilder", nullptr, "Bilder/"},
        {"XDG_PICTURES_DIR=\"$HOME/Missing\"\n", "Pictures", nullptr, "Pictures/"},
        {"XDG_PICTURES_DIR=\"$HOME/\"\n", nullptr, "d", "d/murko/"},
        {nullptr, nullptr, nullptr, ".local/share/murko/"},
    };
    for (const Case& c : cases) {
        fs::remove_all(home.path / "Pictures"), fs::remove(home.path / ".config/user-dirs.dirs");
        if (c.userDirs) home.Write(".config/user-dirs.dirs", c.userDirs);
        if (c.made) fs::create_directories(home.path / c.made);
        if (c.data) setenv("XDG_DATA_HOME", (home.path / c.data).c_str(), 1);
        else unsetenv("XDG_DATA_HOME");
        EXPECT_EQ(ScreenshotFolder(), (home.path / c.folder).string()) << c.folder;
    }
    std::vector<uint32_t> picture(240 * 320, 0x123456);
    std::string first, second;
    ASSERT_TRUE(WriteScreenshots(ScreenshotFolder(), picture.data(), 3, &first)) << first;
    ASSERT_TRUE(WriteScreenshots(ScreenshotFolder(), picture.data(), 1, &second)) << second;
    const std::string scaled = first.substr(first.find(" and ") + 5);
    EXPECT_EQ(scaled.substr(scaled.size() - 7), "-x3.png");
    EXPECT_EQ(fs::file_size(scaled) > fs::file_size(first.substr(0, first.find(" and "))), true);
    EXPECT_NE(second, first.substr(0, first.find(" and "))) << "an existing name is not overwritten";
    EXPECT_EQ(std::distance(fs::directory_iterator(ScreenshotFolder()), fs::directory_iterator()), 3);
    std::ifstream png(scaled, std::ios::binary);
    std::string head(24, 0);
    png.read(head.data(), 24);
    EXPECT_EQ(head.substr(16, 8), std::string("\0\0\x02\xd0\0\0\x03\xc0", 8)) << "720 x 960";
}
