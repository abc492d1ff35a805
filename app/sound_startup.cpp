// Sound: the two music modules, the bark and the mute toggle, through libmikmod.
#include "app/sound_startup.h"

#include <fcntl.h>
#include <mikmod.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/frame_timer.h"
#include "app/options.h"
#include "core/files.h"
#include "core/globals.h"
#include "core/sound.h"
#include "platform/host.h"

constexpr int32_t InitRetryMs = 1000;  // how long a driver that will not start is tried again
constexpr uint32_t RetryRestMs = 100;  // rest between two tries, with the messages pumped meanwhile
constexpr int EffectVoices = 4;        // voices kept for the bark
constexpr int ModuleVoices = 4;        // our modules have four channels

// Drivers that need no device. Every other driver is first tried in a child process: a failed
// start may end the whole process (ALSA asserts on the device it never opened) and fills the
// terminal with the audio libraries' own error lines, which the child's closed stderr swallows.
static const char* const DevicelessDrivers[] = {"nosound", "wav", "raw", "aiff", "stdout", "pipe"};

// The driver to ask for: --audio names one by alias, optionally with its options after a ':'
// ("wav:file=out.wav"); otherwise the silent driver without a window, SDL with one.
static int ChooseDriver(std::string* driverOptions) {
    const char* fallback = Options.headless ? "nosound" : "sdl";
    std::string alias = Options.audioDriver;
    size_t colon = alias.find(':');
    if (colon != std::string::npos) {
        *driverOptions = alias.substr(colon + 1);
        alias.resize(colon);
    }
    if (alias.empty()) return MikMod_DriverFromAlias(fallback);
    int device = MikMod_DriverFromAlias(alias.c_str());
    if (device > 0) return device;
    fprintf(stderr, "murko: unknown audio driver '%s', using %s\n", alias.c_str(), fallback);
    driverOptions->clear();
    return MikMod_DriverFromAlias(fallback);
}

static void (*PumpWhileWaiting)() = nullptr;  // keeps the window answering between two tries

// Pumps the messages and rests until the next try is due (or the time is up).
static void RestBeforeRetry() {
    uint32_t start = HostTicks();
    do {
        PumpWhileWaiting();
        HostIdle(RetryRestMs);
    } while (HostTicks() - start < RetryRestMs && FrameElapsedMs() < InitRetryMs);
}

static bool DriverNeedsTrial() {
    for (const char* alias : DevicelessDrivers)
        if (md_device == MikMod_DriverFromAlias(alias)) return false;
    return true;
}

// Tries the driver in a child process; true when it started there, or when there are no
// processes to try it in.
static bool StartsInChild(const std::string& driverOptions) {
    fflush(stdout);
    fflush(stderr);
    pid_t parent = getpid();
    pid_t child = fork();
    if (child < 0) return errno == ENOSYS;  // no processes to try it in (a browser): tried here
    if (child == 0) {
        HostLeaveToParent(parent);
        int quiet = open("/dev/null", O_WRONLY);
        if (quiet >= 0) dup2(quiet, STDERR_FILENO);
        _exit(MikMod_Init(driverOptions.c_str()) == 0 ? 0 : 1);
    }
    int status = 0;
    pid_t done = 0;
    while ((done = waitpid(child, &status, WNOHANG)) == 0 && FrameElapsedMs() < InitRetryMs)
        HostIdle(1);
    if (done == 0) {  // stuck: give up on it
        kill(child, SIGKILL);
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) {}
        return false;
    }
    return done == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

static bool TryDriver(const std::string& driverOptions, bool trial) {
    if (trial && !StartsInChild(driverOptions)) return false;
    return MikMod_Init(driverOptions.c_str()) == 0;
}

// MikMod_Init, tried again for up to a second while it fails.
static bool StartDriver(const std::string& driverOptions) {
    bool trial = DriverNeedsTrial();
    while (!TryDriver(driverOptions, trial)) {
        if (FrameElapsedMs() >= InitRetryMs) return false;
        RestBeforeRetry();
    }
    return true;
}

// A driver that fails leaves the library unusable (loading a module would crash), so the
// silent driver takes over and the game carries on without sound.
static bool StartSilentDriver() {
    const char* why = MikMod_errno ? MikMod_strerror(MikMod_errno) : "it failed a trial start";
    fprintf(stderr, "murko: no audio output (%s), playing silent\n", why);
    md_device = MikMod_DriverFromAlias("nosound");
    return MikMod_Init("") == 0;
}

