// Start-up timing: with MURKO_TIME_FIRST_FRAME set, the first frame shown prints how long it took.
#include "platform/first_frame.h"

#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

static bool FirstFrameNoted = false;  // the first frame has been shown (and timed)

// Seconds on a clock, as a double.
static double ClockSeconds(clockid_t clock) {
    timespec now;
    clock_gettime(clock, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// Seconds since boot at which the kernel started this process (field 22 of /proc/self/stat, in
// clock ticks: 10 ms steps); -1 when unknown.
static double ProcessStartSeconds() {
    char text[1024] = {};
    FILE* f = fopen("/proc/self/stat", "r");
    if (!f) return -1;
    size_t n = fread(text, 1, sizeof text - 1, f);
    fclose(f);
    text[n] = 0;
    const char* p = strrchr(text, ')');  // the name before it may hold spaces
    for (int field = 2; p && field < 22; field++) p = strchr(p + 1, ' ');
    return p ? double(strtoull(p + 1, nullptr, 10)) / double(sysconf(_SC_CLK_TCK)) : -1;
}

// Milliseconds since the start: since the launch instant the variable holds, when it holds one
// (nanoseconds of the real-time clock, as `date +%s%N` prints just before the start), else since
// the kernel started the process.
static double MsSinceStart(const char* launch) {
    char* end = nullptr;
    double launchNs = strtod(launch, &end);
    if (end != launch && *end == 0 && launchNs > 1e18)
        return (ClockSeconds(CLOCK_REALTIME) - launchNs * 1e-9) * 1e3;
    double start = ProcessStartSeconds();
    return start < 0 ? -1 : (ClockSeconds(CLOCK_BOOTTIME) - start) * 1e3;
}

void NoteFrameShown() {
    if (FirstFrameNoted) return;
    FirstFrameNoted = true;
    const char* launch = getenv("MURKO_TIME_FIRST_FRAME");
    if (launch) fprintf(stderr, "murko: first frame shown after %.1f ms\n", MsSinceStart(launch));
}
