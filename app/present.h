// Presentation: the back buffer copied or converted into the device's frame buffer.
#pragma once

void PresentFrame();  // one frame to the panel, in the panel's own pixel layout