static uint32_t LittleEndian(const uint8_t* bytes) {
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | uint32_t(bytes[3]) << 24;
}

// The library loads a WAV whose data is cut short and later crashes mixing it, so the file's
// chunks are walked first: its "data" chunk must be there whole. Leaves the file at its start.
static bool WaveIsWhole(FILE* file) {
    uint8_t head[12];
    bool whole = false;
    if (fread(head, 1, 12, file) == 12 && !memcmp(head, "RIFF", 4) &&
        !memcmp(head + 8, "WAVE", 4)) {
        fseek(file, 0, SEEK_END);
        long size = ftell(file);
        long long at = 12;  // 64 bits: a chunk length near 2^32 must not wrap it backwards
        uint8_t chunk[8];
        while (!whole && at + 8 <= size && !fseek(file, at, SEEK_SET) &&
               fread(chunk, 1, 8, file) == 8) {
            long long length = LittleEndian(chunk + 4);
            if (!memcmp(chunk, "data", 4)) whole = length > 0 && at + 8 + length <= size;
            at += 8 + length + (length & 1);
        }
    }
    rewind(file);
    return whole;
}

// libmikmod opens by name with a plain fopen, which a FIFO would hang: it is handed the file.
static SAMPLE* LoadBark(const std::string& path) {
    FILE* file = OpenForReading(path.c_str());
    SAMPLE* bark = file && WaveIsWhole(file) ? Sample_LoadFP(file) : nullptr;
    if (file) fclose(file);
    if (!bark) {
        fprintf(stderr, "murko: %s is missing or damaged; the dog stays quiet\n", path.c_str());
        return nullptr;
    }
    bark->panning = PAN_CENTER;  // a WAV loads hard left
    return bark;
}

static MODULE* LoadMusic(const std::string& path) {
    FILE* file = OpenForReading(path.c_str());
    const char* why = file ? nullptr : ReadFailure(errno);
    MODULE* music = file ? Player_LoadFP(file, ModuleVoices, 0) : nullptr;
    if (file) fclose(file);
    if (music)
        music->wrap = 1;
    else
        fprintf(stderr, "murko: cannot load music %s (%s); that tune stays silent\n", path.c_str(),
                why ? why : MikMod_strerror(MikMod_errno));
    return music;
}

void InitSound(void (*pumpWhileWaiting)()) {
    PumpWhileWaiting = pumpWhileWaiting;
    MikMod_RegisterAllDrivers();
    MikMod_RegisterAllLoaders();
    std::string driverOptions;
    md_device = uint16_t(ChooseDriver(&driverOptions));
#ifdef __EMSCRIPTEN__
    // A browser's audio output takes float samples only, and SDL hands libmikmod's driver the
    // format it got instead of converting: the mixer must write floats there.
    md_mode |= DMODE_FLOAT;
#endif
    StartFrameTimer();
    SetSoundStarted(StartDriver(driverOptions) || StartSilentDriver());
    if (!SoundStarted()) return;
    MikMod_SetNumVoices(-1, EffectVoices);
    MikMod_EnableOutput();
    Player_Stop();
    G.MenuMusic = LoadMusic(G.SoundFolder + "music.mod");
    G.GameMusic = LoadMusic(G.SoundFolder + "music1.mod");
    G.BarkSample = LoadBark(G.SoundFolder + "bark.wav");
    if (G.MenuMusic) Player_Start(G.MenuMusic);
    // The volume acts on the playing module only, so it is set once the menu music runs;
    // SoundOn is not yet set here, so the start-up mute decides.
    Player_SetVolume(Options.mute ? 0 : MusicVolumeOn);
}

// Besides stopping and freeing the music, the bark is freed and the library closed: that lets
// the driver finish cleanly (the wav writer completes its header, SDL lets go of the device).
void ShutdownSound() {
    if (!SoundStarted()) return;
    Player_Stop();
    if (G.MenuMusic) Player_Free(G.MenuMusic);
    if (G.GameMusic) Player_Free(G.GameMusic);
    if (G.BarkSample) Sample_Free(G.BarkSample);
    G.MenuMusic = nullptr;
    G.GameMusic = nullptr;
    G.BarkSample = nullptr;
    MikMod_Exit();
    SetSoundStarted(false);
}
