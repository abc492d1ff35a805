// Single instance: the lock and the socket, in a folder of the test's own.
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>

#include <cstring>

#include "platform/host.h"
#include "platform/instance.h"
#include "tests/test_support.h"

namespace {

// Claims the folder in another process, which then exits without releasing: 0 if the claim won,
// 1 if it was refused, -1 if it did not end within 10 s.
int ClaimInChild(const std::string& folder) {
    pid_t pid = fork();
    if (pid == 0) {
        alarm(10);
        InstanceGuard guard;
        _exit(InstanceClaim(&guard, folder.c_str()) ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

TEST(Instance, OneGameHoldsTheFolderAndLaterStartsAskItToShow) {
    const TestFolder t("instance");
    const std::string dir = t.path.string() + "/";
    const char* folder = dir.c_str();
    ASSERT_EQ(ClaimInChild(dir), 0) << "a game that dies holding the lock and leaving its socket";
    InstanceGuard first, second;
    mode_t umaskBefore = umask(0);
    ASSERT_TRUE(InstanceClaim(&first, folder)) << "the dead game's lock went with it";
    umask(umaskBefore);
    ASSERT_GE(first.listenFd, 0) << "its stale socket file was replaced";
    EXPECT_EQ(fs::status(first.socketPath).permissions() & fs::perms(077), fs::perms::none)
        << "no other user may connect, whatever the umask";
    EXPECT_FALSE(InstanceTakeRaise(&first)) << "nobody asked yet";
    EXPECT_EQ(ClaimInChild(dir), 1);
    EXPECT_TRUE(InstanceTakeRaise(&first));
    EXPECT_FALSE(InstanceTakeRaise(&first)) << "one request, one raise";
    EXPECT_FALSE(InstanceClaim(&second, folder));
    EXPECT_EQ(second.lockFd, -1) << "a refused claim holds nothing";
    EXPECT_TRUE(InstanceTakeRaise(&first)) << "two requests between looks still raise";
    EXPECT_FALSE(InstanceTakeRaise(&first)) << "and one look takes both";
    const std::string socket = first.socketPath;
    InstanceRelease(&first);
    EXPECT_FALSE(fs::exists(socket));
    EXPECT_TRUE(InstanceClaim(&second, folder)) << "free again once the first has ended";
    InstanceRelease(&second);
}

TEST(Instance, AnUnusableFolderLetsTheGameRunUnguarded) {
    const TestFolder t("instance");
    const std::string dir = t.path.string() + "/";
    for (const std::string& folder :
         {std::string(), dir + "no/such/folder/", dir + std::string(300, 'x') + "/"}) {
        InstanceGuard a, b;
        EXPECT_TRUE(InstanceClaim(&a, folder.c_str())) << folder;
        EXPECT_TRUE(InstanceClaim(&b, folder.c_str())) << folder;
        EXPECT_FALSE(InstanceTakeRaise(&a));
    }
    // The lock path fits but the socket address (108 bytes at most) does not: the lock alone
    // guards.
    const std::string deep = dir + std::string(100, 'd') + "/";
    fs::create_directories(deep);
    InstanceGuard a, b;
    EXPECT_TRUE(InstanceClaim(&a, deep.c_str()));
    EXPECT_EQ(a.listenFd, -1);
    EXPECT_FALSE(InstanceClaim(&b, deep.c_str()));
    InstanceRelease(&a);
    // A link laid at the lock's name is not followed: nothing is made where it points.
    fs::create_symlink(dir + "target", dir + "murko-" + std::to_string(getuid()) + ".lock");
    EXPECT_TRUE(InstanceClaim(&a, dir.c_str()));
    EXPECT_FALSE(fs::exists(dir + "target"));
}

// The lock and the socket live only in a folder no other user can enter or lay files in.
TEST(Instance, OnlyAPrivateFolderHoldsTheLock) {
    const TestFolder t("instance");  // mode 0700
    const std::string dir = t.path.string() + "/";
    const std::string runtime = dir.substr(0, dir.size() - 1);
    const std::string own = dir + "murko-" + std::to_string(geteuid());
    fs::create_directory(dir + "open");
    fs::permissions(dir + "open", fs::perms(0701));
    setenv("TMPDIR", runtime.c_str(), 1);
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    EXPECT_EQ(HostRuntimeFolder(), dir);
    setenv("XDG_RUNTIME_DIR", (dir + "open").c_str(), 1);
    EXPECT_EQ(HostRuntimeFolder(), own + "/") << "a folder others may enter: one of our own";
    fs::permissions(own, fs::perms::all);
    EXPECT_EQ(HostRuntimeFolder(), "") << "our own folder opened to all: no folder";
    fs::remove(own);
    fs::create_directory_symlink(runtime, own);
    EXPECT_EQ(HostRuntimeFolder(), "") << "a link at our own folder's name: no folder";
    unsetenv("TMPDIR");
    unsetenv("XDG_RUNTIME_DIR");
}

// A game that no longer takes connections (frozen, or its socket kept by a stray process) is
// given up on instead of holding the later start for ever.
TEST(Instance, AGameWithAFullQueueDoesNotHoldTheNextStart) {
    const TestFolder t("instance");
    const std::string dir = t.path.string() + "/";
    InstanceGuard first;
    ASSERT_TRUE(InstanceClaim(&first, dir.c_str()));
    sockaddr_un address = {AF_UNIX, {}};
    strcpy(address.sun_path, first.socketPath);
    std::vector<int> queued;
    for (int fd; (fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0)) >= 0;) {
        queued.push_back(fd);
        if (connect(fd, (sockaddr*)&address, sizeof address) != 0) break;
    }
    EXPECT_EQ(ClaimInChild(dir), 1);
    for (int fd : queued) close(fd);
    InstanceRelease(&first);
}
