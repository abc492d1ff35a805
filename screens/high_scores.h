// The high-score table and the screen that shows it.
#pragma once

#include <cstdint>

void SetDefaultHighScores();  // ten times "Murko-Dog", 100 down to 10
void InsertHighScore(int32_t score,
                     const char* name);  // places a run below equal scores; name: 20-byte buffer
void HighScoreScreen();                  // ScreenHighScores: the table and its OK button
