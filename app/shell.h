// The shell every host drives: start-up, one pass of the frame loop at a time, shut-down.
//
// A desktop host loops:   code = GameStart(...); if (code < 0) { while (GameStep()) GameRest();
//                         code = GameStop(); }
// A host that owns the loop (a browser) calls GameStep from its own frame callback instead.
#pragma once

#include <cstdint>

struct HostBackend;

// Options, single instance, host, data folders, sound, pictures, scores and the first level, or
// the run a suspend file holds (paused, in a window). windowBackend serves unless --headless is
// given. -1 when the run goes on, else the exit code.
int GameStart(int argc, char** argv, const HostBackend* windowBackend);

// One pass of the loop: lets the sound mix, and starts a frame when more than 30 ms have passed
// since the last one began. False once the run is over (the quit flag or --frames seen at a frame
// start); nothing is drawn in that pass.
bool GameStep();

uint32_t GameRestMs();  // how long the loop may rest before its next pass is worth making
void GameRest();        // rests that long on the host (a pass that is due rests not at all)

// A run in progress (in the game or on the level-complete screen) is put away in its suspend
// file, to be taken up at the next start; GameStop does it too. A browser calls it whenever the
// page may be dropped (hidden, or unloaded).
void GameSuspend();

// After the last pass: the state dump and the screenshot, sound and pictures released, the
// recording closed, the host closed. The exit code.
int GameStop();
