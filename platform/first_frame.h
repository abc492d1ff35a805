// Start-up timing: how long the program took to show its first frame, on request.
#pragma once

// Called after every frame shown; with MURKO_TIME_FIRST_FRAME set, the first call prints on stderr
// "murko: first frame shown after N ms".
void NoteFrameShown();
