// The pad highlight over a front-end screen's items (the d-pad moves it, A taps the item it
// frames), and the frame's tap, by pointer or by A.
#include "screens/highlight.h"

#include <climits>
#include <cstdlib>
#include <cstring>

#include "core/directions.h"
#include "core/globals.h"
#include "core/input.h"

constexpr int RepeatDelay = 12;           // frames a direction is held before it repeats
constexpr int RepeatEvery = 4;            // frames between repeats
constexpr uint16_t FrameInk = 0x07FF;     // cyan: none of the front-end pictures uses it
constexpr uint16_t FrameShadow = 0x0000;  // a black line inside it, so it reads on light panels too
constexpr int RedAdvance = 16;            // columns a red-font character takes
constexpr int NarrowAdvance = 8;          // columns a raster-font character takes

// The frame drawn round an item's label (inclusive).
struct ItemFrame {
    int left, top, right, bottom;
};

static ItemFrame FrameOf(const ScreenItem& item) {
    int n = item.label ? int(strlen(item.label)) : 1;
    if (item.font == LabelRed)
        return {item.x - 3, item.y - 3, item.x + RedAdvance * n + 2, item.y + 18};
    return {item.x - 3, item.y - 1, item.x + NarrowAdvance * n + 2, item.y + 16};
}

// The directions acting this frame: those newly pressed, and held ones as they repeat. A direction
// counts only when the previous frame was a front-end frame too, so a key held in the game shows
// nothing.
static int PressedDirections() {
    int held = (UpHeld() ? PadUp : 0) | (DownHeld() ? PadDown : 0) | (LeftHeld() ? PadLeft : 0) |
               (RightHeld() ? PadRight : 0);
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

static int CentreX(const ScreenItem& item) {
    ItemFrame frame = FrameOf(item);
    return (frame.left + frame.right) / 2;
}

// The item on the row step away whose centre stands nearest across; from itself when there is none.
static int RowStep(std::span<const ScreenItem> items, int from, int step) {
    int best = from, bestGap = INT_MAX;
    for (int i = 0; i < int(items.size()); i++) {
        int gap = abs(CentreX(items[i]) - CentreX(items[from]));
        if (items[i].row == items[from].row + step && gap < bestGap) best = i, bestGap = gap;
    }
    return best;
}

// The neighbour within the row; from itself at the row's end.
static int ColumnStep(std::span<const ScreenItem> items, int from, int step) {
    int to = from + step;
    return to >= 0 && to < int(items.size()) && items[to].row == items[from].row ? to : from;
}

static void Move(std::span<const ScreenItem> items, int pressed) {
    int at = G.HighlightItem;
    if (pressed & PadUp) at = RowStep(items, at, -1);
    if (pressed & PadDown) at = RowStep(items, at, 1);
    if (pressed & PadLeft) at = ColumnStep(items, at, -1);
    if (pressed & PadRight) at = ColumnStep(items, at, 1);
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
static void DrawFrame(const ScreenItem& item) {
    ItemFrame f = FrameOf(item);
    Outline(f.left, f.top, f.right, f.bottom, FrameInk);
    Outline(f.left + 1, f.top + 1, f.right - 1, f.bottom - 1, FrameShadow);
}

int PadHighlight(std::span<const ScreenItem> items) {
    if (G.HighlightScreen != G.ScreenState || G.HighlightItem >= int(items.size()))
        G.HighlightItem = 0;
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
        Move(items, pressed);
    if (!G.HighlightShown) return -1;
    DrawFrame(items[G.HighlightItem]);
    return confirm && G.TapConsumed ? G.HighlightItem : -1;
}

bool TakeScreenTap(std::span<const ScreenItem> items, ScreenTap* tap) {
    int chosen = PadHighlight(items);
    if (StylusTapped()) {
        tap->x = int16_t(TapX());
        tap->y = int16_t(TapY());
        tap->item = ItemAt(items, tap->x, tap->y);
        return true;
    }
    if (chosen < 0) return false;
    // A reaches the item as a tap at the centre of its tap rectangle, and the tap fields keep that
    // place as they keep a pointer's.
    const ScreenItem& item = items[chosen];
    G.TapPosX = (item.hotLeft + item.hotRight) / 2;
    G.TapPosY = (item.hotTop + item.hotBottom) / 2;
    *tap = ScreenTap{G.TapPosX, G.TapPosY, chosen};
    return true;
}
