// The high-score table and the screen that shows it.
#include "screens/high_scores.h"

#include <cstring>

#include "core/globals.h"
#include "core/sound.h"
#include "gfx/font.h"
#include "screens/highlight.h"
#include "screens/items.h"

constexpr int NameField = int(sizeof G.HighScoreTable[0].name);  // 12 bytes, not always terminated
constexpr int NameKept = 10;           // name bytes a new entry takes from the typed name
constexpr int TableTop = 40;           // row of the first table line
constexpr int TableLineRows = 24;      // rows from one table line to the next
constexpr int RankRight = 32;          // rank numbers end at this column ("10." from x 8)
constexpr int NameX = 44;              // left edge of the names (12 characters reach x 139)
constexpr int ScoreRight = 232;        // scores end at this column
constexpr int NarrowAdvance = 8;       // pixels a character of the narrow raster font
constexpr uint16_t RankInk = 0xFFE0;   // yellow ranks
constexpr uint16_t NameInk = 0xFFFF;   // white names
constexpr uint16_t ScoreInk = 0xFFE0;  // yellow scores

// --- The table ---

void SetDefaultHighScores() {
    memset(G.HighScoreTable, 0, sizeof G.HighScoreTable);
    for (int i = 0; i < HighScoreEntries; i++) {
        strcpy(G.HighScoreTable[i].name, "Murko-Dog");
        G.HighScoreTable[i].score = 100 - 10 * i;
    }
}

void InsertHighScore(int32_t score, const char* name) {
    int at = 0;
    while (at < HighScoreEntries && !(G.HighScoreTable[at].score < score)) at++;
    if (at == HighScoreEntries) return;
    for (int j = HighScoreEntries - 1; j > at; j--) G.HighScoreTable[j] = G.HighScoreTable[j - 1];
    G.HighScoreTable[at].score = score;
    memcpy(G.HighScoreTable[at].name, name, NameKept);
    // The rest of the field ends the name, whatever the entry that stood here held.
    memset(G.HighScoreTable[at].name + NameKept, 0, NameField - NameKept);
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
    DrawBottomButton(OkButton[0]);
    ScreenTap tap;
    if (!TakeScreenTap(OkButton, &tap)) return;
    if (tap.item >= 0) {
        G.ScreenState = ScreenMainMenu;
        Bark();
    } else if (InSpeakerCorner(tap.x, tap.y)) {
        ToggleMute();
    }
}
