// Forwards the host functions to the chosen backend.
#include "platform/host.h"
#include "platform/first_frame.h"

#include <sys/stat.h>
#include <unistd.h>
#include <climits>
#include <cstdlib>

static const HostBackend* Active = nullptr;  // the backend chosen at start-up

void HostUse(const HostBackend* backend) { Active = backend; }
bool HostOpen(const HostConfig& config) { return Active->open(config); }
void HostClose() { Active->close(); }
uint32_t HostTicks() { return Active->ticks(); }
uint32_t HostSeedTicks() { return Active->seedTicks(); }
void HostIdle(uint32_t msUntilDue) { Active->idle(msUntilDue); }
bool HostPollEvent(HostEvent* event) { return Active->pollEvent(event); }
HostDisplayProperties HostGetDisplayProperties() { return Active->displayProperties(); }
uint8_t* HostBeginDraw() { return Active->beginDraw(); }
void HostEndDraw() {
    Active->endDraw();
    NoteFrameShown();
}

void HostSetOverlay(bool on) {
    if (Active->overlay) Active->overlay(on);
}

void HostGetDefaultKeys(int16_t codes[8]) {
    static const int16_t keys[8] = {HostKeyUp, HostKeyDown, HostKeyLeft, HostKeyRight,
                                    HostKeyA,  HostKeyB,    HostKeyC,    HostKeyStart};
    for (int i = 0; i < 8; i++) codes[i] = keys[i];
}

std::string HostExecutableFolder() {
    char path[PATH_MAX + 1];
    ssize_t n = readlink("/proc/self/exe", path, PATH_MAX);
    if (n <= 0) return "./";
    path[n] = 0;
    std::string full(path);
    size_t slash = full.rfind('/');
    return slash == std::string::npos ? std::string("./") : full.substr(0, slash + 1);
}

// A folder no other user can enter or lay anything in: ours, no link, mode 0700.
static bool IsPrivateFolder(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    struct stat info;
    return lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == geteuid() &&
           (info.st_mode & 077) == 0;
}

std::string HostRuntimeFolder() {
    const char* dir = getenv("XDG_RUNTIME_DIR");
    if (dir && dir[0] == '/' && IsPrivateFolder(dir)) return std::string(dir) + "/";
    const char* temp = getenv("TMPDIR");
    std::string own =
        std::string(temp && temp[0] == '/' ? temp : "/tmp") + "/murko-" + std::to_string(geteuid());
    mkdir(own.c_str(), 0700);
    return IsPrivateFolder(own) ? own + "/" : "";
}
