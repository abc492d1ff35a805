// The front-end screens' items: hit-testing, the frame's tap, the bottom panel and its button.
#include "screens/items.h"

#include <cstring>

#include "core/input.h"
#include "gfx/font.h"
#include "screens/highlight.h"

int ItemAt(std::span<const ScreenItem> items, int x, int y) {
    for (size_t i = 0; i < items.size(); i++) {
        const ScreenItem& item = items[i];
        if (x >= item.hotLeft && x <= item.hotRight && y >= item.hotTop && y <= item.hotBottom)
            return int(i);
    }
    return -1;
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

void DrawBottomButton(const ScreenItem& button) {
    memcpy(G.BackBuffer + PanelTop * ScreenWidth, G.BottomPanelImage, sizeof G.BottomPanelImage);
    DrawRedText(button.label, button.x, button.y);
}
