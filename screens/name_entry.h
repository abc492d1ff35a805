// The new-high-score screen and its on-screen keyboard.
#pragma once

void NewHighScoreScreen();  // ScreenNewHighScore: the fixed part, then the keyboard
void NameKeyboard();        // the name, the cursor and the keys; at most one tap or typed key
