// The items of the front-end screens: where a tap reaches each one, what it does and where the pad
// highlight frames it; the bottom panel and its button.
#pragma once

#include <cstdint>
#include <span>

#include "core/globals.h"
#include "core/layout.h"

// The font of an item's label, which sizes the highlight's frame round it.
enum : int8_t { LabelRed, LabelNarrow };

// One item of a front-end screen.
struct ScreenItem {
    const char* label;  // drawn at (x, y); none for a key of the name entry, which shows one glyph
    int16_t x, y;       // the label's top-left corner
    int8_t font;        // LabelRed, 16 x 16 a character, or LabelNarrow, 8 x 16
    int16_t hotLeft, hotTop, hotRight, hotBottom;  // the tap rectangle, inclusive
    int8_t row;     // the pad's up and down change rows; left and right move within one
    int8_t action;  // what a tap does, in the screen's own codes
};

// A red label whose tap band spans x 0..219 over rows hotTop..hotBottom.
constexpr ScreenItem RedBand(const char* label, int x, int y, int hotTop, int hotBottom, int row,
                             int action) {
    return ScreenItem{label,           int16_t(x), int16_t(y),         LabelRed,    0,
                      int16_t(hotTop), ItemRight,  int16_t(hotBottom), int8_t(row), int8_t(action)};
}

// The bottom button: a red label on the panel strip, answering from row 292 to the bottom edge.
constexpr ScreenItem BottomButton(const char* label, int x, int row = 0, int action = 0) {
    return RedBand(label, x, ButtonLabelY, ButtonTop, ScreenHeight - 1, row, action);
}

inline constexpr ScreenItem OkButton[] = {BottomButton("OK", 106)};  // the screens' one button

int ItemAt(std::span<const ScreenItem> items, int x, int y);  // the item tapped at (x, y), or -1
void DrawBottomButton(const ScreenItem& button);  // the panel strip at row 288 and the label
