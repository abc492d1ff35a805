// The input accessors the screens read: edge reads that clear what they report, level reads.
#include "core/input.h"

#include "core/globals.h"

int32_t ButtonAPressed() {
    int32_t pressed = G.ALatch ? 1 : 0;
    G.ALatch = 0;
    return pressed;
}

int32_t LeftHeld() { return G.LeftDown; }
int32_t RightHeld() { return G.RightDown; }
int32_t UpHeld() { return G.UpDown; }
int32_t DownHeld() { return G.DownDown; }

int32_t StylusTapped() {
    int32_t tapped = G.TapConsumed == 0 ? 1 : 0;
    G.TapConsumed = 1;
    return tapped;
}

int32_t TapX() { return G.TapPosX; }
int32_t TapY() { return G.TapPosY; }

int32_t KeyTyped() {
    int32_t key = G.TypedKey;
    G.TypedKey = 0;
    return key;
}
