// Fuzz target: a score file as anyone may have left it, read over the defaults, then the table
// drawn, a run inserted and the table drawn again.
#include <cstdint>
#include <cstring>

#include "core/globals.h"
#include "fuzz/fuzz_input.h"
#include "screens/high_scores.h"
#include "screens/score_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzFile(data, size, "Mhighscore.dat");
    G.ProgramFolder = FuzzFolder();
    SetDefaultHighScores();
    LoadHighScores();
    G.TapConsumed = 1;
    HighScoreScreen();
    char name[20] = "FUZZ";
    InsertHighScore(size > 4 ? int32_t(data[size - 1] * 1000) : 0, name);
    HighScoreScreen();
    return 0;
}
