// The score file "Mhighscore.dat": read over the table at start-up, saved after a name entry so
// that no crash or full disk ever leaves a torn file.
#include "screens/score_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/files.h"
#include "core/globals.h"

constexpr size_t HighScoreFileBytes = sizeof G.HighScoreTable;   // 200 bytes: ten 20-byte records
constexpr size_t RecordBytes = sizeof(HighScoreEntry);           // one record of the file
constexpr int NameField = int(sizeof G.HighScoreTable[0].name);  // 12 bytes, not always terminated

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

// Writes the table to a temporary file beside "Mhighscore.dat" (or beside the file a link of the
// player's names), flushes it and renames it over the old file, so a crash, a kill or a full disk
// leaves the old file whole. A failure is told on stderr; the table in memory keeps its entries
// and the game goes on.
void SaveHighScores() {
    uint8_t bytes[HighScoreFileBytes];
    TableToBytes(bytes);
    std::string path = ScoreFilePath();
    const char* step = SaveFileSafely(path, bytes, sizeof bytes);
    if (!step) return;
    fprintf(
        stderr,
        "murko: cannot %s high scores %s (%s); the new entry is kept only until the game ends\n",
        step, path.c_str(), strerror(errno));
}
