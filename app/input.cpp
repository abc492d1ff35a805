// Buttons and stylus: the latches and their accessors.
#include "app/input.h"

#include "app/globals.h"

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

bool TakeInputEvent(HostEvent* event) { return HostPollEvent(event); }

void HandleInputEvent(const HostEvent& event) {
    switch (event.type) {
        case HostEventKeyDown:
            if (event.key == G.KeyList[KeyA].code) G.ALatch = 1;
            if (event.key == G.KeyList[KeyLeft].code) G.LeftDown = 1;
            if (event.key == G.KeyList[KeyRight].code) G.RightDown = 1;
            if (event.key == G.KeyList[KeyUp].code) G.UpDown = 1;
            if (event.key == G.KeyList[KeyDown].code) G.DownDown = 1;
            break;
        case HostEventKeyUp:
            if (event.key == G.KeyList[KeyLeft].code) G.LeftDown = 0;
            if (event.key == G.KeyList[KeyRight].code) G.RightDown = 0;
            if (event.key == G.KeyList[KeyUp].code) G.UpDown = 0;
            if (event.key == G.KeyList[KeyDown].code) G.DownDown = 0;
            break;
        case HostEventPenDown:
            G.TapPosX = event.x & 0xFFFF;
            G.TapPosY = event.y & 0xFFFF;
            G.TapConsumed = 0;
            break;
        case HostEventQuit:
            G.QuitRequested = 1;
            break;
        default:
            break;
    }
}
