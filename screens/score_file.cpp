// The score file "Mhighscore.dat": read over the table at start-up, saved after a name entry so
// that no crash or full disk ever leaves a torn file.
#include "screens/score_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/globals.h"
#include "core/read_file.h"

constexpr size_t HighScoreFileBytes = sizeof G.HighScoreTable;   // 200 bytes: ten 20-byte records
constexpr size_t RecordBytes = sizeof(HighScoreEntry);           // one record of the file
constexpr int NameField = int(sizeof G.HighScoreTable[0].name);  // 12 bytes, not always terminated

ssize_t (*ScoreFileWrite)(int fd, const void* bytes,
                          size_t count) = write;  // the save's write call

// --- The file: a byte image of the table, ten records, little-endian ---

static int32_t ReadLe32(const uint8_t* bytes) {
    return int32_t(uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
                   uint32_t(bytes[3]) << 24);
}

static void WriteLe32(uint8_t* bytes, int32_t value) {
    for (int i = 0; i < 4; i++) bytes[i] = uint8_t(uint32_t(value) >> (8 * i));
}

static void TableToBytes(uint8_t* bytes) {
    for (int i = 0; i < HighScoreEntries; i++) {
        uint8_t* record = bytes + i * RecordBytes;
        memcpy(record, G.HighScoreTable[i].name, NameField);
        WriteLe32(record + 12, G.HighScoreTable[i].score);
        WriteLe32(record + 16, G.HighScoreTable[i].reserved);
    }
}

static void BytesToTable(const uint8_t* bytes) {
    for (int i = 0; i < HighScoreEntries; i++) {
        const uint8_t* record = bytes + i * RecordBytes;
        memcpy(G.HighScoreTable[i].name, record, NameField);
        G.HighScoreTable[i].score = ReadLe32(record + 12);
        G.HighScoreTable[i].reserved = ReadLe32(record + 16);
    }
}

static std::string ScoreFilePath() { return G.ProgramFolder + "Mhighscore.dat"; }

// Reads as many bytes of "Mhighscore.dat" as it holds over the table, as they are (a name without
// its end mark stays so; the screen never reads past the field). A missing file keeps the
// defaults and is not created here.
void LoadHighScores() {
    std::string path = ScoreFilePath();
    FILE* file = OpenForReading(path.c_str());
    if (!file) {
        if (errno != ENOENT)
            fprintf(stderr, "murko: cannot open high scores %s (%s)\n", path.c_str(),
                    ReadFailure(errno));
        return;
    }
    uint8_t bytes[HighScoreFileBytes];
    TableToBytes(bytes);
    fread(bytes, 1, sizeof bytes, file);
    if (ferror(file))
        fprintf(stderr, "murko: cannot read high scores %s (%s)\n", path.c_str(), strerror(errno));
    fclose(file);
    BytesToTable(bytes);
}

// Creates every missing folder of a path ending in '/'; false when one cannot be made.
static bool MakeFolders(const std::string& folder) {
    for (size_t at = 1; at < folder.size(); at++) {
        if (folder[at] != '/') continue;
        std::string part = folder.substr(0, at);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    return true;
}

// All of count bytes to fd, through ScoreFileWrite; false with errno set when a write fails.
static bool WriteAll(int fd, const uint8_t* bytes, size_t count) {
    while (count > 0) {
        ssize_t done = ScoreFileWrite(fd, bytes, count);
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

// The file a save replaces: "Mhighscore.dat", or the file it links to when the link is the
// player's own, so that the link stays a link. Another user's link is replaced, not followed.
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

// Writes the table to a temporary file beside "Mhighscore.dat" (or beside the file a link of the
// player's names), flushes it and renames it over the old file, so a crash, a kill or a full disk
// leaves the old file whole. A failure is told on stderr; the table in memory keeps its entries
// and the game goes on.
void SaveHighScores() {
    uint8_t bytes[HighScoreFileBytes];
    TableToBytes(bytes);
    std::string path = ScoreFilePath();
    const char* step = "create the folder for";
    bool ok = MakeFolders(G.ProgramFolder);
    std::string target = SaveTarget(path);
    std::string folder = target.substr(0, target.rfind('/') + 1);
    std::string temp = target + "." + std::to_string(getpid()) + ".tmp";
    if (ok) step = "write", ok = WriteTempFile(temp, target, bytes, sizeof bytes);
    if (ok) step = "replace", ok = rename(temp.c_str(), target.c_str()) == 0;
    if (ok) {
        SyncFolder(folder.empty() ? "." : folder);
        RemoveStaleTemps(folder.empty() ? "./" : folder, target.substr(folder.size()));
        return;
    }
    int saved = errno;
    unlink(temp.c_str());
    fprintf(
        stderr,
        "murko: cannot %s high scores %s (%s); the new entry is kept only until the game ends\n",
        step, path.c_str(), strerror(saved));
}
