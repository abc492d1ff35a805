// Single instance: a lock file and a local socket in the user's private runtime folder.
#include "platform/instance.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
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
// first. Only this user may connect to it, whatever the umask.
static void Listen(InstanceGuard* guard) {
    sockaddr_un address;
    if (!FillAddress(&address, guard->socketPath)) {
        fprintf(stderr, "murko: runtime folder path too long for the instance socket\n");
        return;
    }
    unlink(guard->socketPath);
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return;
    mode_t umaskBefore = umask(077);
    bool bound = bind(fd, (sockaddr*)&address, sizeof address) == 0;
    umask(umaskBefore);
    if (!bound || listen(fd, 8) != 0) {
        fprintf(stderr, "murko: cannot listen on %s: %s\n", guard->socketPath, strerror(errno));
        close(fd);
        return;
    }
    guard->listenFd = fd;
}

// One try without waiting: a game whose queue is full (frozen, or gone and its socket held by
// a stray process) counts as not answering instead of holding this start for ever.
static bool TryToReach(const sockaddr_un& address) {
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    bool reached = connect(fd, (const sockaddr*)&address, sizeof address) == 0;
    // Being accepted is the request; the byte is a courtesy and may meet a closed socket.
    if (reached) (void)!send(fd, &RaiseMessage, 1, MSG_NOSIGNAL);
    close(fd);
    return reached;
}

// Asks the running game to show its window; it may still be starting, so try for a while.
static void AskToRaise(const char* socketPath) {
    sockaddr_un address;
    if (!FillAddress(&address, socketPath)) return;
    for (int i = 0; i < ConnectTries; i++) {
        if (TryToReach(address)) return;
        usleep(ConnectPauseUs);
    }
    fprintf(stderr, "murko: another game is running but does not answer\n");
}

// The lock file, never through a link and only when it is a plain file of this user's.
static int OpenLock(const char* lockPath) {
    int fd = open(lockPath, O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0) return -1;
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != geteuid()) {
        close(fd);
        errno = EPERM;  // not ours to trust
        return -1;
    }
    return fd;
}

// The game runs on without the guard, after one line that says why.
static bool RunUnguarded(InstanceGuard* guard, const char* why, const char* path = "",
                         int err = 0) {
    fprintf(stderr, "murko: %s%s%s%s, not guarding against a second game\n", why, path,
            err ? ": " : "", err ? strerror(err) : "");
    guard->socketPath[0] = 0;
    return true;
}

bool InstanceClaim(InstanceGuard* guard, const char* folder) {
    *guard = InstanceGuard{-1, -1, ""};
    char lockPath[InstancePathSize];
    if (!*folder) return RunUnguarded(guard, "no private runtime folder");
    if (!BuildPath(lockPath, sizeof lockPath, folder, "lock") ||
        !BuildPath(guard->socketPath, sizeof guard->socketPath, folder, "socket"))
        return RunUnguarded(guard, "runtime folder path too long");
    int fd = OpenLock(lockPath);
    bool taken = fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) == 0;
    if (!taken) {
        int why = errno;
        if (fd >= 0) close(fd);
        if (fd < 0 || why != EWOULDBLOCK) return RunUnguarded(guard, "cannot lock ", lockPath, why);
        AskToRaise(guard->socketPath);
        guard->socketPath[0] = 0;
        return false;
    }
    guard->lockFd = fd;
    Listen(guard);
    return true;
}

// True when the connection comes from this user.
static bool FromThisUser(int fd) {
    ucred peer = {};
    socklen_t size = sizeof peer;
    return getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == geteuid();
}

bool InstanceTakeRaise(InstanceGuard* guard) {
    if (guard->listenFd < 0) return false;
    bool raise = false;
    for (;;) {
        int fd = accept4(guard->listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) break;
        if (FromThisUser(fd)) raise = true;
        close(fd);
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

// The lock goes when the last holder closes it, so a child must not keep it: a child left behind
// by a killed game would otherwise keep every later start out.
void HostLeaveToParent(int parent) {
    if (TheInstance.listenFd >= 0) close(TheInstance.listenFd);
    if (TheInstance.lockFd >= 0) close(TheInstance.lockFd);
    TheInstance = InstanceGuard{-1, -1, ""};
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(1);  // the parent died before the line above
}
