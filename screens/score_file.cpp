// The score file "Mhighscore.dat": read over the table at start-up, saved after a name entry so
// that no crash or full disk ever leaves a torn file.
#include "screens/score_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
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

// Writes bytes to a new file at temp and flushes it to the disk; false with errno set.
// A file-size limit makes the write fail with EFBIG instead of ending the game.
static bool WriteTempFile(const std::string& temp, const uint8_t* bytes, size_t count) {
    unlink(
        temp.c_str());  // left by an earlier game of the same process id that was killed mid-save
    int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return false;
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

// Writes the table to a temporary file beside "Mhighscore.dat", flushes it and renames it over
// the old file, so a crash, a kill or a full disk leaves the old file whole. A failure is told on
// stderr; the table in memory keeps its entries and the game goes on.
void SaveHighScores() {
    uint8_t bytes[HighScoreFileBytes];
    TableToBytes(bytes);
    std::string path = ScoreFilePath();
    std::string temp = path + "." + std::to_string(getpid()) + ".tmp";
    const char* step = "create the folder for";
    bool ok = MakeFolders(G.ProgramFolder);
    if (ok) step = "write", ok = WriteTempFile(temp, bytes, sizeof bytes);
    if (ok) step = "replace", ok = rename(temp.c_str(), path.c_str()) == 0;
    if (ok) {
        SyncFolder(G.ProgramFolder);
        return;
    }
    int saved = errno;
    unlink(temp.c_str());
    fprintf(
        stderr,
        "murko: cannot %s high scores %s (%s); the new entry is kept only until the game ends\n",
        step, path.c_str(), strerror(saved));
}
