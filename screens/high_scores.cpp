// The high-score table, its file "Mhighscore.dat" and the screen that shows it.
#include "screens/high_scores.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/globals.h"
#include "core/input.h"
#include "core/sound.h"
#include "gfx/font.h"
#include "screens/highlight.h"

constexpr size_t HighScoreFileBytes = sizeof G.HighScoreTable;   // 200 bytes: ten 20-byte records
constexpr size_t RecordBytes = sizeof(HighScoreEntry);           // one record of the file
constexpr int NameField = int(sizeof G.HighScoreTable[0].name);  // 12 bytes, not always terminated
constexpr int NameKept = 10;           // name bytes a new entry takes from the typed name
constexpr int PanelTop = 288;          // the bottom panel strip covers rows 288..319
constexpr int ButtonRight = 220;       // the bottom button spans x 0..219 ...
constexpr int ButtonTop = 292;         // ... from row 292 down
constexpr int SpeakerHotX = 224;       // the speaker corner: x >= 224 ...
constexpr int SpeakerHotY = 303;       // ... and y >= 303
constexpr int TableTop = 40;           // row of the first table line
constexpr int TableLineRows = 24;      // rows from one table line to the next
constexpr int RankRight = 32;          // rank numbers end at this column ("10." from x 8)
constexpr int NameX = 44;              // left edge of the names (12 characters reach x 139)
constexpr int ScoreRight = 232;        // scores end at this column
constexpr int NarrowAdvance = 8;       // pixels a character of the narrow raster font
constexpr uint16_t RankInk = 0xFFE0;   // yellow ranks
constexpr uint16_t NameInk = 0xFFFF;   // white names
constexpr uint16_t ScoreInk = 0xFFE0;  // yellow scores

ssize_t (*ScoreFileWrite)(int fd, const void* bytes,
                          size_t count) = write;  // the save's write call

void SetDefaultHighScores() {
    memset(G.HighScoreTable, 0, sizeof G.HighScoreTable);
    for (int i = 0; i < HighScoreEntries; i++) {
        strcpy(G.HighScoreTable[i].name, "Murko-Dog");
        G.HighScoreTable[i].score = 100 - 10 * i;
    }
}

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
    FILE* file = fopen(path.c_str(), "rb");
    if (!file) {
        if (errno != ENOENT)
            fprintf(stderr, "murko: cannot open high scores %s (%s)\n", path.c_str(),
                    strerror(errno));
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
        struct stat info;
        bool made = mkdir(part.c_str(), 0700) == 0 || errno == EEXIST;
        // Some file systems refuse "." itself rather than call it existing.
        if (!made && !(stat(part.c_str(), &info) == 0 && S_ISDIR(info.st_mode))) return false;
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

// --- The table ---

void InsertHighScore(int32_t score, const char* name) {
    int at = 0;
    while (at < HighScoreEntries && !(G.HighScoreTable[at].score < score)) at++;
    if (at == HighScoreEntries) return;
    for (int j = HighScoreEntries - 1; j > at; j--) G.HighScoreTable[j] = G.HighScoreTable[j - 1];
    G.HighScoreTable[at].score = score;
    memcpy(G.HighScoreTable[at].name, name, NameKept);
}

// --- The screen ---

// A string in the narrow raster font whose last character ends at column right.
static void DrawTextRightAligned(const char* text, int right, int y, uint16_t colour) {
    DrawFontText(text, right - int(strlen(text)) * NarrowAdvance, y, 1, colour);
}

// One table line: rank, the name from its 12-byte field only, and the score.
static void DrawTableLine(int index) {
    const HighScoreEntry& entry = G.HighScoreTable[index];
    int y = TableTop + index * TableLineRows;
    char text[NameField + 1];
    snprintf(text, sizeof text, "%d.", index + 1);
    DrawTextRightAligned(text, RankRight, y, RankInk);
    memcpy(text, entry.name, NameField);
    text[NameField] = 0;
    DrawFontText(text, NameX, y, 1, NameInk);
    snprintf(text, sizeof text, "%d", int(entry.score));
    DrawTextRightAligned(text, ScoreRight, y, ScoreInk);
}

void HighScoreScreen() {
    memcpy(G.BackBuffer, G.BackdropImage, sizeof G.BackdropImage);
    DrawRedText("HIGH SCORES", 32, 4);
    for (int i = 0; i < HighScoreEntries; i++) DrawTableLine(i);
    memcpy(G.BackBuffer + PanelTop * ScreenWidth, G.BottomPanelImage, sizeof G.BottomPanelImage);
    DrawRedText("OK", 106, 296);
    PadHighlight();
    if (!StylusTapped()) return;
    int x = int16_t(TapX()), y = int16_t(TapY());
    if (y >= ButtonTop && x < ButtonRight) {
        G.ScreenState = ScreenMainMenu;
        Bark();
    }
    if (x >= SpeakerHotX && y >= SpeakerHotY) ToggleMute();
}
