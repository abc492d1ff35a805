// The state dump: every field of GameGlobals as one JSON object, one line per field, in the order
// and the form core/global_fields.h lists them.
#include "app/state_dump.h"

#include <cstdio>
#include <string>

#include "core/global_fields.h"
#include "core/globals.h"

static FILE* Out = nullptr;   // the dump being written
static bool FirstKey = true;  // no member written yet in the current object

static void Key(const char* name) {
    fprintf(Out, FirstKey ? "\n  \"%s\": " : ",\n  \"%s\": ", name);
    FirstKey = false;
}

// A JSON string of at most size bytes, ending at the first NUL; bytes outside printable ASCII as
// \u00XX.
static void PutString(const char* text, size_t size) {
    fputc('"', Out);
    for (size_t i = 0; i < size && text[i]; i++) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '"' || c == '\\')
            fprintf(Out, "\\%c", c);
        else if (c < 0x20 || c >= 0x7F)
            fprintf(Out, "\\u%04x", c);
        else
            fputc(c, Out);
    }
    fputc('"', Out);
}

// One writer a kind of field, named as core/global_fields.h names the kinds.
template <typename T>
static void DumpNone(const char*, const T&) {}

static void DumpNumber(const char* name, long long value) {
    Key(name);
    fprintf(Out, "%lld", value);
}

static void DumpText(const char* name, const std::string& text) {
    Key(name);
    PutString(text.data(), text.size());
}

static void DumpHandle(const char* name, const void* handle) {
    Key(name);
    fputs(handle ? "true" : "false", Out);
}

// Rows and columns in use, never beyond the grid.
static int Clamp(int v, int high) { return v < 0 ? 0 : (v > high ? high : v); }

// String y holds the cell codes of row y, character x for column x; a code above 9 shows as '?'.
static void DumpMaze(const char* name, const int8_t (&grid)[MazeCells]) {
    int width = Clamp(G.MazeWidth, MazeStride), height = Clamp(G.MazeHeight, MazeStride);
    Key(name);
    fputc('[', Out);
    for (int y = 0; y < height; y++) {
        fputs(y ? ",\n    \"" : "\n    \"", Out);
        for (int x = 0; x < width; x++) {
            int code = grid[x * MazeStride + y];
            fputc(code >= 0 && code <= 9 ? '0' + code : '?', Out);
        }
        fputc('"', Out);
    }
    fputs(height ? "\n  ]" : "]", Out);
}

// Same shape as the maze: row y, element x.
static void DumpOccupancy(const char* name, const int16_t (&occupancy)[MazeCells]) {
    int width = Clamp(G.MazeWidth, MazeStride), height = Clamp(G.MazeHeight, MazeStride);
    Key(name);
    fputc('[', Out);
    for (int y = 0; y < height; y++) {
        fputs(y ? ",\n    [" : "\n    [", Out);
        for (int x = 0; x < width; x++)
            fprintf(Out, x ? ",%d" : "%d", occupancy[x * MazeStride + y]);
        fputc(']', Out);
    }
    fputs(height ? "\n  ]" : "]", Out);
}

static void DumpKeys(const char* name, const KeyListEntry (&keys)[8]) {
    Key(name);
    fputc('[', Out);
    for (int i = 0; i < 8; i++) fprintf(Out, i ? ", %d" : "%d", keys[i].code);
    fputc(']', Out);
}

static void DumpSpiders(const char* name, const SpiderRecord (&spiders)[SpiderSlots]) {
    Key(name);
    fputc('[', Out);
    for (int i = 0; i < SpiderSlots; i++) {
        const SpiderRecord& s = spiders[i];
        fprintf(Out,
                "%s{\"x\": %d, \"y\": %d, \"direction\": %d, \"active\": %d, \"stepsLeft\": %d, "
                "\"strength\": %d}",
                i ? ",\n    " : "\n    ", s.x, s.y, s.direction, s.active, s.stepsLeft, s.strength);
    }
    fputs("\n  ]", Out);
}

static void DumpScores(const char* name, const HighScoreEntry (&table)[HighScoreEntries]) {
    Key(name);
    fputc('[', Out);
    for (int i = 0; i < HighScoreEntries; i++) {
        fputs(i ? ",\n    {\"name\": " : "\n    {\"name\": ", Out);
        PutString(table[i].name, sizeof table[i].name);
        fprintf(Out, ", \"score\": %d}", table[i].score);
    }
    fputs("\n  ]", Out);
}

template <size_t Size>
static void DumpName(const char* name, const char (&text)[Size]) {
    Key(name);
    PutString(text, Size);
}

static void PutFields() {
#define X(field, kind, suspend) kind(#field, G.field);
    GAME_GLOBAL_FIELDS(X)
#undef X
}

bool WriteStateDump(const char* path) {
    Out = fopen(path, "w");
    if (!Out) return false;
    FirstKey = true;
    fputc('{', Out);
    PutFields();
    fputs("\n}\n", Out);
    bool ok = !ferror(Out);
    ok = fclose(Out) == 0 && ok;
    Out = nullptr;
    return ok;
}
