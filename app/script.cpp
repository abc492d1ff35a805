// Input scripts and recordings: the parser, the writer and the conversion to host events.
#include "app/script.h"

#include <cerrno>
#include <cstdarg>
#include <cstring>

#include "core/files.h"
#include "core/globals.h"

ScriptEvent ScriptEvents[ScriptCapacity];  // the loaded script, in frame order
int ScriptEventCount = 0;                  // events in ScriptEvents
int ScriptNextEvent = 0;                   // index of the next event to deliver
bool ScriptHasSeed = false;                // a recording was loaded
uint32_t ScriptSeed = 0;                   // its seed
uint8_t ScriptResume[ScriptResumeMax];     // the suspend file of the run a recording resumes
size_t ScriptResumeSize = 0;               // its bytes; 0 when the recording starts at the menu

static const char VersionWord[] = "murko-recording";  // first word of a recording

// Button names as scripts write them, with their KeyList index; a code is written by its first
// match.
static const struct {
    const char* name;
    int8_t button;
} ButtonNames[] = {
    {"up", KeyUp}, {"down", KeyDown}, {"left", KeyLeft}, {"right", KeyRight}, {"a", KeyA},
};

static const char ButtonChoice[] = "expected up, down, left, right or a";  // said after a bad key

void ClearScript() {
    ScriptEventCount = 0;
    ScriptNextEvent = 0;
    ScriptHasSeed = false;
    ScriptSeed = 0;
    ScriptResumeSize = 0;
}

// Strict decimal: an optional '-', digits only, inside low..high.
static bool ParseInteger(const char* text, long long low, long long high, long long* out) {
    const char* p = text;
    bool negative = *p == '-';
    if (negative) p++;
    if (!*p) return false;
    long long v = 0;
    for (; *p; p++) {
        if (*p < '0' || *p > '9') return false;
        v = v * 10 + (*p - '0');
        if (v > 10000000000LL) return false;  // far beyond every range asked for
    }
    if (negative) v = -v;
    if (v < low || v > high) return false;
    *out = v;
    return true;
}

// Everything one line of text is worth while reading a file.
struct LineReader {
    const char* name;   // file name for messages
    int line;           // number of the current line, from 1
    char* message;      // where an error goes
    int messageSize;    // its room
    bool recording;     // reading a recording
    bool sawVersion;    // the version line was read
    int32_t lastFrame;  // frame of the previous event
    long bytesLeft;     // bytes the file may still give
};

static bool Fail(LineReader* r, const char* format, ...) {
    int n = snprintf(r->message, size_t(r->messageSize), "%s:%d: ", r->name, r->line);
    if (n < 0 || n >= r->messageSize) return false;
    va_list args;
    va_start(args, format);
    vsnprintf(r->message + n, size_t(r->messageSize - n), format, args);
    va_end(args);
    return false;
}

// Splits a line at blanks, up to max words; returns the count, or max + 1 when more follow.
static int SplitWords(char* line, char** words, int max) {
    int count = 0;
    char* p = line;
    for (;;) {
        while (*p == ' ' || *p == '\t') p++;
        if (!*p) return count;
        if (count == max) return max + 1;
        words[count++] = p;
        while (*p && *p != ' ' && *p != '\t') p++;
        if (*p) *p++ = 0;
    }
}

static bool ParseVersionLine(LineReader* r, char** words, int count) {
    long long version = 0;
    if (count < 1 || strcmp(words[0], VersionWord) != 0)
        return Fail(r, "not a recording (the first line must be \"%s %d\")", VersionWord,
                    RecordingVersion);
    if (count != 2 || !ParseInteger(words[1], 0, 1000000, &version))
        return Fail(r, "bad version line (expected \"%s %d\")", VersionWord, RecordingVersion);
    if (version != RecordingVersion)
        return Fail(r, "recording version %lld is not supported (this build reads version %d)",
                    version, RecordingVersion);
    r->sawVersion = true;
    return true;
}

static bool ParseSeedLine(LineReader* r, char** words, int count) {
    long long seed = 0;
    if (!r->recording) return Fail(r, "a seed line belongs in a recording (play it with --play)");
    if (ScriptHasSeed) return Fail(r, "a second seed line");
    if (count != 2) return Fail(r, "the seed line is \"seed N\"");
    if (!ParseInteger(words[1], 0, 4294967295LL, &seed))
        return Fail(r, "bad seed \"%s\" (expected 0..4294967295)", words[1]);
    ScriptHasSeed = true;
    ScriptSeed = uint32_t(seed);
    return true;
}

