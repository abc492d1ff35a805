// Single instance: the lock and the socket, in a folder of the test's own.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <filesystem>
#include <string>

#include "platform/instance.h"

namespace {

struct TempFolder {
    char name[27] = "/tmp/murko-instance-XXXXXX";
    std::string path = std::string(mkdtemp(name)) + "/";  // with trailing '/'
    ~TempFolder() { std::filesystem::remove_all(path); }
};

// Claims the folder in another process, which then exits without releasing; true if the claim won.
bool ClaimInChild(const std::string& folder) {
    pid_t pid = fork();
    if (pid == 0) {
        InstanceGuard guard;
        _exit(InstanceClaim(&guard, folder.c_str()) ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

TEST(Instance, OneGameHoldsTheFolderAndLaterStartsAskItToShow) {
    TempFolder dir;
    const char* folder = dir.path.c_str();
    ASSERT_TRUE(ClaimInChild(dir.path))
        << "a game that dies holding the lock and leaving its socket";
    InstanceGuard first, second;
    ASSERT_TRUE(InstanceClaim(&first, folder)) << "the dead game's lock went with it";
    ASSERT_GE(first.listenFd, 0) << "its stale socket file was replaced";
    EXPECT_FALSE(InstanceTakeRaise(&first)) << "nobody asked yet";
    EXPECT_FALSE(ClaimInChild(dir.path));
    EXPECT_TRUE(InstanceTakeRaise(&first));
    EXPECT_FALSE(InstanceTakeRaise(&first)) << "one request, one raise";
    EXPECT_FALSE(InstanceClaim(&second, folder));
    EXPECT_EQ(second.lockFd, -1) << "a refused claim holds nothing";
    EXPECT_TRUE(InstanceTakeRaise(&first)) << "two requests between looks still raise";
    EXPECT_FALSE(InstanceTakeRaise(&first)) << "and one look takes both";
    const std::string socket = first.socketPath;
    InstanceRelease(&first);
    EXPECT_FALSE(std::filesystem::exists(socket));
    EXPECT_TRUE(InstanceClaim(&second, folder)) << "free again once the first has ended";
    InstanceRelease(&second);
}

TEST(Instance, AnUnusableFolderLetsTheGameRunUnguarded) {
    TempFolder dir;
    for (const std::string& folder :
         {dir.path + "no/such/folder/", dir.path + std::string(300, 'x') + "/"}) {
        InstanceGuard a, b;
        EXPECT_TRUE(InstanceClaim(&a, folder.c_str())) << folder;
        EXPECT_TRUE(InstanceClaim(&b, folder.c_str())) << folder;
        EXPECT_FALSE(InstanceTakeRaise(&a));
    }
    // The lock path fits but the socket address (108 bytes at most) does not: the lock alone
    // guards.
    const std::string deep = dir.path + std::string(100, 'd') + "/";
    std::filesystem::create_directories(deep);
    InstanceGuard a, b;
    EXPECT_TRUE(InstanceClaim(&a, deep.c_str()));
    EXPECT_EQ(a.listenFd, -1);
    EXPECT_FALSE(InstanceClaim(&b, deep.c_str()));
    InstanceRelease(&a);
}
