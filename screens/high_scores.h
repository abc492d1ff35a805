// The high-score table, its file "Mhighscore.dat" and the screen that shows it.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>

void SetDefaultHighScores();  // ten times "Murko-Dog", 100 down to 10
void LoadHighScores();        // the stored table read over the defaults
void SaveHighScores();        // writes the table to the file, never leaving a torn file behind
void InsertHighScore(int32_t score,
                     const char* name);  // places a run below equal scores; name: 20-byte buffer
void HighScoreScreen();                  // ScreenHighScores: the table and its OK button

extern ssize_t (*ScoreFileWrite)(int fd, const void* bytes,
                                 size_t count);  // the save's write call (tests fail it)
