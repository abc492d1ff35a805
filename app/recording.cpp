// --record: a temporary file beside the recording's name, renamed over it when the run ends.
#include "app/recording.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/input_events.h"
#include "app/options.h"
#include "app/script.h"
#include "app/suspend.h"
#include "core/globals.h"
#include "platform/host.h"

static FILE* RecordFile = nullptr;  // --record: the recording being written
static std::string RecordTemp;      // its temporary name until the run ends; "" when written direct

// True when path names the script or recording this run plays (the same file by any name).
static bool IsPlayedFile(const std::string& path) {
    const std::string& played = Options.playFile.empty() ? Options.inputFile : Options.playFile;
    struct stat a, b;
    if (played.empty()) return false;
    if (played == path) return true;
    return stat(played.c_str(), &a) == 0 && stat(path.c_str(), &b) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
}

// A device or a FIFO (--record /dev/stdout) has nothing to lose: it is written straight.
static bool IsStream(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode);
}

static FILE* CreateTemp(const std::string& path) {
    RecordTemp = path + "." + std::to_string(getpid()) + ".tmp";
    unlink(RecordTemp.c_str());  // left by a killed run of the same process id
    int fd = open(RecordTemp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    FILE* file = fd < 0 ? nullptr : fdopen(fd, "w");
    if (!file && fd >= 0) close(fd);
    if (!file) RecordTemp.clear();
    return file;
}

bool OpenRecording() {
    const std::string& path = Options.recordFile;
    if (path.empty()) return true;
    if (IsPlayedFile(path)) {
        fprintf(stderr, "murko: --record %s would overwrite the input being played\n",
                path.c_str());
        return false;
    }
    RecordFile = IsStream(path) ? fopen(path.c_str(), "we") : CreateTemp(path);
    if (!RecordFile) {
        fprintf(stderr, "murko: cannot create the recording %s: %s\n", path.c_str(),
                strerror(errno));
        return false;
    }
    return true;
}

// The recording starts with the seed the run really uses (the clock's, unless one was given),
// and the state of a run it resumes.
void StartRecording() {
    if (!RecordFile) return;
    if (!Options.haveSeed) {
        Options.haveSeed = true;
        Options.seed = HostSeedTicks();
    }
    WriteRecordingHeader(RecordFile, Options.seed);
    size_t resumed = 0;
    const uint8_t* bytes = PendingRunBytes(&resumed);
    if (resumed) WriteRecordingResume(RecordFile, bytes, resumed);
    RecordInputTo(RecordFile);
}

void FinishRecording() {
    if (!RecordFile) return;
    RecordInputTo(nullptr);
    fprintf(RecordFile, "# the run ended after %u frames\n", G.FrameCount);
    bool temp = !RecordTemp.empty();
    bool ok = fflush(RecordFile) == 0 && !ferror(RecordFile);
    ok = ok && (!temp || fsync(fileno(RecordFile)) == 0);
    ok = fclose(RecordFile) == 0 && ok;
    RecordFile = nullptr;
    if (ok && (!temp || rename(RecordTemp.c_str(), Options.recordFile.c_str()) == 0)) return;
    fprintf(stderr, "murko: cannot write the recording %s: %s\n", Options.recordFile.c_str(),
            strerror(errno));
    if (temp) unlink(RecordTemp.c_str());
}

void DropRecording() {
    if (!RecordFile) return;
    fclose(RecordFile);
    RecordFile = nullptr;
    if (!RecordTemp.empty()) unlink(RecordTemp.c_str());
}
