// The high-score table and its file "Mhighscore.dat".
#pragma once

void SetDefaultHighScores();  // ten times "Murko-Dog", 100 down to 10
void LoadHighScores();        // the stored table read over the defaults
