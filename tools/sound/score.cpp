// Reads a tracker-style text score and writes it as a four-channel "M.K." module; writes WAV files.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "sound_tool.h"

// Periods of C-1 .. B-3 at finetune 0, the range a module note may take.
static const int Periods[36] = {
    856, 808, 762, 720, 678, 640, 604, 570, 538, 508, 480, 453, 428, 404, 381, 360, 339, 320,
    302, 285, 269, 254, 240, 226, 214, 202, 190, 180, 170, 160, 151, 143, 135, 127, 120, 113,
};
static const char NoteNames[] = "C-C#D-D#E-F-F#G-G#A-A#B-";  // two letters a semitone

// One score being read.
struct ScoreReader {
    const char* path;   // for messages
    int line;           // number of the line being read
    ModSong* song;      // what is being filled in
    int rowsInPattern;  // rows read into the last pattern
};

static bool Fail(const ScoreReader& r, const char* what) {
    std::fprintf(stderr, "murko-sound: %s:%d: %s\n", r.path, r.line, what);
    return false;
}

// "C-2", "F#3" -> period; "---" -> 0; -1 when not a note.
static int ParseNote(const char* text) {
    if (!std::strcmp(text, "---")) return 0;
    if (std::strlen(text) != 3 || text[2] < '1' || text[2] > '3') return -1;
    for (int i = 0; i < 12; i++)
        if (text[0] == NoteNames[i * 2] && text[1] == NoteNames[i * 2 + 1])
            return Periods[(text[2] - '1') * 12 + i];
    return -1;
}

static bool ParseCell(const ScoreReader& r, char* text, ModCell* cell) {
    char note[8], instrument[8], effect[8];
    if (std::sscanf(text, " %7s %7s %7s", note, instrument, effect) != 3)
        return Fail(r, "a cell needs note, instrument, effect");
    cell->period = ParseNote(note);
    if (cell->period < 0) return Fail(r, "bad note (C-1 .. B-3 or ---)");
    char* end = nullptr;
    cell->instrument = std::strcmp(instrument, "..") ? int(std::strtol(instrument, &end, 10)) : 0;
    if (std::strcmp(instrument, "..") &&
        (*end || cell->instrument < 1 || cell->instrument > ModInstruments))
        return Fail(r, "bad instrument (01 .. 31 or ..)");
    if (!std::strcmp(effect, "...")) {
        cell->effect = cell->param = 0;
        return true;
    }
    long value = std::strtol(effect, &end, 16);
    if (std::strlen(effect) != 3 || *end) return Fail(r, "bad effect (three hex digits or ...)");
    cell->effect = int(value >> 8);
    cell->param = int(value & 0xFF);
    return true;
}

static bool ParseRow(ScoreReader* r, char* text) {
    ModSong* song = r->song;
    if (song->patternCount == 0) return Fail(*r, "a row before the first pattern");
    if (r->rowsInPattern == ModRows) return Fail(*r, "more than 64 rows in a pattern");
    ModCell* row = song->cells[song->patternCount - 1][r->rowsInPattern];
    char* cursor = text;
    for (int channel = 0; channel < ModChannels; channel++) {
        char* bar = std::strchr(cursor, '|');
        if ((bar == nullptr) != (channel == ModChannels - 1))
            return Fail(*r, "a row needs four cells split by |");
        if (bar) *bar = 0;
        if (!ParseCell(*r, cursor, &row[channel])) return false;
        cursor = bar ? bar + 1 : cursor;
    }
    r->rowsInPattern++;
    return true;
}

static bool ParseOrder(ScoreReader* r, const char* list) {
    ModSong* song = r->song;
    int position = 0, consumed = 0;
    while (std::sscanf(list, "%d%n", &position, &consumed) == 1) {
        if (song->orderCount == ModMaxOrders || position < 0 || position >= ModMaxPatterns)
            return Fail(*r, "bad order");
        song->order[song->orderCount++] = position;
        list += consumed;
    }
    return true;
}

static bool ParseLine(ScoreReader* r, char* text) {
    ModSong* song = r->song;
    char word[16];
    int value = 0;
    if (std::sscanf(text, " %15s", word) != 1 || word[0] == '#') return true;
    if (!std::strcmp(word, "title")) {
        std::snprintf(song->title, sizeof song->title, "%s", text + std::strspn(text, " ") + 6);
        song->title[std::strcspn(song->title, "\r\n")] = 0;
        return true;
    }
    if (!std::strcmp(word, "order")) return ParseOrder(r, std::strstr(text, "order") + 5);
    if (!std::strcmp(word, "pattern")) {
        if (song->patternCount && r->rowsInPattern != ModRows)
            return Fail(*r, "the pattern before has not 64 rows");
        if (std::sscanf(text, " pattern %d", &value) != 1 || value != song->patternCount ||
            value >= ModMaxPatterns)
            return Fail(*r, "patterns are numbered 0, 1, 2 ... in order");
        song->patternCount++;
        r->rowsInPattern = 0;
        return true;
    }
    if (!std::strcmp(word, "restart")) {
        if (std::sscanf(text, " restart %d", &value) != 1) return Fail(*r, "a number is missing");
        song->restart = value;
        return true;
    }
    return ParseRow(r, text);
}

