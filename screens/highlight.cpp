// The pad highlight: each front-end screen's items as a table, moved over by the d-pad, A as a tap.
#include "screens/highlight.h"

#include <array>
#include <climits>
#include <cstdlib>

#include "core/globals.h"
#include "core/input.h"

constexpr int ItemRight = 219;            // item and button tap rectangles end at x 219
constexpr int HelpLastPage = 2;           // the help page whose button reads OK
constexpr int RepeatDelay = 12;           // frames a direction is held before it repeats
constexpr int RepeatEvery = 4;            // frames between repeats
constexpr uint16_t FrameInk = 0x07FF;     // cyan: none of the front-end pictures uses it
constexpr uint16_t FrameShadow = 0x0000;  // a black line inside it, so it reads on light panels too
enum { DirUp = 1, DirDown = 2, DirLeft = 4, DirRight = 8 };  // bits of HighlightHeld

// One item a screen offers: the frame drawn round it, where a tap reaches it, and its row.
struct Item {
    int16_t left, top, right, bottom;              // the frame (inclusive)
    int16_t hotLeft, hotTop, hotRight, hotBottom;  // the tap rectangle (inclusive)
    int8_t row;  // up and down change rows; left and right move within one
};

// A label of n red-font characters at (x, y) whose band spans x 0..219 over rows hotTop..hotBottom.
constexpr Item RedItem(int x, int y, int n, int hotTop, int hotBottom, int row) {
    return Item{int16_t(x - 3),  int16_t(y - 3), int16_t(x + 16 * n + 2), int16_t(y + 18), 0,
                int16_t(hotTop), ItemRight,      int16_t(hotBottom),      int8_t(row)};
}

// A label of n raster-font characters at (x, y) and its tap rectangle.
constexpr Item TextItem(int x, int y, int n, int hotLeft, int hotTop, int hotRight, int hotBottom,
                        int row) {
    return Item{int16_t(x - 3),    int16_t(y - 1),     int16_t(x + 8 * n + 2),
                int16_t(y + 16),   int16_t(hotLeft),   int16_t(hotTop),
                int16_t(hotRight), int16_t(hotBottom), int8_t(row)};
}

static const Item MenuItems[] = {
    RedItem(50, 200, 9, 196, 227, 0),   // PLAY GAME
    RedItem(34, 232, 11, 228, 259, 1),  // HIGH SCORES
    RedItem(90, 264, 4, 260, 291, 2),   // HELP
    RedItem(90, 296, 4, 292, 319, 3),   // EXIT
};
static const Item OkItems[] = {RedItem(106, 296, 2, 292, 319, 0)};  // the bottom button, "OK"
static const Item NextItems[] = {
    RedItem(48, 296, 9, 292, 319, 0)};  // the bottom button, "NEXT PAGE"

// LEVEL 1..9: labels at (60, 40 + 32k), bands of 32 rows from row 32.
static constexpr std::array<Item, 9> LevelItems = [] {
    std::array<Item, 9> items{};
    for (int k = 0; k < 9; k++) items[k] = RedItem(60, 40 + 32 * k, 7, 32 + 32 * k, 63 + 32 * k, k);
    return items;
}();

// The name entry: the key grid (rows of 10, 10, 9 and 8 keys answering on the top-left 10 x 10
// pixels of their 16 x 20 cells, the tenth column only up to x 186), the special keys, OK.
constexpr int KeyRowLength[4] = {10, 10, 9, 8};
static constexpr std::array<Item, 42> NameItems = [] {
    std::array<Item, 42> items{};
    int n = 0;
    for (int r = 0; r < 4; r++) {
        for (int c = 0; c < KeyRowLength[r]; c++) {
            int x = 40 + 16 * c, y = 100 + 20 * r;
            items[n++] = TextItem(x, y, 1, x, y, x + 9 < 186 ? x + 9 : 186, y + 9, r);
        }
    }
    items[n++] = TextItem(6, 200, 5, 6, 200, 46, 216, 4);       // Space
    items[n++] = TextItem(160, 200, 9, 160, 200, 232, 216, 4);  // Backspace
    items[n++] = TextItem(6, 220, 5, 6, 220, 46, 236, 5);       // Shift
    items[n++] = TextItem(160, 220, 9, 160, 220, 232, 236, 5);  // Caps Lock
    items[n++] = RedItem(106, 296, 2, 292, 319, 6);             // OK
    return items;
}();

struct ItemTable {
    const Item* items;
    int count;
};

// The items of the screen now shown; none in the game.
static ItemTable ScreenItems() {
    switch (G.ScreenState) {
        case ScreenMainMenu: return {MenuItems, int(std::size(MenuItems))};
        case ScreenLevelSelect: return {LevelItems.data(), int(LevelItems.size())};
        case ScreenLevelComplete:
        case ScreenHighScores: return {OkItems, 1};
        case ScreenHelp: return {G.HelpPage == HelpLastPage ? OkItems : NextItems, 1};
        case ScreenNewHighScore: return {NameItems.data(), int(NameItems.size())};
        default: return {nullptr, 0};
    }
}

