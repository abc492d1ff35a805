// Places the game and every front-end screen share: the bottom panel strip and its button, the
// right edge of item bands, and the speaker corner.
#pragma once

constexpr int PanelTop = 288;      // the bottom panel strip covers rows 288..319
constexpr int PanelRows = 32;      // rows of the strip (BottomPanelImage is 240 x 32)
constexpr int ButtonTop = 292;     // the bottom button answers from this row down ...
constexpr int ItemRight = 219;     // ... and, like every item band, up to this column
constexpr int ButtonLabelY = 296;  // row of the bottom button's label
constexpr int SpeakerIconX = 224;  // top-left corner of the speaker icon drawn over every frame
constexpr int SpeakerIconY = 304;
constexpr int SpeakerHotX = 224;  // a tap with x >= 224 ...
constexpr int SpeakerHotY = 303;  // ... and y >= 303 toggles the sound on every screen

// Whether a tap at (x, y) lands in the speaker corner.
inline bool InSpeakerCorner(int x, int y) { return x >= SpeakerHotX && y >= SpeakerHotY; }
