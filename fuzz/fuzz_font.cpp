// Fuzz target: the raster font file, then text drawn with it.
#include <cstdint>
#include <cstdio>

#include "app/data.h"
#include "core/globals.h"
#include "fuzz/fuzz_input.h"
#include "gfx/font.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzFile(data, size, "Antique.fnt");
    G.GraphFolder = FuzzFolder();
    LoadRasterFontFile();
    DrawFontText("Murko-Dog 0123456789 !@#$%^&*()", 0, 0, 1, 0xFFFF);
    DrawFontText("the last row", 8, 304, 0, 0xFFE0);
    return 0;
}
