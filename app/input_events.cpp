// Buttons and stylus: host and scripted events applied to the latches, recordings written.
#include "app/input_events.h"

#include "app/script.h"
#include "core/globals.h"

static bool ReplayOnly = false;     // drop host keys and taps while the script lasts
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

bool TakeInputEvent(HostEvent* event) {
    if (ScriptEventDue()) {
        *event = HostEventFromScript(ScriptEvents[ScriptNextEvent++]);
        Record(*event);
        return true;
    }
    while (HostPollEvent(event)) {
        if (!HostEventWanted(*event)) continue;
        // Pen-downs off the picture cannot happen on the device; they are not taps.
        if (event->type == HostEventPenDown &&
            (event->x < 0 || event->x >= ScreenWidth || event->y < 0 || event->y >= ScreenHeight))
            continue;
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
        case HostEventTyped:
            // Only the name entry reads typed keys; elsewhere they would wait for it.
            if (G.ScreenState == ScreenNewHighScore) G.TypedKey = event.key;
            break;
        default: break;
    }
}
