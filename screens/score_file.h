// The score file "Mhighscore.dat": a byte image of the high-score table, read and saved safely.
#pragma once

#include <sys/types.h>

#include <cstddef>

void LoadHighScores();  // the stored table read over the defaults
void SaveHighScores();  // writes the table to the file, never leaving a torn file behind

extern ssize_t (*ScoreFileWrite)(int fd, const void* bytes,
                                 size_t count);  // the save's write call (tests fail it)
