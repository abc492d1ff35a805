// The state dump: every field of GameGlobals as one JSON object, one line per field.
// Pictures, the back buffer and the font tables are left out; sound handles are written as
// whether they are loaded; the maze is written row by row as strings of cell digits.
#include "app/state_dump.h"

#include <cstdio>
#include <string>

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

static void Put(const char* name, long long value) {
    Key(name);
    fprintf(Out, "%lld", value);
}

static void Put(const char* name, const std::string& text) {
    Key(name);
    PutString(text.data(), text.size());
}

static void Put(const char* name, const void* handle) {
    Key(name);
    fputs(handle ? "true" : "false", Out);
}

// Rows and columns in use, never beyond the grid.
static int Clamp(int v, int high) { return v < 0 ? 0 : (v > high ? high : v); }

// String y holds the cell codes of row y, character x for column x; a code above 9 shows as '?'.
static void PutMaze() {
    int width = Clamp(G.MazeWidth, MazeStride), height = Clamp(G.MazeHeight, MazeStride);
    Key("MazeGrid");
    fputc('[', Out);
    for (int y = 0; y < height; y++) {
        fputs(y ? ",\n    \"" : "\n    \"", Out);
        for (int x = 0; x < width; x++) {
            int code = G.MazeGrid[x * MazeStride + y];
            fputc(code >= 0 && code <= 9 ? '0' + code : '?', Out);
        }
        fputc('"', Out);
    }
    fputs(height ? "\n  ]" : "]", Out);
}

// Same shape as the maze: row y, element x.
static void PutOccupancy() {
    int width = Clamp(G.MazeWidth, MazeStride), height = Clamp(G.MazeHeight, MazeStride);
    Key("SpiderOccupancy");
    fputc('[', Out);
    for (int y = 0; y < height; y++) {
        fputs(y ? ",\n    [" : "\n    [", Out);
        for (int x = 0; x < width; x++)
            fprintf(Out, x ? ",%d" : "%d", G.SpiderOccupancy[x * MazeStride + y]);
        fputc(']', Out);
    }
    fputs(height ? "\n  ]" : "]", Out);
}

static void PutKeyList() {
    Key("KeyList");
    fputc('[', Out);
    for (int i = 0; i < 8; i++) fprintf(Out, i ? ", %d" : "%d", G.KeyList[i].code);
    fputc(']', Out);
}

static void PutSpiders() {
    Key("SpiderTable");
    fputc('[', Out);
    for (int i = 0; i < SpiderSlots; i++) {
        const SpiderRecord& s = G.SpiderTable[i];
        fprintf(Out,
                "%s{\"x\": %d, \"y\": %d, \"direction\": %d, \"active\": %d, \"stepsLeft\": %d, "
                "\"strength\": %d}",
                i ? ",\n    " : "\n    ", s.x, s.y, s.direction, s.active, s.stepsLeft, s.strength);
    }
    fputs("\n  ]", Out);
}

static void PutHighScores() {
    Key("HighScoreTable");
    fputc('[', Out);
    for (int i = 0; i < HighScoreEntries; i++) {
        fputs(i ? ",\n    {\"name\": " : "\n    {\"name\": ", Out);
        PutString(G.HighScoreTable[i].name, sizeof G.HighScoreTable[i].name);
        fprintf(Out, ", \"score\": %d}", G.HighScoreTable[i].score);
    }
    fputs("\n  ]", Out);
}

static void PutEnteredName() {
    Key("EnteredName");
    PutString(G.EnteredName, sizeof G.EnteredName);
}

// One line per field, in the order of GameGlobals.
#define DUMP(field) Put(#field, G.field)

static void PutFields() {
    PutKeyList();
    DUMP(DisplayBpp);
    DUMP(DisplayXPitch);
    DUMP(DisplayYPitch);
    DUMP(FrameStartTick);
    DUMP(ScreenState);
    DUMP(QuitRequested);
    DUMP(RandomState);
    DUMP(FrameCount);
    DUMP(ALatch);
    DUMP(LeftDown);
    DUMP(RightDown);
    DUMP(UpDown);
    DUMP(DownDown);
    DUMP(TapConsumed);
    DUMP(TapPosX);
    DUMP(TapPosY);
    DUMP(TypedKey);
    DUMP(ProgramFolder);
    DUMP(SoundFolder);
    DUMP(GraphFolder);
    DUMP(MenuMusic);
    DUMP(GameMusic);
    DUMP(BarkSample);
    DUMP(SoundOn);
    PutMaze();
    DUMP(MazeWidth);
    DUMP(MazeHeight);
    DUMP(Level);
    DUMP(Score);
    DUMP(Energy);
    DUMP(BonesNeeded);
    DUMP(BonesCollected);
    DUMP(PoisonCarried);
    DUMP(FightPhase);
    DUMP(FightSpider);
    DUMP(MapView);
    DUMP(SpiderCount);
    DUMP(PoisonCount);
    DUMP(HeroX);
    DUMP(HeroY);
    DUMP(HeroDirection);
    DUMP(HeroMoving);
    DUMP(HeroFrame);
    DUMP(HeroFrameTimer);
    DUMP(CameraX);
    DUMP(CameraY);
    PutSpiders();
    PutOccupancy();
    DUMP(MenuChaseDirection);
    DUMP(MenuChasePos);
    DUMP(MenuDogFrame);
    DUMP(TransitionAngle);
    DUMP(HelpPage);
    PutHighScores();
    PutEnteredName();
    DUMP(EnteredNameLength);
    DUMP(KeyFlashFrames);
    DUMP(ShiftOn);
    DUMP(CapsLockOn);
    DUMP(LastKeyRow);
    DUMP(LastKeyCode);
    DUMP(HighlightShown);
    DUMP(HighlightScreen);
    DUMP(HighlightItem);
    DUMP(HighlightHeld);
    DUMP(HighlightHoldFrames);
    DUMP(HighlightFrame);
}

#undef DUMP

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
