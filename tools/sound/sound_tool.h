// murko-sound: shared pieces of the tool that writes the music modules and the bark.
#pragma once

#include <cstdint>
#include <vector>

constexpr int ModChannels = 4;      // a "M.K." module has four channels
constexpr int ModRows = 64;         // rows in every pattern
constexpr int ModInstruments = 31;  // instrument slots in the header
constexpr int ModMaxPatterns = 64;  // patterns a score may hold
constexpr int ModMaxOrders = 128;   // entries in the order list

// One instrument as the module stores it: signed 8-bit data and its loop.
struct ModInstrument {
    char name[23];             // shown by trackers
    std::vector<int8_t> data;  // the sample, an even number of bytes
    int volume;                // 0..64
    int loopStart;             // bytes; 0 with loopLength 0 for no loop
    int loopLength;            // bytes, 0 = no loop
};

// One cell of a pattern.
struct ModCell {
    int period;      // Amiga period, 0 = no note
    int instrument;  // 1..31, 0 = none
    int effect;      // effect command 0..15
    int param;       // effect parameter 0..255
};

// A whole song as read from its score.
struct ModSong {
    char title[21];                                       // the module title
    int orderCount;                                       // entries of order in use
    int order[ModMaxOrders];                              // pattern of each position
    int restart;                                          // position the song loops back to
    int patternCount;                                     // patterns read
    ModCell cells[ModMaxPatterns][ModRows][ModChannels];  // every pattern
};

void MakeInstruments(ModInstrument instruments[ModInstruments]);  // the synthesised set
std::vector<int16_t> MakeBark(int rate);                          // the bark, 16-bit mono
bool ReadScore(const char* path, ModSong* song);  // false (with a message) on a bad score
bool WriteModule(const char* path, const ModSong& song,
                 const ModInstrument instruments[ModInstruments]);
bool WriteWave(const char* path, const std::vector<int16_t>& pcm, int rate);
