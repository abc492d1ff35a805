// Files read and saved without trusting the file system: reads that never block, never open a
// FIFO or a device and never follow a link someone else laid; saves that never leave a torn file.
#include "core/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

constexpr int ReadFlags = O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;  // a FIFO opens at once

// The player's own links are followed (a data folder of links, settings kept in another folder);
// another user's link in a shared folder is not.
static int OpenThroughOwnLink(const char* path) {
    struct stat link;
    if (lstat(path, &link) != 0) return -1;
    if (!S_ISLNK(link.st_mode) || link.st_uid != geteuid()) {
        errno = S_ISLNK(link.st_mode) ? ForeignLink : ELOOP;
        return -1;
    }
    return open(path, ReadFlags);
}

FILE* OpenForReading(const char* path) {
    int fd = open(path, ReadFlags | O_NOFOLLOW);
    if (fd < 0 && errno == ELOOP) fd = OpenThroughOwnLink(path);
    if (fd < 0) return nullptr;
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        errno = NotRegularFile;
        return nullptr;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    FILE* file = fdopen(fd, "rb");
    if (!file) {
        int saved = errno;
        close(fd);
        errno = saved;
    }
    return file;
}

const char* ReadFailure(int err) {
    if (err == NotRegularFile) return "not a regular file";
    if (err == ForeignLink) return "a link laid by another user";
    return strerror(err);
}

// --- Saving: a temporary file beside the target, flushed, then renamed over it ---

ssize_t (*SaveFileWrite)(int fd, const void* bytes, size_t count) = write;

// Creates every missing folder of a path ending in '/'; false when one cannot be made.
static bool MakeFolders(const std::string& folder) {
    for (size_t at = 1; at < folder.size(); at++) {
        if (folder[at] != '/') continue;
        std::string part = folder.substr(0, at);
        struct stat info;
        bool made = mkdir(part.c_str(), 0700) == 0 || errno == EEXIST;
        // Some file systems refuse "." itself rather than call it existing.
        if (!made && !(stat(part.c_str(), &info) == 0 && S_ISDIR(info.st_mode))) return false;
    }
    return true;
}

// All of count bytes to fd, through SaveFileWrite; false with errno set when a write fails.
static bool WriteAll(int fd, const uint8_t* bytes, size_t count) {
    while (count > 0) {
        ssize_t done = SaveFileWrite(fd, bytes, count);
        if (done < 0 && errno == EINTR) continue;
        if (done <= 0) {
            if (done == 0) errno = EIO;
            return false;
        }
        bytes += done;
        count -= size_t(done);
    }
    return true;
}

// Writes bytes to a new file at temp, with the mode of the file it replaces (if any), and flushes
// it to the disk; false with errno set. A file-size limit makes the write fail with EFBIG
// instead of ending the game.
static bool WriteTempFile(const std::string& temp, const std::string& target, const uint8_t* bytes,
                          size_t count) {
    unlink(
        temp.c_str());  // left by an earlier game of the same process id that was killed mid-save
    int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    struct stat old;
    if (stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) fchmod(fd, old.st_mode & 07777);
    struct sigaction ignore = {}, previous = {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &previous);
    bool ok = WriteAll(fd, bytes, count) && fsync(fd) == 0;
    int saved = errno;
    sigaction(SIGXFSZ, &previous, nullptr);
    if (close(fd) != 0 && ok) return false;
    errno = saved;
    return ok;
}

// The renamed file survives a crash only once its folder entry is on the disk too.
static void SyncFolder(const std::string& folder) {
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

// The file a save replaces: the one named, or the file it links to when the link is the player's
// own, so that the link stays a link. Another user's link is replaced, not followed.
static std::string SaveTarget(const std::string& path) {
    struct stat link;
    if (lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode) || link.st_uid != geteuid())
        return path;
    char* real = realpath(path.c_str(), nullptr);
    std::string target = real ? real : path;
    free(real);
    return target;
}

// "NAME.PID.tmp": a save's temporary file; true with the process id when name is one of target's.
static bool IsTempOf(const char* name, const std::string& base, long* pid) {
    if (strncmp(name, base.c_str(), base.size()) || name[base.size()] != '.') return false;
    const char* digits = name + base.size() + 1;
    char* end = nullptr;
    *pid = strtol(digits, &end, 10);
    return *digits >= '0' && *digits <= '9' && !strcmp(end, ".tmp") && *pid > 0;
}

// A save killed mid-write leaves its temporary file behind: those of games no longer running go.
static void RemoveStaleTemps(const std::string& folder, const std::string& base) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) return;
    long pid = 0;
    struct stat info;
    while (const dirent* entry = readdir(dir)) {
        if (!IsTempOf(entry->d_name, base, &pid)) continue;
        if (kill(pid_t(pid), 0) == 0 || errno != ESRCH) continue;  // that game may be saving now
        std::string stale = folder + entry->d_name;
        if (lstat(stale.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == geteuid())
            unlink(stale.c_str());
    }
    closedir(dir);
}

const char* SaveFileSafely(const std::string& path, const void* bytes, size_t size) {
    std::string target = SaveTarget(path);
    std::string folder = target.substr(0, target.rfind('/') + 1);
    std::string temp = target + "." + std::to_string(getpid()) + ".tmp";
    const char* step = "create the folder for";
    bool ok = MakeFolders(path.substr(0, path.rfind('/') + 1));
    if (ok)
        step = "write", ok = WriteTempFile(temp, target, static_cast<const uint8_t*>(bytes), size);
    if (ok) step = "replace", ok = rename(temp.c_str(), target.c_str()) == 0;
    if (ok) {
        SyncFolder(folder.empty() ? "." : folder);
        RemoveStaleTemps(folder.empty() ? "./" : folder, target.substr(folder.size()));
        return nullptr;
    }
    int saved = errno;
    unlink(temp.c_str());
    errno = saved;
    return step;
}
