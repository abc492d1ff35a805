// The command line, read into Options after the settings file.
#pragma once

#include "app/launch_options.h"

// Parses argv into Options. Returns -1 to go on, else the exit code (0 after --help/--version,
// 2 after a usage error, which is reported on stderr).
int ParseOptions(int argc, char** argv);
