// Single instance: a lock file and a local socket in the user's runtime folder. The first windowed
// game holds the lock and listens; a later start finds the lock taken, asks the first to show its
// window, and leaves.
#pragma once

constexpr int InstancePathSize = 256;  // longest lock or socket path kept

struct InstanceGuard {
    int lockFd;                         // the held lock file, -1 when none
    int listenFd;                       // the listening socket, -1 when none
    char socketPath[InstancePathSize];  // where the socket lives, to remove it at the end
};

// Takes the lock in folder (with trailing '/'). True: this is the only game (or the folder cannot
// be used, which is reported once on stderr). False: another game holds it and was asked to show.
bool InstanceClaim(InstanceGuard* guard, const char* folder);

// True once for every later start that asked this game to show its window since the last call.
bool InstanceTakeRaise(InstanceGuard* guard);

void InstanceRelease(InstanceGuard* guard);  // gives up the lock and removes the socket

extern InstanceGuard TheInstance;  // this process's guard, used by HostClaimSingleInstance