static const char Base64Digits[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";  // value = index
constexpr int ResumeLineBytes = 54;  // bytes a resume line carries: 72 base-64 digits

static int Base64Value(char c) {
    const char* at = c ? strchr(Base64Digits, c) : nullptr;
    return at ? int(at - Base64Digits) : -1;
}

// One group of four digits ('=' pads the last) to up to three bytes of ScriptResume.
static bool TakeBase64Group(const char* group) {
    int v[4], bytes = 3;
    for (int i = 0; i < 4; i++) {
        v[i] = group[i] == '=' && i >= 2 ? 0 : Base64Value(group[i]);
        if (group[i] == '=' && i >= 2) bytes = bytes < i - 1 ? bytes : i - 1;
        if (v[i] < 0) return false;
    }
    if (ScriptResumeSize + size_t(bytes) > ScriptResumeMax) return false;
    uint32_t all = uint32_t(v[0] << 18 | v[1] << 12 | v[2] << 6 | v[3]);
    for (int i = 0; i < bytes; i++) ScriptResume[ScriptResumeSize++] = uint8_t(all >> (16 - 8 * i));
    return true;
}

// "resume DIGITS": base-64 bytes of the suspend file of the run the recording starts from.
static bool ParseResumeLine(LineReader* r, char** words, int count) {
    if (!r->recording || !ScriptHasSeed || r->lastFrame != StartUpFrame || ScriptEventCount)
        return Fail(r, "resume lines belong in a recording, after its seed line");
    size_t length = count == 2 ? strlen(words[1]) : 0;
    if (length == 0 || length % 4) return Fail(r, "a resume line is \"resume DIGITS\"");
    for (size_t at = 0; at < length; at += 4)
        if (!TakeBase64Group(words[1] + at)) return Fail(r, "bad or too many resume digits");
    return true;
}

static bool ParseKey(LineReader* r, char** words, int count, ScriptEvent* e) {
    if (count < 3) return Fail(r, "missing key (%s)", ButtonChoice);
    if (count > 3) return Fail(r, "unexpected \"%s\" after the event", words[3]);
    for (const auto& b : ButtonNames) {
        if (strcmp(words[2], b.name) == 0) {
            e->button = b.button;
            return true;
        }
    }
    return Fail(r, "unknown key \"%s\" (%s)", words[2], ButtonChoice);
}

static bool ParseTap(LineReader* r, char** words, int count, ScriptEvent* e) {
    long long x = 0, y = 0;
    if (count < 4) return Fail(r, "a tap needs X and Y");
    if (count > 4) return Fail(r, "unexpected \"%s\" after the event", words[4]);
    if (!ParseInteger(words[2], 0, ScreenWidth - 1, &x))
        return Fail(r, "bad tap x \"%s\" (expected 0..%d)", words[2], ScreenWidth - 1);
    if (!ParseInteger(words[3], 0, ScreenHeight - 1, &y))
        return Fail(r, "bad tap y \"%s\" (expected 0..%d)", words[3], ScreenHeight - 1);
    e->x = int16_t(x);
    e->y = int16_t(y);
    return true;
}

// Codes a typed key may carry: the printable characters, Backspace and Enter.
static bool TypedCodeValid(long long code) {
    return (code >= 32 && code <= 126) || code == 8 || code == 13;
}

static bool ParseTyped(LineReader* r, char** words, int count, ScriptEvent* e) {
    long long code = 0;
    if (count < 3) return Fail(r, "a typed key needs its CODE");
    if (count > 3) return Fail(r, "unexpected \"%s\" after the event", words[3]);
    if (!ParseInteger(words[2], 0, 255, &code) || !TypedCodeValid(code))
        return Fail(
            r, "bad typed key \"%s\" (expected a character code 32..126, 8 Backspace or 13 Enter)",
            words[2]);
    e->character = int16_t(code);
    return true;
}

static bool ParseEventLine(LineReader* r, char** words, int count) {
    long long frame = 0;
    if (!ParseInteger(words[0], -1000000000000LL, 2147483647LL, &frame))
        return Fail(r, "bad frame number \"%s\"", words[0]);
    if (frame < StartUpFrame)
        return Fail(r, "frame %lld is before the start (frames count from 0; -1 is start-up)",
                    frame);
    if (frame < r->lastFrame)
        return Fail(r, "frame %lld comes after frame %d (events must be in frame order)", frame,
                    r->lastFrame);
    if (r->recording && !ScriptHasSeed) return Fail(r, "an event before the seed line");
    if (count < 2) return Fail(r, "missing event after the frame number");
    ScriptEvent e = {int32_t(frame), HostEventNone, 0, 0, 0, 0};
    const char* what = words[1];
    if (strcmp(what, "down") == 0 || strcmp(what, "up") == 0) {
        e.type = what[0] == 'd' ? HostEventKeyDown : HostEventKeyUp;
        if (!ParseKey(r, words, count, &e)) return false;
    } else if (strcmp(what, "tap") == 0) {
        e.type = HostEventPenDown;
        if (!ParseTap(r, words, count, &e)) return false;
    } else if (strcmp(what, "type") == 0) {
        e.type = HostEventTyped;
        if (!ParseTyped(r, words, count, &e)) return false;
    } else if (strcmp(what, "quit") == 0 || strcmp(what, "mute") == 0) {
        e.type = what[0] == 'q' ? HostEventQuit : HostEventMute;
        if (count > 2) return Fail(r, "unexpected \"%s\" after the event", words[2]);
    } else {
        return Fail(r, "unknown event \"%s\" (expected down, up, tap, type, quit or mute)", what);
    }
    if (ScriptEventCount == ScriptCapacity)
        return Fail(r, "too many events (at most %d)", ScriptCapacity);
    ScriptEvents[ScriptEventCount++] = e;
    r->lastFrame = e.frame;
    return true;
}

// One line, without its end: strips the comment and reads what is left.
static bool ParseLine(LineReader* r, char* text) {
    char* hash = strchr(text, '#');
    if (hash) *hash = 0;
    char* words[5];
    int count = SplitWords(text, words, 5);
    if (r->recording && !r->sawVersion) return ParseVersionLine(r, words, count > 5 ? 5 : count);
    if (count == 0) return true;
    if (count > 5) return Fail(r, "unexpected text after the event");
    if (strcmp(words[0], "seed") == 0) return ParseSeedLine(r, words, count);
    if (strcmp(words[0], "resume") == 0) return ParseResumeLine(r, words, count);
    if (strcmp(words[0], VersionWord) == 0)
        return Fail(r, "a version line belongs only at the top of a recording");
    return ParseEventLine(r, words, count);
}

// What stops a file at its first bad line.
enum LineProblem { LineFine, LineHasNul, LineTooLong, FileTooLarge };

// Reads one line into text; 0 at the end of the file, 1 for a line, -1 at the first byte that
// makes the line bad (nothing after it is read: /dev/zero or a huge file ends at once).
static int ReadLine(FILE* f, char* text, long* bytesLeft, LineProblem* problem) {
    int length = 0, c = 0;
    bool any = false;
    *problem = LineFine;
    while ((c = getc(f)) != EOF) {
        any = true;
        if (--*bytesLeft < 0)
            *problem = FileTooLarge;
        else if (c == 0)
            *problem = LineHasNul;
        else if (c != '\n' && length == ScriptLineMax)
            *problem = LineTooLong;
        if (*problem != LineFine) return -1;
        if (c == '\n') break;
        text[length++] = char(c);
    }
    if (length > 0 && text[length - 1] == '\r') length--;
    text[length] = 0;
    return any ? 1 : 0;
}

static bool FailLine(LineReader* r, LineProblem problem) {
    if (problem == LineHasNul) return Fail(r, "a NUL byte in the line");
    if (problem == LineTooLong) return Fail(r, "line longer than %d characters", ScriptLineMax);
    return Fail(r, "the file is larger than %ld bytes", ScriptBytesMax);
}

bool ReadScript(FILE* f, const char* name, bool recording, char* message, int messageSize) {
    ClearScript();
    LineReader r = {name, 0, message, messageSize, recording, false, StartUpFrame, ScriptBytesMax};
    char text[ScriptLineMax + 1];
    LineProblem problem = LineFine;
    int got = 0;
    bool ok = true;
    while (ok && (got = ReadLine(f, text, &r.bytesLeft, &problem)) != 0) {
        r.line++;
        ok = got < 0 ? FailLine(&r, problem) : ParseLine(&r, text);
    }
    if (ok && ferror(f)) ok = Fail(&r, "read error");
    if (ok && recording && !r.sawVersion) {
        r.line = r.line ? r.line : 1;
        ok = Fail(&r, "empty file (a recording begins with \"%s %d\")", VersionWord,
                  RecordingVersion);
    }
    if (ok && recording && !ScriptHasSeed) ok = Fail(&r, "the recording has no seed line");
    if (!ok) ClearScript();
    return ok;
}

bool LoadScriptFile(const char* path, bool recording, char* message, int messageSize) {
    ClearScript();
    FILE* f = OpenForReading(path);
    if (!f) {
        snprintf(message, size_t(messageSize), "%s: cannot read it: %s", path, ReadFailure(errno));
        return false;
    }
    bool ok = ReadScript(f, path, recording, message, messageSize);
    fclose(f);
    return ok;
}

HostEvent HostEventFromScript(const ScriptEvent& event) {
    HostEvent h = {event.type, 0, event.x, event.y};
    if (event.type == HostEventKeyDown || event.type == HostEventKeyUp)
        h.key = G.KeyList[event.button].code;
    if (event.type == HostEventTyped) h.key = event.character;
    return h;
}

bool ScriptEventFromHost(const HostEvent& event, int32_t frame, ScriptEvent* out) {
    *out = ScriptEvent{frame, event.type, 0, 0, 0, 0};
    switch (event.type) {
        case HostEventKeyDown:
        case HostEventKeyUp:
            for (const auto& b : ButtonNames) {
                if (G.KeyList[b.button].code == event.key) {
                    out->button = b.button;
                    return true;
                }
            }
            return false;
        case HostEventPenDown:
            if (event.x < 0 || event.x >= ScreenWidth || event.y < 0 || event.y >= ScreenHeight)
                return false;
            out->x = int16_t(event.x);
            out->y = int16_t(event.y);
            return true;
        case HostEventQuit:
        case HostEventMute: return true;
        case HostEventTyped: out->character = event.key; return TypedCodeValid(event.key);
        default: return false;
    }
}

void WriteRecordingHeader(FILE* f, uint32_t seed) {
    fprintf(
        f,
        "%s %d\n"
        "# Input of one murko run; murko --play FILE plays it back.\n"
        "# Each line: FRAME down KEY | FRAME up KEY | FRAME tap X Y | FRAME type CODE | FRAME "
        "quit\n"
        "# | FRAME mute (the speaker corner tapped while the game was paused)\n"
        "# CODE: a key typed on the keyboard, a character code 32..126, 8 Backspace or 13 Enter\n"
        "# An event of frame F reached the game in the message pump after frame F was shown,\n"
        "# so frame F + 1 saw it first. Frame -1 holds what came in the pumps before the first\n"
        "# frame (while sound started and while start-up taps were discarded); a replay hands\n"
        "# it to the game before the first frame.\n"
        "seed %u\n",
        VersionWord, RecordingVersion, seed);
}

void WriteRecordingResume(FILE* f, const uint8_t* bytes, size_t size) {
    fputs("# The run this recording starts from, as its suspend file (base 64):\n", f);
    for (size_t line = 0; line < size; line += ResumeLineBytes) {
        fputs("resume ", f);
        for (size_t at = line; at < size && at < line + ResumeLineBytes; at += 3) {
            size_t n = size - at < 3 ? size - at : 3;
            uint32_t all = uint32_t(bytes[at]) << 16;
            if (n > 1) all |= uint32_t(bytes[at + 1]) << 8;
            if (n > 2) all |= bytes[at + 2];
            for (size_t i = 0; i < 4; i++)
                fputc(i <= n ? Base64Digits[(all >> (18 - 6 * i)) & 63] : '=', f);
        }
        fputc('\n', f);
    }
}

// "F type CODE", with what the code stands for as a comment.
static void WriteTypedKey(FILE* f, const ScriptEvent& event) {
    if (event.character == 8)
        fprintf(f, "%d type 8  # Backspace\n", event.frame);
    else if (event.character == 13)
        fprintf(f, "%d type 13  # Enter\n", event.frame);
    else
        fprintf(f, "%d type %d  # %c\n", event.frame, event.character, char(event.character));
}

void WriteScriptEvent(FILE* f, const ScriptEvent& event) {
    const char* key = "a";
    for (const auto& b : ButtonNames)
        if (b.button == event.button) key = b.name;
    switch (event.type) {
        case HostEventKeyDown: fprintf(f, "%d down %s\n", event.frame, key); break;
        case HostEventKeyUp: fprintf(f, "%d up %s\n", event.frame, key); break;
        case HostEventPenDown: fprintf(f, "%d tap %d %d\n", event.frame, event.x, event.y); break;
        case HostEventQuit: fprintf(f, "%d quit\n", event.frame); break;
        case HostEventMute: fprintf(f, "%d mute\n", event.frame); break;
        case HostEventTyped: WriteTypedKey(f, event); break;
        default: break;
    }
}
