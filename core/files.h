// Files the game reads and saves, so that nothing on the file system can hang or fool it (a FIFO,
// a device, a folder or another user's symbolic link counts as a file that cannot be read) and
// nothing the player saved is ever torn.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdio>
#include <string>

constexpr int NotRegularFile = 0x10001;  // errno of a path naming a FIFO, a device or a folder
constexpr int ForeignLink = 0x10002;     // errno of a symbolic link that another user owns

// Opens path for reading ("rb") without ever blocking: it must be a regular file, reached
// through no symbolic link but one of the player's own. Else nullptr with errno set: the open's
// own error, NotRegularFile or ForeignLink.
FILE* OpenForReading(const char* path);

const char* ReadFailure(int err);  // a failed OpenForReading's errno, in words

// Saves bytes to path so that no crash, kill or full disk ever leaves a torn file: a temporary
// "NAME.PID.tmp" beside it (beside the file a link of the player's own names, so the link stays),
// with the old file's mode, flushed to the disk and renamed over it; missing folders are made
// (0700) and the temporary files of killed saves are cleared away. nullptr on success, else
// the step that failed ("create the folder for", "write", "replace") with errno set.
const char* SaveFileSafely(const std::string& path, const void* bytes, size_t size);

extern ssize_t (*SaveFileWrite)(int fd, const void* bytes,
                                size_t count);  // its write (tests fail it)
