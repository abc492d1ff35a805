// Files the game reads, opened so that nothing on the file system can hang or fool it: a FIFO,
// a device, a folder or another user's symbolic link counts as a file that cannot be read.
#pragma once

#include <cstdio>

constexpr int NotRegularFile = 0x10001;  // errno of a path naming a FIFO, a device or a folder
constexpr int ForeignLink = 0x10002;     // errno of a symbolic link that another user owns

// Opens path for reading ("rb") without ever blocking: it must be a regular file, reached
// through no symbolic link but one of the player's own. Else nullptr with errno set: the open's
// own error, NotRegularFile or ForeignLink.
FILE* OpenForReading(const char* path);

const char* ReadFailure(int err);  // a failed OpenForReading's errno, in words
