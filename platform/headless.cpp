// Headless backend: no window; a virtual clock that jumps to the next frame, events from a queue.
#include "platform/headless.h"

#include "platform/panel.h"

constexpr int QueueSize = 256;  // events that can wait for one pump

static uint32_t VirtualMs = 0;      // the virtual millisecond clock
static HostEvent Queue[QueueSize];  // waiting events, oldest first
static int QueueHead = 0, QueueCount = 0;

void HeadlessSetTicks(uint32_t ms) { VirtualMs = ms; }
void HeadlessAdvance(uint32_t ms) { VirtualMs += ms; }

void HeadlessPushEvent(const HostEvent& e) {
    if (QueueCount == QueueSize) return;
    Queue[(QueueHead + QueueCount++) % QueueSize] = e;
}

static bool Open(const HostConfig& config) {
    PanelCreate(config.display);
    QueueHead = QueueCount = 0;
    return true;
}

static void Close() {}
static uint32_t Ticks() { return VirtualMs; }
static void Idle(uint32_t msUntilDue) { VirtualMs += msUntilDue ? msUntilDue : 1; }

static bool PollEvent(HostEvent* event) {
    if (QueueCount == 0) return false;
    *event = Queue[QueueHead];
    QueueHead = (QueueHead + 1) % QueueSize;
    QueueCount--;
    return true;
}

static uint8_t* BeginDraw() { return PanelAddress(); }
static void EndDraw() {}

const HostBackend* HeadlessBackend() {
    static const HostBackend backend = {
        Open, Close, Ticks, Idle, PollEvent, PanelProperties, BeginDraw, EndDraw, Ticks, nullptr};
    return &backend;
}
