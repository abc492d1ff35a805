// The frame timer: the tick at which the current frame began, read against the host's clock.
#include "app/frame_timer.h"

#include "core/globals.h"
#include "platform/host.h"

uint32_t StartFrameTimer() {
    G.FrameStartTick = HostTicks();
    return G.FrameStartTick;
}

int32_t FrameElapsedMs() { return int32_t(HostTicks() - G.FrameStartTick); }
