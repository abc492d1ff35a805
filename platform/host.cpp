// Forwards the host functions to the chosen backend.
#include "platform/host.h"
#include "platform/first_frame.h"

#include <unistd.h>
#include <climits>
#include <cstdlib>
#include <cstring>

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

static const char* const RendererNames[] = {"software", "opengl", "opengles2"};  // enum order

bool HostParseRenderer(const char* name, HostRenderer* renderer) {
    for (int i = 0; i < 3; i++)
        if (!strcmp(name, RendererNames[i])) {
            *renderer = HostRenderer(i);
            return true;
        }
    return false;
}

const char* HostRendererName(HostRenderer renderer) { return RendererNames[renderer]; }

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

std::string HostRuntimeFolder() {
    const char* dir = getenv("XDG_RUNTIME_DIR");
    if (dir && *dir) return std::string(dir) + "/";
    return "/tmp/";
}