static bool CheckSong(const ScoreReader& r) {
    const ModSong& song = *r.song;
    if (song.patternCount == 0 || r.rowsInPattern != ModRows)
        return Fail(r, "the last pattern has not 64 rows");
    if (song.orderCount == 0) return Fail(r, "no order list");
    for (int i = 0; i < song.orderCount; i++)
        if (song.order[i] >= song.patternCount)
            return Fail(r, "the order names a pattern that does not exist");
    if (song.restart < 0 || song.restart >= song.orderCount)
        return Fail(r, "restart is outside the order list");
    return true;
}

bool ReadScore(const char* path, ModSong* song) {
    std::memset(song, 0, sizeof *song);
    ScoreReader reader = {path, 0, song, 0};
    FILE* file = std::fopen(path, "rb");
    if (!file) return Fail(reader, "cannot open the score");
    char text[512];
    bool ok = true;
    while (ok && std::fgets(text, sizeof text, file)) {
        reader.line++;
        ok = ParseLine(&reader, text);
    }
    std::fclose(file);
    reader.line++;
    return ok && CheckSong(reader);
}

static void PutWord(FILE* file, int value) {
    std::fputc((value >> 8) & 0xFF, file);
    std::fputc(value & 0xFF, file);
}

static void WriteInstrumentHeader(FILE* file, const ModInstrument& instrument) {
    char name[22] = {};
    std::memcpy(
        name, instrument.name,
        std::strlen(instrument.name) < sizeof name ? std::strlen(instrument.name) : sizeof name);
    std::fwrite(name, 1, sizeof name, file);
    PutWord(file, int(instrument.data.size() / 2));
    std::fputc(0, file);  // finetune
    std::fputc(instrument.volume, file);
    PutWord(file, instrument.loopLength ? instrument.loopStart / 2 : 0);
    PutWord(file, instrument.loopLength ? instrument.loopLength / 2 : 1);
}

// One cell in the module's four bytes: instrument high bits and period, instrument low bits and
// effect, parameter.
static void WriteCell(FILE* file, const ModCell& cell) {
    std::fputc((cell.instrument & 0xF0) | ((cell.period >> 8) & 0x0F), file);
    std::fputc(cell.period & 0xFF, file);
    std::fputc(((cell.instrument & 0x0F) << 4) | (cell.effect & 0x0F), file);
    std::fputc(cell.param & 0xFF, file);
}

static void WritePatterns(FILE* file, const ModSong& song) {
    for (int p = 0; p < song.patternCount; p++)
        for (int row = 0; row < ModRows; row++)
            for (int channel = 0; channel < ModChannels; channel++)
                WriteCell(file, song.cells[p][row][channel]);
}

bool WriteModule(const char* path, const ModSong& song,
                 const ModInstrument instruments[ModInstruments]) {
    FILE* file = std::fopen(path, "wb");
    if (!file) {
        std::fprintf(stderr, "murko-sound: cannot write %s\n", path);
        return false;
    }
    char title[20] = {};
    std::memcpy(title, song.title,
                std::strlen(song.title) < sizeof title ? std::strlen(song.title) : sizeof title);
    std::fwrite(title, 1, sizeof title, file);
    for (int i = 0; i < ModInstruments; i++) WriteInstrumentHeader(file, instruments[i]);
    std::fputc(song.orderCount, file);
    std::fputc(song.restart ? song.restart : 127,
               file);  // 127: ProTracker's mark for "from the top"
    uint8_t order[ModMaxOrders] = {};
    for (int i = 0; i < song.orderCount; i++) order[i] = uint8_t(song.order[i]);
    std::fwrite(order, 1, sizeof order, file);
    std::fwrite("M.K.", 1, 4, file);
    WritePatterns(file, song);
    for (int i = 0; i < ModInstruments; i++)
        if (!instruments[i].data.empty())
            std::fwrite(instruments[i].data.data(), 1, instruments[i].data.size(), file);
    bool ok = !std::ferror(file);
    ok = std::fclose(file) == 0 && ok;
    if (!ok) std::fprintf(stderr, "murko-sound: cannot write %s\n", path);
    return ok;
}

static void PutLittle(FILE* file, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; i++) std::fputc((value >> (8 * i)) & 0xFF, file);
}

bool WriteWave(const char* path, const std::vector<int16_t>& pcm, int rate) {
    FILE* file = std::fopen(path, "wb");
    if (!file) {
        std::fprintf(stderr, "murko-sound: cannot write %s\n", path);
        return false;
    }
    uint32_t bytes = uint32_t(pcm.size() * 2);
    std::fwrite("RIFF", 1, 4, file);
    PutLittle(file, 36 + bytes, 4);
    std::fwrite("WAVEfmt ", 1, 8, file);
    PutLittle(file, 16, 4);  // format chunk size
    PutLittle(file, 1, 2);   // PCM
    PutLittle(file, 1, 2);   // mono
    PutLittle(file, uint32_t(rate), 4);
    PutLittle(file, uint32_t(rate) * 2, 4);
    PutLittle(file, 2, 2);   // bytes a frame
    PutLittle(file, 16, 2);  // bits a sample
    std::fwrite("data", 1, 4, file);
    PutLittle(file, bytes, 4);
    for (int16_t s : pcm) PutLittle(file, uint16_t(s), 2);
    bool ok = !std::ferror(file);
    ok = std::fclose(file) == 0 && ok;
    if (!ok) std::fprintf(stderr, "murko-sound: cannot write %s\n", path);
    return ok;
}
