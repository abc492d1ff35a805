// The new-high-score screen and its on-screen keyboard, worked by taps or by the desktop keyboard.
#include "screens/name_entry.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <span>
#include <string>

#include "core/globals.h"
#include "core/input.h"
#include "core/random.h"
#include "core/sound.h"
#include "gfx/font.h"
#include "screens/high_scores.h"
#include "screens/highlight.h"
#include "screens/items.h"
#include "screens/score_file.h"

constexpr int KeyRows = 4;            // rows of character keys
constexpr int GridX = 40;             // column of the first key's glyph
constexpr int GridY = 100;            // row of the first key's glyph
constexpr int CellWidth = 16;         // columns from one key to the next
constexpr int CellHeight = 20;        // rows from one key row to the next
constexpr int HitSize = 10;           // a key answers on the top-left 10 x 10 pixels of its cell
constexpr int GridRight = 186;        // ... but no key right of this column: the tenth is narrow
constexpr int NameMax = 10;           // characters a name may hold
constexpr int NameX = 60;             // column of the typed name (double width)
constexpr int NameY = 60;             // its row
constexpr int LitLast = 4;            // KeyFlashFrames counts 1..4 while a key is lit; 5 ends it
constexpr uint16_t RestInk = 0xFFFF;  // white: keys at rest
constexpr uint16_t LitInk = 0xFFE0;   // yellow: a lit key and the screen's texts
constexpr int Narrow = 1;             // the raster font at 8 pixels a character
constexpr int DoubleWidth = 0;        // ... at 16

// Each key row in the plain and the shifted set; short rows leave their last columns empty.
constexpr const char* PlainKeys[KeyRows] = {"1234567890", "qwertyuiop", "asdfghjkl", "zxcvbnm."};
constexpr const char* ShiftedKeys[KeyRows] = {"!@#$%^&*()", "QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM,"};

// What the keys do: a character key's action is its column (its row is its key row); the special
// keys' actions are their LastKeyCode values; then OK.
enum : int8_t { KeySpace = 11, KeyBackspace = 12, KeyShift = 13, KeyCapsLock = 14, KeyOk = 15 };

// Keys in the plain set, one item each.
constexpr int CharacterKeyCount = [] {
    int n = 0;
    for (const char* row : PlainKeys) n += int(std::char_traits<char>::length(row));
    return n;
}();
constexpr int SpecialKeyCount = 4;  // Space, Backspace, Shift, Caps Lock

// A key whose raster-font label stands at (x, y), answering taps from there to (right, bottom).
constexpr ScreenItem TextKey(const char* label, int x, int y, int right, int bottom, int row,
                             int action) {
    return ScreenItem{label,      int16_t(x),     int16_t(y),      LabelNarrow, int16_t(x),
                      int16_t(y), int16_t(right), int16_t(bottom), int8_t(row), int8_t(action)};
}

// The character keys row by row, the four special keys, and OK.
static constexpr auto NameItems = [] {
    std::array<ScreenItem, CharacterKeyCount + SpecialKeyCount + 1> items{};
    int n = 0;
    for (int r = 0; r < KeyRows; r++) {
        for (int c = 0; PlainKeys[r][c]; c++) {
            int x = GridX + CellWidth * c, y = GridY + CellHeight * r;
            int right = x + HitSize - 1 < GridRight ? x + HitSize - 1 : GridRight;
            items[n++] = TextKey(nullptr, x, y, right, y + HitSize - 1, r, c);
        }
    }
    items[n++] = TextKey("Space", 6, 200, 46, 216, 4, KeySpace);
    items[n++] = TextKey("Backspace", 160, 200, 232, 216, 4, KeyBackspace);
    items[n++] = TextKey("Shift", 6, 220, 46, 236, 5, KeyShift);
    items[n++] = TextKey("Caps Lock", 160, 220, 232, 236, 5, KeyCapsLock);
    items[n++] = BottomButton("OK", 106, 6, KeyOk);
    return items;
}();
static const std::span<const ScreenItem> CharacterKeys(NameItems.data(), CharacterKeyCount);
static const std::span<const ScreenItem> SpecialKeys(NameItems.data() + CharacterKeyCount,
                                                     SpecialKeyCount);

static bool Shifted() { return G.ShiftOn || G.CapsLockOn; }

// The character of key (r, c) in the set shown now; 0 for an empty cell.
static char KeyCharacter(int r, int c) {
    if (c >= int(strlen(PlainKeys[r]))) return 0;
    return Shifted() ? ShiftedKeys[r][c] : PlainKeys[r][c];
}

// --- What the keys do ---

// A character key: ch is typed at once and the key lit; the one-shot shift is used up.
static void TypeCharacter(int r, int c, char ch) {
    G.KeyFlashFrames = 1;
    G.EnteredName[G.EnteredNameLength++] = ch;
    G.LastKeyCode = c;
    G.LastKeyRow = r;
    G.ShiftOn = 0;
}

// A special key lights now and acts when it goes dark again.
static void PressSpecialKey(int code) {
    G.LastKeyCode = code;
    G.KeyFlashFrames = 1;
}

