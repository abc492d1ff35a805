// The front-end screens' items: hit-testing, the bottom panel and its button.
#include "screens/items.h"

#include <cstring>

#include "gfx/font.h"

int ItemAt(std::span<const ScreenItem> items, int x, int y) {
    for (size_t i = 0; i < items.size(); i++) {
        const ScreenItem& item = items[i];
        if (x >= item.hotLeft && x <= item.hotRight && y >= item.hotTop && y <= item.hotBottom)
            return int(i);
    }
    return -1;
}

void DrawBottomButton(const ScreenItem& button) {
    memcpy(G.BackBuffer + PanelTop * ScreenWidth, G.BottomPanelImage, sizeof G.BottomPanelImage);
    DrawRedText(button.label, button.x, button.y);
}
