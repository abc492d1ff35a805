// Single instance: the lock and the socket, in a folder of the test's own.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/instance.h"

namespace {

struct TempFolder {
    std::string path;  // with trailing '/'
    TempFolder() {
        char name[] = "/tmp/murko-instance-XXXXXX";
        path = std::string(mkdtemp(name)) + "/";
    }
    ~TempFolder() { std::filesystem::remove_all(path); }
};

// Runs body in a child process and returns its exit status.
template <typename Body>
int InChild(Body body) {
    pid_t pid = fork();
    if (pid == 0) _exit(body());
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

TEST(Instance, SecondClaimFailsAndAsksTheFirstToShow) {
    TempFolder dir;
    InstanceGuard first, second;
    ASSERT_TRUE(InstanceClaim(&first, dir.path.c_str()));
    EXPECT_FALSE(InstanceTakeRaise(&first)) << "nobody asked yet";
    EXPECT_FALSE(InstanceClaim(&second, dir.path.c_str()));
    EXPECT_EQ(second.lockFd, -1);
    EXPECT_TRUE(InstanceTakeRaise(&first));
    EXPECT_FALSE(InstanceTakeRaise(&first)) << "one request, one raise";
    EXPECT_FALSE(InstanceClaim(&second, dir.path.c_str()));
    EXPECT_FALSE(InstanceClaim(&second, dir.path.c_str()));
    EXPECT_TRUE(InstanceTakeRaise(&first)) << "two requests between looks still raise";
    InstanceRelease(&first);
    EXPECT_TRUE(InstanceClaim(&second, dir.path.c_str())) << "free again once the first has ended";
    InstanceRelease(&second);
}

TEST(Instance, OtherProcessesAreTurnedAwayAndHeard) {
    TempFolder dir;
    InstanceGuard guard;
    ASSERT_TRUE(InstanceClaim(&guard, dir.path.c_str()));
    int status = InChild([&] {
        InstanceGuard other;
        return InstanceClaim(&other, dir.path.c_str()) ? 1 : 0;
    });
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(InstanceTakeRaise(&guard));
    InstanceRelease(&guard);
}

TEST(Instance, AGameThatDiedLeavesNoLockBehind) {
    TempFolder dir;
    // The child claims and dies without releasing: its socket file stays, its lock goes with it.
    int status = InChild([&] {
        InstanceGuard dying;
        return InstanceClaim(&dying, dir.path.c_str()) ? 0 : 1;
    });
    ASSERT_EQ(status, 0);
    InstanceGuard guard, later;
    ASSERT_TRUE(InstanceClaim(&guard, dir.path.c_str()));
    ASSERT_GE(guard.listenFd, 0) << "the stale socket file was replaced";
    EXPECT_FALSE(InstanceClaim(&later, dir.path.c_str()));
    EXPECT_TRUE(InstanceTakeRaise(&guard));
    InstanceRelease(&guard);
    EXPECT_FALSE(std::filesystem::exists(guard.socketPath));
}

TEST(Instance, AnUnusableFolderDoesNotStopTheGame) {
    TempFolder dir;
    const std::string missing = dir.path + "no/such/folder/";
    const std::string tooLong = dir.path + std::string(300, 'x') + "/";
    for (const std::string& folder : {missing, tooLong}) {
        InstanceGuard a, b;
        EXPECT_TRUE(InstanceClaim(&a, folder.c_str())) << folder;
        EXPECT_TRUE(InstanceClaim(&b, folder.c_str())) << folder;
        EXPECT_FALSE(InstanceTakeRaise(&a));
        InstanceRelease(&a);
        InstanceRelease(&b);
    }
}

TEST(Instance, ASocketPathTooLongStillGuards) {
    // Lock path fits, socket address does not (sockaddr_un holds 108 bytes): the lock alone guards.
    TempFolder dir;
    std::string deep = dir.path + std::string(100, 'd') + "/";
    std::filesystem::create_directories(deep);
    InstanceGuard a, b;
    ASSERT_TRUE(InstanceClaim(&a, deep.c_str()));
    EXPECT_EQ(a.listenFd, -1);
    EXPECT_FALSE(InstanceClaim(&b, deep.c_str()));
    InstanceRelease(&a);
}
