// The emulated device panel: the memory PresentFrame writes, in the layout of each kind of device.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/host.h"

constexpr size_t PanelGuardBytes = 64;    // untouched bytes kept on each side of the panel memory
constexpr uint8_t PanelGuardFill = 0xA5;  // what the guards (and unused store) hold

void PanelCreate(HostDisplayMode mode);   // lays out (and clears) the panel for a mode
HostDisplayProperties PanelProperties();  // bpp and pitches the device reports
uint8_t* PanelAddress();                  // the address the device hands to a frame
uint8_t* PanelMemory();                   // first byte of the panel's memory
size_t PanelSize();                       // bytes of panel memory
bool PanelGuardsIntact();                 // nothing outside the panel memory was written
void PanelDecode(uint32_t* rgb);          // the panel as 240 x 320 portrait 0xRRGGBB pixels
bool PanelParseMode(const char* name, HostDisplayMode* mode);  // "rgb565", "rotated", ...
