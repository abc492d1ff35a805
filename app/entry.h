// The program's entry: options, single instance, host, main loop, shut-down.
#pragma once

int MurkoMain(int argc, char** argv);  // the whole program; returns the exit code
void FinishRun();                      // after the last frame: the state dump and the screenshot
