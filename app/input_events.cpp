// Buttons and stylus: host and scripted events applied to the latches, recordings written.
#include "app/input_events.h"

#include "app/pause.h"
#include "app/script.h"
#include "core/globals.h"
#include "core/layout.h"
#include "core/sound.h"

static bool ReplayOnly = false;  // drop host keys and taps while the script lasts
static int64_t SwallowTextFrame =
    -2;                             // text typed by the key that ended a pause, before this frame
static FILE* RecordFile = nullptr;  // where delivered events are written, or null

// The frame a pump belongs to: the one just shown, or -1 before the first.
static int32_t PumpFrame() { return int32_t(G.FrameCount) - 1; }

static void Record(const HostEvent& event) {
    ScriptEvent line;
    if (!RecordFile || !ScriptEventFromHost(event, PumpFrame(), &line)) return;
    WriteScriptEvent(RecordFile, line);
    fflush(RecordFile);
}

static bool ScriptEventDue() {
    return ScriptNextEvent < ScriptEventCount && ScriptEvents[ScriptNextEvent].frame <= PumpFrame();
}

// Host events a replay lets through: only the window being closed.
static bool HostEventWanted(const HostEvent& event) {
    if (!ReplayOnly || ScriptNextEvent >= ScriptEventCount) return true;
    return event.type == HostEventQuit;
}

// A pause lets go of the held directions first, as the game would see them released (a replay's
// directions are the recording's alone).
static void ReleaseHeldButtons() {
    if (ReplayOnly && ScriptNextEvent < ScriptEventCount) return;
    const int32_t held[4] = {G.UpDown, G.DownDown, G.LeftDown, G.RightDown};
    for (int button = KeyUp; button <= KeyRight; button++) {
        if (!held[button]) continue;
        HostEvent up = {HostEventKeyUp, G.KeyList[button].code, 0, 0};
        Record(up);
        HandleInputEvent(up);
    }
}

// While the game runs: a pause key or a window losing focus pauses it. P types on the name entry.
static bool TakenWhilePlaying(const HostEvent& event) {
    if (event.type == HostEventTyped) return SwallowTextFrame == int64_t(G.FrameCount);
    if (event.type != HostEventFocusLost && event.type != HostEventPause) return false;
    if (event.type == HostEventPause && event.key == 'P' && G.ScreenState == ScreenNewHighScore)
        return true;
    ReleaseHeldButtons();
    PauseGame();
    return true;
}

// While paused nothing reaches the game but the window being closed and the speaker corner (a
// mute); a pause key, A or a tap elsewhere on the picture brings the game back and does no more.
static bool TakenWhilePaused(HostEvent* event) {
    if (event->type == HostEventQuit) return false;
    bool tap = event->type == HostEventPenDown;
    if (tap && InSpeakerCorner(event->x, event->y)) {
        *event = HostEvent{HostEventMute, 0, 0, 0};
        return false;
    }
    bool pressA = event->type == HostEventKeyDown && event->key == G.KeyList[KeyA].code;
    if (tap || pressA || event->type == HostEventPause) {
        ResumeGame();
        SwallowTextFrame = G.FrameCount;
    }
    return true;
}

// The pause's own events, and everything that comes while paused; true when the event goes no
// further. A run that may not pause passes everything on.
static bool TakenByPause(HostEvent* event) {
    if (!PauseAllowed()) return false;
    return GamePaused() ? TakenWhilePaused(event) : TakenWhilePlaying(*event);
}

bool TakeInputEvent(HostEvent* event) {
    if (ScriptEventDue()) {
        *event = HostEventFromScript(ScriptEvents[ScriptNextEvent++]);
        Record(*event);
        return true;
    }
    while (HostPollEvent(event)) {
        // Pen-downs off the picture cannot happen on the device; they are not taps.
        if (event->type == HostEventPenDown &&
            (event->x < 0 || event->x >= ScreenWidth || event->y < 0 || event->y >= ScreenHeight))
            continue;
        if (TakenByPause(event) || !HostEventWanted(*event)) continue;
        Record(*event);
        return true;
    }
    return false;
}

void BeginScriptedInput(bool replay) {
    ReplayOnly = replay;
    ScriptNextEvent = 0;
    while (ScriptNextEvent < ScriptEventCount &&
           ScriptEvents[ScriptNextEvent].frame == StartUpFrame) {
        HostEvent event = HostEventFromScript(ScriptEvents[ScriptNextEvent++]);
        Record(event);
        HandleInputEvent(event);
    }
}

void RecordInputTo(FILE* f) { RecordFile = f; }

void LoadKeyList() {
    int16_t keys[8];
    HostGetDefaultKeys(keys);
    for (int i = 0; i < 8; i++) G.KeyList[i] = KeyListEntry{keys[i], 0, 0};
}

void HandleInputEvent(const HostEvent& event) {
    switch (event.type) {
        case HostEventKeyDown:
            // In this order; a code that matches two entries sets both. The front-end screens take
            // every press of A (screens/highlight.cpp), so none is left to open the map in the next
            // game.
            if (event.key == G.KeyList[KeyA].code) G.ALatch = 1;
            if (event.key == G.KeyList[KeyLeft].code) G.LeftDown = 1;
            if (event.key == G.KeyList[KeyRight].code) G.RightDown = 1;
            if (event.key == G.KeyList[KeyUp].code) G.UpDown = 1;
            if (event.key == G.KeyList[KeyDown].code) G.DownDown = 1;
            break;
        case HostEventKeyUp:
            if (event.key == G.KeyList[KeyLeft].code) G.LeftDown = 0;
            if (event.key == G.KeyList[KeyRight].code) G.RightDown = 0;
            if (event.key == G.KeyList[KeyUp].code) G.UpDown = 0;
            if (event.key == G.KeyList[KeyDown].code) G.DownDown = 0;
            break;
        case HostEventPenDown:
            G.TapPosX = event.x & 0xFFFF;
            G.TapPosY = event.y & 0xFFFF;
            G.TapConsumed = 0;
            break;
        case HostEventQuit: G.QuitRequested = 1; break;
        case HostEventMute:
            ToggleMute();
            if (GamePaused()) ShowPauseOverlay();
            break;
        case HostEventTyped:
            // Only the name entry reads typed keys; elsewhere they would wait for it.
            if (G.ScreenState == ScreenNewHighScore) G.TypedKey = event.key;
            break;
        default: break;
    }
}
