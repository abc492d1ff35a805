// Opening a file to read without trusting the file system: never blocking, never a FIFO or a
// device, never through a link that someone else laid.
#include "core/read_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

constexpr int ReadFlags = O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;  // a FIFO opens at once

// The player's own links are followed (a data folder of links, settings kept in another folder);
// another user's link in a shared folder is not.
static int OpenThroughOwnLink(const char* path) {
    struct stat link;
    if (lstat(path, &link) != 0) return -1;
    if (!S_ISLNK(link.st_mode) || link.st_uid != geteuid()) {
        errno = S_ISLNK(link.st_mode) ? ForeignLink : ELOOP;
        return -1;
    }
    return open(path, ReadFlags);
}

FILE* OpenForReading(const char* path) {
    int fd = open(path, ReadFlags | O_NOFOLLOW);
    if (fd < 0 && errno == ELOOP) fd = OpenThroughOwnLink(path);
    if (fd < 0) return nullptr;
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        errno = NotRegularFile;
        return nullptr;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    FILE* file = fdopen(fd, "rb");
    if (!file) {
        int saved = errno;
        close(fd);
        errno = saved;
    }
    return file;
}

const char* ReadFailure(int err) {
    if (err == NotRegularFile) return "not a regular file";
    if (err == ForeignLink) return "a link laid by another user";
    return strerror(err);
}
