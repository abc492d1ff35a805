// The player's settings file, murko.conf: one "name = value" a line, '#' comments. Every setting
// is also an option of the command line, which is read after the file and so wins.
//
//     scale = 3                 window scale 1..16
//     fullscreen = yes          yes or no (also true/false, on/off, 1/0)
//     display = gray4           emulated panel, as --display
//     mute = no                 start with sound off
//     gamepad = yes             gamepads press the buttons
//     key-a = Space, Left Ctrl  up to four keys of a button (key-up, key-down, key-left, key-right,
//     key-a)
#pragma once

#include <cstdio>
#include <string>

struct LaunchOptions;

// $XDG_CONFIG_HOME/murko/murko.conf, else $HOME/.config/murko/murko.conf; "" without either.
std::string DefaultConfigPath();

// Applies one setting; false with *why set when the name is unknown or the value bad.
bool ApplySetting(const char* name, const char* value, LaunchOptions* options, const char** why);

// Reads settings from f into options. A bad or unknown line is told on stderr as "murko: NAME:LINE:
// what is wrong" and skipped. Returns the number of lines skipped.
int ReadConfig(FILE* f, const char* name, LaunchOptions* options);

// Reads the file at path; a missing file is told only when required (a --config FILE). Never fails
// the start: returns the number of lines skipped, or -1 when the file could not be read.
int LoadConfigFile(const std::string& path, bool required, LaunchOptions* options);
