// F12's screenshots: the player's pictures folder (or the game's data folder) and the PNG files.
#include "platform/screenshot.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "core/files.h"
#include "platform/host.h"
#include "platform/pointer_map.h"

constexpr int MaxScale = 16;      // the largest scale a window is given
constexpr int NameAttempts = 99;  // "-2" ... "-99" are tried after the plain name

static bool IsFolder(const std::string& path) {
    struct stat s;
    return !path.empty() && stat(path.c_str(), &s) == 0 && S_ISDIR(s.st_mode);
}

static std::string Env(const char* name) {
    const char* value = getenv(name);
    return value ? value : "";
}

// XDG_PICTURES_DIR from user-dirs.dirs: a line XDG_PICTURES_DIR="$HOME/Pictures" or an absolute
// path in quotes; "" when missing, or when it names the home folder itself (no pictures folder).
static std::string UserDirsPictures(const std::string& home) {
    std::string config = Env("XDG_CONFIG_HOME");
    if (config.empty() || config[0] != '/') config = home + "/.config";
    FILE* f = OpenForReading((config + "/user-dirs.dirs").c_str());
    if (!f) return "";
    char line[1024];
    std::string found;
    while (fgets(line, sizeof line, f)) {
        char* value = line + strspn(line, " \t");
        if (strncmp(value, "XDG_PICTURES_DIR=\"", 18)) continue;
        value += 18;
        char* end = strchr(value, '"');
        if (!end) continue;
        *end = 0;
        if (!strncmp(value, "$HOME", 5))
            found = home + (value + 5);
        else if (value[0] == '/')
            found = value;
    }
    fclose(f);
    while (found.size() > 1 && found.back() == '/') found.pop_back();
    return found == home ? "" : found;
}

// Makes every missing folder of path (ending in '/').
static bool MakeFolders(const std::string& path) {
    for (size_t at = 1; at < path.size(); at++)
        if (path[at] == '/' && mkdir(path.substr(0, at).c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    return true;
}

std::string ScreenshotFolder() {
    std::string home = Env("HOME");
    if (home.empty() || home[0] != '/') return "";
    std::string pictures = UserDirsPictures(home);
    if (IsFolder(pictures)) return pictures + "/";
    if (IsFolder(home + "/Pictures")) return home + "/Pictures/";
    std::string data = Env("XDG_DATA_HOME");
    if (data.empty() || data[0] != '/') data = home + "/.local/share";
    std::string folder = data + "/murko/";
    return MakeFolders(folder) ? folder : "";
}

// murko-DATE-TIME, with "-N" from the second try on, and the scale's "-xN" before ".png".
static std::string ShotName(const char* stamp, int attempt, int scale) {
    std::string name = std::string("murko-") + stamp;
    if (attempt > 1)
        name.append("-").append(
            std::to_string(attempt));  // appends: GCC 12 -O3 sees a false overlap in "-" + string
    if (scale > 1) name.append("-x").append(std::to_string(scale));
    return name + ".png";
}

// A file made new: never an existing name, never through a link; nullptr with errno set.
static FILE* CreateNew(const std::string& path) {
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    FILE* file = fd < 0 ? nullptr : fdopen(fd, "wb");
    if (!file && fd >= 0) close(fd);
    return file;
}

// Makes the plain file and, when scale > 1, the scaled one under the first pair of free names.
static bool CreatePair(const std::string& folder, const char* stamp, int scale, std::string* plain,
                       std::string* scaled, FILE** plainFile, FILE** scaledFile) {
    for (int attempt = 1; attempt <= NameAttempts; attempt++) {
        *plain = folder + ShotName(stamp, attempt, 1);
        *scaled = folder + ShotName(stamp, attempt, scale);
        *plainFile = CreateNew(*plain);
        if (*plainFile && scale == 1) return true;
        *scaledFile = *plainFile ? CreateNew(*scaled) : nullptr;
        if (*scaledFile) return true;
        int why = errno;
        if (*plainFile) {
            fclose(*plainFile);
            unlink(plain->c_str());
        }
        errno = why;
        if (why != EEXIST) return false;
    }
    *plain = folder + "murko-" + stamp + "-*.png";  // every name taken
    return false;
}

bool WriteScreenshots(const std::string& folder, const uint32_t* rgb, int scale,
                      std::string* saved) {
    scale = scale < 1 ? 1 : (scale > MaxScale ? MaxScale : scale);
    char stamp[32];
    time_t now = time(nullptr);
    strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", localtime(&now));
    std::string plain, scaled;
    FILE *plainFile = nullptr, *scaledFile = nullptr;
    bool made = CreatePair(folder, stamp, scale, &plain, &scaled, &plainFile, &scaledFile);
    *saved = plain;
    if (!made) return false;
    if (!HostWritePngRgb(plainFile, rgb, PictureWidth, PictureHeight)) {
        if (scaledFile) fclose(scaledFile);
        return false;
    }
    if (scale == 1) return true;
    std::vector<uint32_t> big(size_t(PictureWidth * scale) * PictureHeight * scale);
    for (size_t i = 0; i < big.size(); i++) {
        size_t x = i % (PictureWidth * scale) / scale, y = i / (PictureWidth * scale) / scale;
        big[i] = rgb[y * PictureWidth + x];
    }
    *saved = scaled;
    if (!HostWritePngRgb(scaledFile, big.data(), PictureWidth * scale, PictureHeight * scale))
        return false;
    *saved = plain + " and " + scaled;
    return true;
}
