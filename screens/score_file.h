// The score file "Mhighscore.dat": a byte image of the high-score table, read and saved safely.
#pragma once

void LoadHighScores();  // the stored table read over the defaults
void SaveHighScores();  // writes the table to the file, never leaving a torn file behind
