// Suspend and resume: a run in progress put away when the program ends, and taken up again.
//
// The suspend file, "Msuspend.dat" beside the score file (numbers 32-bit little-endian):
//   bytes 0-7    "MURKORUN"
//   bytes 8-11   the format's version, SuspendVersion
//   bytes 12-15  the size of the state once unpacked, which must be this build's StateBytes
//   bytes 16-19  the size of the packed state that follows, the rest of the file
//   bytes 20-23  the FNV-1a hash of the packed state
//   bytes 24-    the packed state
// The state is every field of GameGlobals that core/global_fields.h marks Run, in the record's
// order, each as the bytes it holds in memory (fixed widths, little-endian). It is packed in runs:
// a byte n below 128 is followed by n + 1 bytes taken as they are; a byte n from 128 up by one
// byte that stands n - 125 times (3 to 130 times). A file that is short, of another version,
// damaged or holding a state the game could never reach is not taken up.
#include "app/suspend.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/files.h"
#include "core/global_fields.h"
#include "core/globals.h"
#include "game/run_state.h"

constexpr char Magic[8] = {'M', 'U', 'R', 'K', 'O', 'R', 'U', 'N'};  // a suspend file's first bytes
constexpr uint32_t SuspendVersion = 1;  // raised whenever the state's layout changes
constexpr size_t HeaderBytes = SuspendHeaderBytes;
constexpr size_t LongestRun = 130;      // bytes one repeat stands for
constexpr size_t LongestLiteral = 128;  // bytes one literal carries

constexpr bool KeptRun = true;     // a Run field goes into the file
constexpr bool KeptStart = false;  // a Start field is set by every start-up

// Bytes of the unpacked state: the Run fields, one after another.
constexpr size_t StateBytes = 0
#define X(field, kind, suspend) +(Kept##suspend ? sizeof(GameGlobals::field) : 0)
    GAME_GLOBAL_FIELDS(X)
#undef X
    ;
constexpr size_t PackedMax = StateBytes + StateBytes / LongestLiteral + 1;  // packing's worst case
const size_t SuspendFileMax = HeaderBytes + PackedMax;

static uint8_t State[StateBytes];                       // a run's fields, unpacked
static uint8_t FileBytes[HeaderBytes + PackedMax + 1];  // a file being written or read
static GameGlobals Pending;                             // the checked run, until it is taken up
static uint8_t PendingFile[HeaderBytes + PackedMax];    // its file's bytes
static size_t PendingSize = 0;  // bytes in PendingFile; 0 when no run is pending

bool RunInProgress() { return G.ScreenState == ScreenGame || G.ScreenState == ScreenLevelComplete; }

// One field to State at *at, or from it; nothing for a field the start-up sets.
template <bool Kept, typename Field>
static void GatherField(const Field& field, size_t* at) {
    if constexpr (Kept) {
        memcpy(State + *at, &field, sizeof field);
        *at += sizeof field;
    }
}

template <bool Kept, typename Field>
static void ScatterField(Field& field, size_t* at) {
    if constexpr (Kept) {
        memcpy(&field, State + *at, sizeof field);
        *at += sizeof field;
    }
}

static void GatherState(const GameGlobals& g) {
    size_t at = 0;
#define X(field, kind, suspend) GatherField<Kept##suspend>(g.field, &at);
    GAME_GLOBAL_FIELDS(X)
#undef X
}

static void ScatterState(GameGlobals& g) {
    size_t at = 0;
#define X(field, kind, suspend) ScatterField<Kept##suspend>(g.field, &at);
    GAME_GLOBAL_FIELDS(X)
#undef X
}

static uint32_t Hash(const uint8_t* bytes, size_t size) {
    uint32_t hash = 2166136261u;
    for (size_t i = 0; i < size; i++) hash = (hash ^ bytes[i]) * 16777619u;
    return hash;
}

static void PutLe32(uint8_t* at, uint32_t value) {
    for (int i = 0; i < 4; i++) at[i] = uint8_t(value >> (8 * i));
}

static uint32_t GetLe32(const uint8_t* at) {
    return at[0] | at[1] << 8 | at[2] << 16 | uint32_t(at[3]) << 24;
}

// Bytes that repeat from in[i], at most LongestRun.
static size_t RepeatAt(const uint8_t* in, size_t size, size_t i) {
    size_t run = 1;
    while (i + run < size && run < LongestRun && in[i + run] == in[i]) run++;
    return run;
}

