// Data folders and start-up loading: paths, the 26 pictures, the raster font, scores, a first
// level.
#include "app/data.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "app/options.h"
#include "core/files.h"
#include "core/globals.h"
#include "core/pictures.h"
#include "core/random.h"
#include "game/level.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "gfx/targa.h"
#include "platform/host.h"
#include "screens/high_scores.h"
#include "screens/score_file.h"

#ifndef MURKO_INSTALL_DATA_DIR
#define MURKO_INSTALL_DATA_DIR "/usr/local/share/games/murko/"
#endif

// The image array each picture fills, in load order; each slot is exactly the picture's size.
#define MURKO_PICTURE_SLOT(file, width, height, slot, key) G.slot,
uint16_t* const PictureSlots[] = {MURKO_PICTURES(MURKO_PICTURE_SLOT)};
#undef MURKO_PICTURE_SLOT
#define MURKO_PICTURE_SIZE(file, width, height, slot, key) \
    static_assert(sizeof G.slot == (width) * (height) * sizeof(uint16_t), file " fits its slot");
MURKO_PICTURES(MURKO_PICTURE_SIZE)
#undef MURKO_PICTURE_SIZE
static_assert(std::size(PictureSlots) == std::size(PictureFiles));

std::string FolderWithSlash(const std::string& folder) {
    if (folder.empty()) return "./";
    return folder.back() == '/' ? folder : folder + "/";
}

std::string FolderOfPath(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

std::string UserDataFolder() {
    const char* xdg = getenv("XDG_DATA_HOME");
    if (xdg && xdg[0] == '/') return FolderWithSlash(xdg) + "murko/";
    const char* home = getenv("HOME");
    if (home && home[0] == '/') return FolderWithSlash(home) + ".local/share/murko/";
    return "";
}

// True when folder + "Graph" is a directory.
static bool HoldsGraph(const std::string& folder) {
    struct stat info;
    return stat((folder + "Graph").c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

void BuildDataPathsFrom(const std::string& exeFolder, const std::string& dataDir,
                        const std::string& installDir, const std::string& userFolder) {
    std::string beside = FolderWithSlash(exeFolder);
    std::string data = beside;
    std::string scores = beside;
    if (!dataDir.empty()) {
        data = scores = FolderWithSlash(dataDir);
        if (!HoldsGraph(data))
            fprintf(stderr, "murko: the data folder %s holds no Graph folder\n", data.c_str());
    } else if (!HoldsGraph(beside) && !installDir.empty() &&
               HoldsGraph(FolderWithSlash(installDir))) {
        data = FolderWithSlash(installDir);
        if (!userFolder.empty()) scores = FolderWithSlash(userFolder);
    }
    G.ProgramFolder = scores;
    G.SoundFolder = data + "Sound/";
    G.GraphFolder = data + "Graph/";
}

// An installed game keeps its data in share/games/murko/ beside games/, or in share/murko/ beside
// bin/; the prefix it was built for is the fallback when the whole tree has not moved together.
static std::string InstalledDataFolder(const std::string& exeFolder) {
    for (const char* relative : {"../share/games/murko/", "../share/murko/"}) {
        std::string folder = FolderWithSlash(exeFolder) + relative;
        if (HoldsGraph(folder)) return folder;
    }
    return MURKO_INSTALL_DATA_DIR;
}

void BuildDataPaths() {
    std::string exeFolder = HostExecutableFolder();
    BuildDataPathsFrom(exeFolder, Options.dataDir, InstalledDataFolder(exeFolder),
                       UserDataFolder());
}

void LoadRasterFontFile() {
    std::string path = G.GraphFolder + "Antique.fnt";
    FILE* file = OpenForReading(path.c_str());
    if (!file) {
        fprintf(stderr, "murko: cannot open font %s (%s); text stays blank\n", path.c_str(),
                ReadFailure(errno));
        return;
    }
    size_t got = fread(G.FontGlyphs, 1, sizeof G.FontGlyphs, file);
    if (ferror(file))
        fprintf(stderr, "murko: cannot read font %s (%s); unread glyphs stay blank\n", path.c_str(),
                strerror(errno));
    else if (got < sizeof G.FontGlyphs)
        fprintf(stderr,
                "murko: font %s is short (%zu of %zu bytes); the missing glyphs stay blank\n",
                path.c_str(), got, sizeof G.FontGlyphs);
    fclose(file);
}

// Every picture slot to black, the two spare tiles included.
static void ClearPictures() {
    memset(G.HeroFrames, 0, sizeof G.HeroFrames);
    memset(G.SpiderFrames, 0, sizeof G.SpiderFrames);
    memset(G.TileImages, 0, sizeof G.TileImages);
    memset(G.MenuBackImage, 0, sizeof G.MenuBackImage);
    memset(G.BottomPanelImage, 0, sizeof G.BottomPanelImage);
    memset(G.HudPanelImage, 0, sizeof G.HudPanelImage);
    memset(G.BackdropImage, 0, sizeof G.BackdropImage);
    memset(G.RedFontImage, 0, sizeof G.RedFontImage);
    memset(G.SpeakerImage, 0, sizeof G.SpeakerImage);
    memset(G.ExitImage, 0, sizeof G.ExitImage);
}

void LoadResources() {
    Srand(Options.haveSeed ? Options.seed : HostSeedTicks());
    ClearPictures();
    for (size_t i = 0; i < std::size(PictureFiles); i++) {
        const PictureFile& picture = PictureFiles[i];
        LoadTarga(G.GraphFolder + picture.file, picture.width, picture.height, PictureSlots[i]);
    }
    LoadRasterFontFile();
    SetDefaultHighScores();
    LoadHighScores();
    BuildRedFontCharMap();
    ClearBackBuffer(0);
    NewGame();
    G.ScreenState = ScreenMainMenu;
    G.SoundOn = Options.mute ? 0 : 1;
    memset(G.MazeGrid, 0, sizeof G.MazeGrid);
}

void FreeResources() { ClearPictures(); }
