// The fast way to decode a panel of plain RGB565 rows, for the window's every frame.
#pragma once

#include <cstdint>

#include "platform/host.h"

// Row pitch in bytes when the panel holds plain RGB565 rows (x pitch 2, rows of at least 480 bytes
// running downwards); 0 for every other layout, which goes through PanelDecode.
int PlainRowPitch(HostDisplayProperties p);

// The same 0xRRGGBB pixels PanelDecode gives for such a panel, a row at a time.
void DecodePlainRows(const uint8_t* panel, int pitch, uint32_t* rgb);
