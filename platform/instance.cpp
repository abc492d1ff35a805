// Single instance: a lock file and a local socket in the user's runtime folder.
#include "platform/instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/host.h"

constexpr char RaiseMessage = 'R';     // the one byte a later start sends
constexpr int ConnectTries = 40;       // attempts to reach a game that is still starting up
constexpr int ConnectPauseUs = 25000;  // between attempts (a second in all)

InstanceGuard TheInstance = {-1, -1, ""};  // this process's lock and socket

// Names carry the user id, so users sharing a fallback folder such as /tmp never meet.
static bool BuildPath(char* out, size_t size, const char* folder, const char* name) {
    int n = snprintf(out, size, "%smurko-%u.%s", folder, unsigned(getuid()), name);
    return n > 0 && size_t(n) < size;
}

static bool FillAddress(sockaddr_un* address, const char* path) {
    *address = sockaddr_un{};
    address->sun_family = AF_UNIX;
    if (strlen(path) >= sizeof address->sun_path) return false;
    strcpy(address->sun_path, path);
    return true;
}

// Opens the listening socket once the lock is ours; a socket file left by a crashed game goes
// first.
static void Listen(InstanceGuard* guard) {
    sockaddr_un address;
    if (!FillAddress(&address, guard->socketPath)) {
        fprintf(stderr, "murko: runtime folder path too long for the instance socket\n");
        return;
    }
    unlink(guard->socketPath);
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return;
    if (bind(fd, (sockaddr*)&address, sizeof address) != 0 || listen(fd, 8) != 0) {
        fprintf(stderr, "murko: cannot listen on %s: %s\n", guard->socketPath, strerror(errno));
        close(fd);
        return;
    }
    guard->listenFd = fd;
}

// Asks the running game to show its window; it may still be starting, so try for a while.
static void AskToRaise(const char* socketPath) {
    sockaddr_un address;
    if (!FillAddress(&address, socketPath)) return;
    for (int i = 0; i < ConnectTries; i++) {
        int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return;
        // Being accepted is the request; the byte is a courtesy and may meet a closed socket.
        bool reached = connect(fd, (sockaddr*)&address, sizeof address) == 0;
        if (reached) (void)!send(fd, &RaiseMessage, 1, MSG_NOSIGNAL);
        close(fd);
        if (reached) return;
        usleep(ConnectPauseUs);
    }
    fprintf(stderr, "murko: another game is running but does not answer\n");
}

bool InstanceClaim(InstanceGuard* guard, const char* folder) {
    *guard = InstanceGuard{-1, -1, ""};
    char lockPath[InstancePathSize];
    if (!BuildPath(lockPath, sizeof lockPath, folder, "lock") ||
        !BuildPath(guard->socketPath, sizeof guard->socketPath, folder, "socket")) {
        fprintf(stderr,
                "murko: runtime folder path too long, not guarding against a second game\n");
        guard->socketPath[0] = 0;
        return true;
    }
    int fd = open(lockPath, O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        fprintf(stderr, "murko: cannot open %s (%s), not guarding against a second game\n",
                lockPath, strerror(errno));
        guard->socketPath[0] = 0;
        return true;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        AskToRaise(guard->socketPath);
        guard->socketPath[0] = 0;
        return false;
    }
    guard->lockFd = fd;
    Listen(guard);
    return true;
}

bool InstanceTakeRaise(InstanceGuard* guard) {
    if (guard->listenFd < 0) return false;
    bool raise = false;
    for (;;) {
        int fd = accept4(guard->listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) break;
        close(fd);
        raise = true;
    }
    return raise;
}

void InstanceRelease(InstanceGuard* guard) {
    if (guard->listenFd >= 0) {
        close(guard->listenFd);
        unlink(guard->socketPath);
    }
    if (guard->lockFd >= 0) close(guard->lockFd);  // closing drops the lock
    *guard = InstanceGuard{-1, -1, ""};
}

bool HostClaimSingleInstance() { return InstanceClaim(&TheInstance, HostRuntimeFolder().c_str()); }
