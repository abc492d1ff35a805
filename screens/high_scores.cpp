// The high-score table and its file "Mhighscore.dat".
#include "screens/high_scores.h"

#include <cstring>

#include "app/globals.h"

void SetDefaultHighScores() {
    memset(G.HighScoreTable, 0, sizeof G.HighScoreTable);
    for (int i = 0; i < HighScoreEntries; i++) {
        strcpy(G.HighScoreTable[i].name, "Murko-Dog");
        G.HighScoreTable[i].score = 100 - 10 * i;
    }
}

void LoadHighScores() {}