static size_t Pack(const uint8_t* in, size_t size, uint8_t* out) {
    size_t n = 0;
    for (size_t i = 0; i < size;) {
        size_t run = RepeatAt(in, size, i);
        if (run >= 3) {
            out[n++] = uint8_t(run + 125);
            out[n++] = in[i];
            i += run;
            continue;
        }
        size_t start = i;
        while (i < size && i - start < LongestLiteral && RepeatAt(in, size, i) < 3) i++;
        out[n++] = uint8_t(i - start - 1);
        memcpy(out + n, in + start, i - start);
        n += i - start;
    }
    return n;
}

static bool Unpack(const uint8_t* in, size_t size, uint8_t* out, size_t want) {
    size_t n = 0;
    for (size_t i = 0; i < size;) {
        uint8_t code = in[i++];
        size_t count = code < 128 ? size_t(code) + 1 : size_t(code) - 125;
        if (n + count > want || i + (code < 128 ? count : 1) > size) return false;
        if (code < 128)
            memcpy(out + n, in + i, count);
        else
            memset(out + n, in[i], count);
        i += code < 128 ? count : 1;
        n += count;
    }
    return n == want;
}

size_t PackRun(uint8_t* out) {
    GatherState(G);
    return WriteRunHeader(out, Pack(State, StateBytes, out + HeaderBytes));
}

size_t WriteRunHeader(uint8_t* out, size_t packed) {
    memcpy(out, Magic, sizeof Magic);
    PutLe32(out + 8, SuspendVersion);
    PutLe32(out + 12, uint32_t(StateBytes));
    PutLe32(out + 16, uint32_t(packed));
    PutLe32(out + 20, Hash(out + HeaderBytes, packed));
    return HeaderBytes + packed;
}

// The state in a suspend file's bytes, unpacked into State; nullptr, or what is wrong.
static const char* UnpackFile(const uint8_t* bytes, size_t size) {
    if (size < HeaderBytes) return "it is too short";
    if (memcmp(bytes, Magic, sizeof Magic)) return "it is no suspend file";
    if (GetLe32(bytes + 8) != SuspendVersion || GetLe32(bytes + 12) != StateBytes)
        return "it is from another version of the game";
    if (GetLe32(bytes + 16) != size - HeaderBytes) return "it is cut short or too long";
    if (GetLe32(bytes + 20) != Hash(bytes + HeaderBytes, size - HeaderBytes) ||
        !Unpack(bytes + HeaderBytes, size - HeaderBytes, State, StateBytes))
        return "it is damaged";
    return nullptr;
}

bool CheckRunBytes(const uint8_t* bytes, size_t size, const char** why) {
    PendingSize = 0;
    *why = size > SuspendFileMax ? "it is too long" : UnpackFile(bytes, size);
    if (*why) return false;
    Pending = G;
    ScatterState(Pending);
    *why = Pending.ScreenState == ScreenGame || Pending.ScreenState == ScreenLevelComplete
               ? RunStateFault(Pending)
               : "it holds no run in the game";
    if (*why) return false;
    memcpy(PendingFile, bytes, size);
    PendingSize = size;
    return true;
}

bool LoadRunFile(const std::string& path) {
    PendingSize = 0;
    FILE* file = OpenForReading(path.c_str());
    if (!file) {
        if (errno != ENOENT)
            fprintf(stderr, "murko: cannot read the suspended run %s: %s\n", path.c_str(),
                    ReadFailure(errno));
        return false;
    }
    size_t size = fread(FileBytes, 1, sizeof FileBytes, file);
    bool failed = ferror(file);
    fclose(file);
    const char* why = failed ? "it cannot be read" : nullptr;
    if (!why && CheckRunBytes(FileBytes, size, &why)) return true;
    fprintf(stderr, "murko: the suspended run %s is ignored: %s\n", path.c_str(), why);
    return false;
}

bool RunPending() { return PendingSize > 0; }

const uint8_t* PendingRunBytes(size_t* size) {
    *size = PendingSize;
    return PendingFile;
}

void TakeUpRun() {
    if (!PendingSize) return;
    GatherState(Pending);
    ScatterState(G);
    // A new start holds no key down, whatever was held when the run was put away.
    G.LeftDown = G.RightDown = G.UpDown = G.DownDown = 0;
    PendingSize = 0;
}

bool SaveRunFile(const std::string& path) {
    size_t size = PackRun(FileBytes);
    const char* step = SaveFileSafely(path, FileBytes, size);
    if (!step) return true;
    fprintf(stderr, "murko: cannot %s the suspended run %s: %s\n", step, path.c_str(),
            strerror(errno));
    return false;
}

void ForgetRunFile(const std::string& path) {
    if (remove(path.c_str()) != 0 && errno != ENOENT)
        fprintf(stderr, "murko: cannot remove the suspended run %s: %s\n", path.c_str(),
                strerror(errno));
}
