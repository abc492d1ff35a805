// Presentation: the back buffer copied or converted into the device's frame buffer.
#include "app/present.h"

#include <cstring>

#include "app/globals.h"
#include "platform/host.h"

void PresentFrame() {
    if (G.DisplayBpp != 16) return;
    uint8_t* dst = HostBeginDraw();
    if (G.DisplayXPitch == 2 && G.DisplayYPitch == 480) memcpy(dst, G.BackBuffer, sizeof G.BackBuffer);
    HostEndDraw();
}