static void ActSpecialKey(int code) {
    if (code == KeySpace && G.EnteredNameLength < NameMax)
        G.EnteredName[G.EnteredNameLength++] = ' ';
    if (code == KeyBackspace && G.EnteredNameLength > 0) G.EnteredName[--G.EnteredNameLength] = 0;
    if (code == KeyShift) G.ShiftOn = 1 - G.ShiftOn;
    if (code == KeyCapsLock) {
        G.ShiftOn = 0;
        G.CapsLockOn = 1 - G.CapsLockOn;
    }
}

// OK: the run goes into the table, the table to its file, and the table is shown.
static void ConfirmName() {
    Bark();
    InsertHighScore(G.Score, G.EnteredName);
    G.ScreenState = ScreenHighScores;
    SaveHighScores();
}

// --- Taps and typed keys (only while no key is lit) ---

static void HandleTap(const ScreenTap& tap) {
    if (tap.item < 0) {
        if (InSpeakerCorner(tap.x, tap.y)) ToggleMute();
        return;
    }
    const ScreenItem& key = NameItems[tap.item];
    if (key.action == KeyOk) return ConfirmName();
    if (key.action >= KeySpace) return PressSpecialKey(key.action);
    if (G.EnteredNameLength < NameMax)
        TypeCharacter(key.row, key.action, KeyCharacter(key.row, key.action));
}

// Finds ch in one key set; false when no key has it.
static bool FindKey(const char* const* set, char ch, int* r, int* c) {
    for (*r = 0; *r < KeyRows; ++*r) {
        const char* at = strchr(set[*r], ch);
        if (ch && at) {
            *c = int(at - set[*r]);
            return true;
        }
    }
    return false;
}

// A key typed on the desktop keyboard acts as the key on the screen: a plain-set character as a
// tap on its key (so shifted while Shift or Caps Lock is on), a shifted-set character types
// itself and lights its key; Space, Backspace and Enter (OK) as their keys.
static void HandleTypedKey(int32_t key) {
    int r = 0, c = 0;
    if (key == ' ') return PressSpecialKey(KeySpace);
    if (key == TypedBackspace) return PressSpecialKey(KeyBackspace);
    if (key == TypedEnter) return ConfirmName();
    if (key < 33 || key > 126 || G.EnteredNameLength >= NameMax) return;
    if (FindKey(PlainKeys, char(key), &r, &c)) return TypeCharacter(r, c, KeyCharacter(r, c));
    if (FindKey(ShiftedKeys, char(key), &r, &c)) TypeCharacter(r, c, char(key));
}

// --- Drawing ---

static void DrawKeys() {
    for (const ScreenItem& key : CharacterKeys) {
        bool lit = G.KeyFlashFrames != 0 && G.LastKeyRow == key.row && G.LastKeyCode == key.action;
        DrawFontGlyph(KeyCharacter(key.row, key.action), key.x, key.y, lit ? LitInk : RestInk,
                      Narrow, 0);
    }
}

// The four special labels; the one whose code is lit (0: none) in yellow.
static void DrawSpecialLabels(int litCode) {
    for (const ScreenItem& k : SpecialKeys)
        DrawFontText(k.label, k.x, k.y, Narrow, k.action == litCode ? LitInk : RestInk);
}

// A lit key counts its frames; in the fifth it goes dark and a special key acts.
static void KeyFeedback() {
    if (G.KeyFlashFrames == 0) return DrawSpecialLabels(0);
    if (++G.KeyFlashFrames <= LitLast) return DrawSpecialLabels(G.LastKeyCode);
    G.KeyFlashFrames = 0;
    ActSpecialKey(G.LastKeyCode);
    DrawSpecialLabels(0);
}

void NameKeyboard() {
    char name[sizeof G.EnteredName + 1] = {};
    memcpy(name, G.EnteredName, sizeof G.EnteredName);
    DrawFontText(name, NameX, NameY, DoubleWidth, LitInk);
    DrawFontText("_", NameX + 16 * G.EnteredNameLength, NameY, DoubleWidth,
                 uint16_t(Rand() % 65535));
    DrawKeys();
    ScreenTap tap;
    bool tapped = TakeScreenTap(NameItems, &tap);
    int32_t typed = KeyTyped();  // read every frame, so a key typed while one is lit is lost
    if (G.KeyFlashFrames == 0 && tapped)
        HandleTap(tap);
    else if (G.KeyFlashFrames == 0 && typed)
        HandleTypedKey(typed);
    KeyFeedback();
}

void NewHighScoreScreen() {
    char score[16];
    memcpy(G.BackBuffer, G.BackdropImage, sizeof G.BackdropImage);
    DrawRedText("NEW HIGHSCORE!", 10, 4);
    DrawFontText("Your score :", 10, 40, Narrow, LitInk);
    snprintf(score, sizeof score, "%d", int(G.Score));
    DrawFontText(score, 110, 40, DoubleWidth, LitInk);
    DrawFontText("Name :", 10, 60, Narrow, LitInk);
    DrawBottomButton(NameItems.back());
    NameKeyboard();
}
