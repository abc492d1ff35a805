// The high-score table and its file "Mhighscore.dat".
#include "screens/high_scores.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/globals.h"

void SetDefaultHighScores() {
    memset(G.HighScoreTable, 0, sizeof G.HighScoreTable);
    for (int i = 0; i < HighScoreEntries; i++) {
        strcpy(G.HighScoreTable[i].name, "Murko-Dog");
        G.HighScoreTable[i].score = 100 - 10 * i;
    }
}

constexpr size_t HighScoreFileBytes = sizeof G.HighScoreTable;  // 200 bytes: ten 20-byte records

// A little-endian 32-bit field of the score file.
static int32_t ReadLe32(const uint8_t* bytes) {
    return int32_t(uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24);
}

// Reads as much of "Mhighscore.dat" as there is over the table; a missing file keeps the defaults
// and is not created here.
void LoadHighScores() {
    std::string path = G.ProgramFolder + "Mhighscore.dat";
    FILE* file = fopen(path.c_str(), "rb");
    if (!file) {
        if (errno != ENOENT) fprintf(stderr, "murko: cannot open high scores %s (%s)\n", path.c_str(), strerror(errno));
        return;
    }
    uint8_t bytes[HighScoreFileBytes];
    size_t got = fread(bytes, 1, sizeof bytes, file);
    if (ferror(file)) fprintf(stderr, "murko: cannot read high scores %s (%s)\n", path.c_str(), strerror(errno));
    fclose(file);
    for (size_t i = 0; i < size_t(HighScoreEntries); i++) {
        HighScoreEntry& entry = G.HighScoreTable[i];
        const uint8_t* record = bytes + i * sizeof entry;
        size_t have = got > i * sizeof entry ? got - i * sizeof entry : 0;
        if (have == 0) break;
        memcpy(entry.name, record, have < sizeof entry.name ? have : sizeof entry.name);
        entry.name[sizeof entry.name - 1] = 0;  // a name always ends inside its field
        if (have >= 16) entry.score = ReadLe32(record + 12);
        if (have >= 20) entry.reserved = ReadLe32(record + 16);
    }
}

// (being written)
void SaveHighScores() {}
void InsertHighScore(int32_t, const char*) {}
void HighScoreScreen() {}