// The directions acting this frame: those newly pressed, and held ones as they repeat. A direction
// counts only when the previous frame was a front-end frame too, so a key held in the game shows
// nothing.
static int PressedDirections() {
    int held = (UpHeld() ? DirUp : 0) | (DownHeld() ? DirDown : 0) | (LeftHeld() ? DirLeft : 0) |
               (RightHeld() ? DirRight : 0);
    bool consecutive = G.HighlightFrame + 1 == G.FrameCount;
    int pressed = consecutive ? held & ~G.HighlightHeld : 0;
    if (!consecutive)
        G.HighlightHoldFrames = int16_t(held ? -1 : 0);
    else if (pressed || !held)
        G.HighlightHoldFrames = 0;
    else if (G.HighlightHoldFrames >= 0 && G.HighlightHoldFrames < INT16_MAX)
        G.HighlightHoldFrames++;
    int hold = G.HighlightHoldFrames;
    if (hold >= RepeatDelay && (hold - RepeatDelay) % RepeatEvery == 0) pressed = held;
    G.HighlightHeld = int8_t(held);
    G.HighlightFrame = G.FrameCount;
    return pressed;
}

static int CentreX(const Item& item) { return (item.left + item.right) / 2; }

// The item on the row step away whose centre stands nearest across; from itself when there is none.
static int RowStep(ItemTable t, int from, int step) {
    int best = from, bestGap = INT_MAX;
    for (int i = 0; i < t.count; i++) {
        int gap = abs(CentreX(t.items[i]) - CentreX(t.items[from]));
        if (t.items[i].row == t.items[from].row + step && gap < bestGap) best = i, bestGap = gap;
    }
    return best;
}

// The neighbour within the row; from itself at the row's end.
static int ColumnStep(ItemTable t, int from, int step) {
    int to = from + step;
    return to >= 0 && to < t.count && t.items[to].row == t.items[from].row ? to : from;
}

static void Move(ItemTable t, int pressed) {
    int at = G.HighlightItem;
    if (pressed & DirUp) at = RowStep(t, at, -1);
    if (pressed & DirDown) at = RowStep(t, at, 1);
    if (pressed & DirLeft) at = ColumnStep(t, at, -1);
    if (pressed & DirRight) at = ColumnStep(t, at, 1);
    G.HighlightItem = int16_t(at);
}

static void Plot(int x, int y, uint16_t colour) {
    if (x >= 0 && x < ScreenWidth && y >= 0 && y < ScreenHeight)
        G.BackBuffer[y * ScreenWidth + x] = colour;
}

// A rectangle's outline.
static void Outline(int left, int top, int right, int bottom, uint16_t colour) {
    for (int x = left; x <= right; x++) Plot(x, top, colour), Plot(x, bottom, colour);
    for (int y = top; y <= bottom; y++) Plot(left, y, colour), Plot(right, y, colour);
}

// The frame: a cyan line with a black one inside.
static void DrawFrame(const Item& item) {
    Outline(item.left, item.top, item.right, item.bottom, FrameInk);
    Outline(item.left + 1, item.top + 1, item.right - 1, item.bottom - 1, FrameShadow);
}

// A tap at the centre of the item's tap rectangle, for the screen's own tap code to handle.
static void TapItem(const Item& item) {
    G.TapPosX = (item.hotLeft + item.hotRight) / 2;
    G.TapPosY = (item.hotTop + item.hotBottom) / 2;
    G.TapConsumed = 0;
}

void PadHighlight() {
    ItemTable t = ScreenItems();
    if (!t.count) return;
    if (G.HighlightScreen != G.ScreenState || G.HighlightItem >= t.count) G.HighlightItem = 0;
    G.HighlightScreen = G.ScreenState;
    int pressed = PressedDirections();
    // Every front-end frame takes the A latch, so no press made here opens the map in the next
    // game. On the name entry a key that pressed A and typed a character (Space, Z, Enter) only
    // types.
    bool confirm = ButtonAPressed() && !(G.ScreenState == ScreenNewHighScore && G.TypedKey);
    if (!G.TapConsumed)
        G.HighlightShown = 0;  // a pointer tap: the highlight goes, the tap acts as it is
    else if (pressed && !G.HighlightShown)
        G.HighlightShown = 1;
    else if (pressed)
        Move(t, pressed);
    if (!G.HighlightShown) return;
    DrawFrame(t.items[G.HighlightItem]);
    if (confirm && G.TapConsumed) TapItem(t.items[G.HighlightItem]);
}
