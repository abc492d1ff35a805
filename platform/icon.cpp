// The window icon: Murko's head, 32 x 32, drawn as a character grid.
#include "platform/icon.h"

// One character a pixel: '.' clear, K outline, B ear brown, L tan fur, W white muzzle, P tongue.
static const char* const IconRows[IconSize] = {
    "................................", "................................",
    ".......KKKK..........KKKK.......", "......KBBBBK........KBBBBK......",
    ".....KBBBBBBKKKKKKKKBBBBBBK.....", "....KBBBBBBKLLLLLLLLKBBBBBBK....",
    "....KBBBBBKLLLLLLLLLLKBBBBBK....", "...KBBBBBKLLLLLLLLLLLLKBBBBBK...",
    "...KBBBBBKLLLLLLLLLLLLKBBBBBK...", "...KBBBBKLLLLLLLLLLLLLLKBBBBK...",
    "...KBBBBKLLWWKLLLLKWWLLKBBBBK...", "...KBBBBKLLWKKLLLLKKWLLKBBBBK...",
    "...KBBBKLLLKKKLLLLKKKLLLKBBBK...", "...KBBBKLLLLKLLLLLLKLLLLKBBBK...",
    "....KBBKLLLLLLLLLLLLLLLLKBBK....", "....KBBKLLLLLLLLLLLLLLLLKBBK....",
    ".....KKKLLLLLWWWWWWLLLLLKKK.....", ".......KLLLLWWWWWWWWLLLLK.......",
    ".......KLLLWWWKKKKWWWLLLK.......", ".......KLLLWWKKKKKKWWLLLK.......",
    ".......KLLLWWWKKKKWWWLLLK.......", "........KLLWWWWKKWWWWLLK........",
    "........KLLWWWWKKWWWWLLK........", ".........KLWWWKWWKWWWLK.........",
    ".........KLWWWWKKWWWWLK.........", "..........KWWWWPPWWWWK..........",
    "...........KWWPPPPWWK...........", "............KKPPPPKK............",
    "..............KPPK..............", "...............KK...............",
    "................................", "................................",
};

struct IconInk {
    char mark;      // grid character
    uint32_t argb;  // its colour
};

// The colour of every grid character.
static const IconInk Inks[] = {
    {'.', 0x00000000}, {'K', 0xFF141414}, {'B', 0xFF78461E},
    {'L', 0xFFD2A05A}, {'W', 0xFFFAFAF5}, {'P', 0xFFE66E82},
};

static uint32_t InkFor(char mark) {
    for (const IconInk& ink : Inks)
        if (ink.mark == mark) return ink.argb;
    return 0;
}

void IconPixels(uint32_t argb[IconSize * IconSize]) {
    for (int y = 0; y < IconSize; y++)
        for (int x = 0; x < IconSize; x++) argb[y * IconSize + x] = InkFor(IconRows[y][x]);
}
