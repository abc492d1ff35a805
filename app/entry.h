// The program's entry: options, single instance, host, main loop, shut-down.
#pragma once

struct HostBackend;

// The whole program, with the backend used for a window; returns the exit code.
int MurkoMain(int argc, char** argv, const HostBackend* windowBackend);
void FinishRun();  // after the last frame: the state dump and the screenshot
