// The headless backend's controls, for tests and tools: the virtual clock and queued events.
#pragma once

#include <cstdint>

#include "platform/host.h"

void HeadlessSetTicks(uint32_t ms);          // sets the virtual clock
void HeadlessAdvance(uint32_t ms);           // moves the virtual clock on
void HeadlessPushEvent(const HostEvent& e);  // queues an input event for the next pump
