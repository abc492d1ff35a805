// Pause: while the player looks away no frame runs, and the window shows the last one dimmed.
#pragma once

void AllowPause(bool allowed);  // windowed runs may pause once started; headless runs never do
bool PauseAllowed();
bool GamePaused();
void PauseGame();         // holds the music and shows the dimmed picture with "PAUSED"
void ResumeGame();        // the music goes on, the game's picture is back, the frame gate afresh
void ShowPauseOverlay();  // draws the paused picture again (the speaker corner changed)
