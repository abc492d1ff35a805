// Fuzz target: a Targa picture loaded into each slot size the game uses.
#include <cstdint>
#include <cstdio>

#include "fuzz/fuzz_input.h"
#include "gfx/targa.h"

struct SlotSize {
    int width, height;  // picture size of a slot
};

// Hero, spider, tile, menu title, panel, heads-up panel, backdrop, red font, icons.
static const SlotSize Slots[] = {{16, 16},  {18, 18},  {20, 20},   {240, 192},
                                 {240, 32}, {240, 80}, {240, 320}, {160, 80}};

static uint16_t Pixels[240 * 320];  // the largest slot

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const SlotSize& slot = Slots[data[0] % (sizeof Slots / sizeof Slots[0])];
    std::string path = FuzzFile(data + 1, size - 1, "picture.tga");
    LoadTarga(path, slot.width, slot.height, Pixels);
    return 0;
}
