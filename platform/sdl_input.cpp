// SDL2 backend, input: keyboard by scancode, gamepads with hot-plug, mouse and touch as the stylus.
#include <SDL.h>

#include "platform/button_merge.h"
#include "platform/instance.h"
#include "platform/sdl_backend.h"

constexpr int PadSlots = 8;                                           // gamepads followed at once
constexpr int MaxKeyBindings = HostBoundButtons * HostKeysPerButton;  // keyboard keys bound at once
constexpr int FirstPadSource =
    MaxKeyBindings;  // merge sources below are keyboard keys; then two per pad

struct KeyBinding {
    SDL_Scancode scancode;  // physical key, whatever the layout
    int button;             // button it presses
    int source;             // its own merge source
};

// The usual keyboard: arrows are the d-pad; Space, Enter, Z and Left Ctrl are all A.
static const KeyBinding UsualKeys[] = {
    {SDL_SCANCODE_UP, ButtonUp, 0},     {SDL_SCANCODE_DOWN, ButtonDown, 1},
    {SDL_SCANCODE_LEFT, ButtonLeft, 2}, {SDL_SCANCODE_RIGHT, ButtonRight, 3},
    {SDL_SCANCODE_SPACE, ButtonA, 4},   {SDL_SCANCODE_RETURN, ButtonA, 5},
    {SDL_SCANCODE_Z, ButtonA, 6},       {SDL_SCANCODE_LCTRL, ButtonA, 7},
};

struct PadButtonBinding {
    SDL_GameControllerButton pad;  // controller button
    int button;                    // button it presses
};

// A gamepad: its d-pad and its south face button.
static const PadButtonBinding PadBindings[] = {
    {SDL_CONTROLLER_BUTTON_DPAD_UP, ButtonUp},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, ButtonDown},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, ButtonLeft},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, ButtonRight},
    {SDL_CONTROLLER_BUTTON_A, ButtonA},  // the south face button on every layout
};

struct PadSlot {
    SDL_GameController* pad;  // open controller, null when the slot is free
    SDL_JoystickID id;        // its instance id
    int8_t stickX, stickY;    // left stick state: -1, 0 or +1 on each axis
};

static KeyBinding KeyBindings[MaxKeyBindings];  // the keys in use: the usual ones, or the player's
static int KeyBindingCount = 0;                 // entries of KeyBindings in use
static PadSlot Pads[PadSlots];                  // the gamepads in use
static ButtonMerge Merge;                       // all button sources merged into host key events
static bool PadsStarted = false;                // the game controller subsystem is ours to stop

static int PadSource(int slot) { return FirstPadSource + 2 * slot; }  // d-pad and south button
static int StickSource(int slot) { return FirstPadSource + 2 * slot + 1; }  // left stick

// Each button takes the player's keys where the settings name some, else its usual ones.
static void BindKeys(const int16_t keys[HostBoundButtons][HostKeysPerButton]) {
    KeyBindingCount = 0;
    for (int button = 0; button < HostBoundButtons; button++) {
        bool own = keys[button][0] != 0;
        for (int k = 0; own && k < HostKeysPerButton; k++)
            if (keys[button][k])
                KeyBindings[KeyBindingCount++] = {SDL_Scancode(keys[button][k]), button, 0};
        for (const KeyBinding& usual : UsualKeys)
            if (!own && usual.button == button) KeyBindings[KeyBindingCount++] = usual;
    }
    for (int i = 0; i < KeyBindingCount; i++) KeyBindings[i].source = i;
}

bool SdlInputOpen(const HostConfig& config) {
    MergeReset(&Merge);
    BindKeys(config.keys);
    for (PadSlot& p : Pads) p = PadSlot{nullptr, -1, 0, 0};
    SDL_StartTextInput();  // characters for the name entry
    if (!config.gamepad) return true;
    // Pads present now arrive as device-added events, like those plugged in later.
    PadsStarted = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    if (!PadsStarted) fprintf(stderr, "murko: gamepads unavailable: %s\n", SDL_GetError());
    return true;
}

void SdlInputClose() {
    if (!PadsStarted) return;
    if (SDL_WasInit(SDL_INIT_GAMECONTROLLER))
        for (PadSlot& p : Pads)
            if (p.pad) SDL_GameControllerClose(p.pad);
    for (PadSlot& p : Pads) p = PadSlot{nullptr, -1, 0, 0};
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    PadsStarted = false;
}

static int FindPad(SDL_JoystickID id) {
    for (int i = 0; i < PadSlots; i++)
        if (Pads[i].pad && Pads[i].id == id) return i;
    return -1;
}

static void AddPad(int deviceIndex) {
    if (!PadsStarted) return;  // gamepads switched off, or unavailable
    if (FindPad(SDL_JoystickGetDeviceInstanceID(deviceIndex)) >= 0) return;
    for (PadSlot& p : Pads) {
        if (p.pad) continue;
        p.pad = SDL_GameControllerOpen(deviceIndex);
        if (!p.pad) {
            fprintf(stderr, "murko: cannot open gamepad: %s\n", SDL_GetError());
            return;
        }
        p.id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(p.pad));
        p.stickX = p.stickY = 0;
        return;
    }
    fprintf(stderr, "murko: too many gamepads, ignoring one\n");
}

static void RemovePad(SDL_JoystickID id) {
    int slot = FindPad(id);
    if (slot < 0) return;
    MergeReleaseSource(&Merge, PadSource(slot));
    MergeReleaseSource(&Merge, StickSource(slot));
    SDL_GameControllerClose(Pads[slot].pad);
    Pads[slot] = PadSlot{nullptr, -1, 0, 0};
}

// A pad's Start button pauses the game (or brings it back); the rest go through the merge.
static bool PadButton(const SDL_ControllerButtonEvent& e, HostEvent* event) {
    int slot = FindPad(e.which);
    if (slot < 0) return false;
    if (e.button == SDL_CONTROLLER_BUTTON_START) {
        *event = HostEvent{};
        event->type = HostEventPause;
        event->key = HostKeyStart;
        return e.state == SDL_PRESSED;
    }
    for (const PadButtonBinding& b : PadBindings) {
        if (b.pad != e.button) continue;
        if (e.state == SDL_PRESSED)
            MergePress(&Merge, b.button, PadSource(slot));
        else
            MergeRelease(&Merge, b.button, PadSource(slot));
    }
    return false;
}

static void PadAxis(const SDL_ControllerAxisEvent& e) {
    int slot = FindPad(e.which);
    if (slot < 0) return;
    PadSlot& p = Pads[slot];
    if (e.axis == SDL_CONTROLLER_AXIS_LEFTX)
        MergeStickAxis(&Merge, &p.stickX, e.value, ButtonLeft, ButtonRight, StickSource(slot));
    if (e.axis == SDL_CONTROLLER_AXIS_LEFTY)
        MergeStickAxis(&Merge, &p.stickY, e.value, ButtonUp, ButtonDown, StickSource(slot));
}

static bool Bound(SDL_Scancode code) {
    for (int i = 0; i < KeyBindingCount; i++)
        if (KeyBindings[i].scancode == code) return true;
    return false;
}

// P and Esc pause the game (or bring it back), unless the player gave them to a button.
static bool PauseKey(const SDL_KeyboardEvent& e, HostEvent* event) {
    SDL_Scancode code = e.keysym.scancode;
    if (e.type != SDL_KEYDOWN || e.repeat || Bound(code)) return false;
    if (code != SDL_SCANCODE_P && code != SDL_SCANCODE_ESCAPE) return false;
    *event = HostEvent{};
    event->type = HostEventPause;
    event->key = code == SDL_SCANCODE_P ? 'P' : 27;
    return true;
}

static void Key(const SDL_KeyboardEvent& e) {
    bool down = e.type == SDL_KEYDOWN;
    SDL_Scancode code = e.keysym.scancode;
    bool toggle =
        code == SDL_SCANCODE_F11 || (code == SDL_SCANCODE_RETURN && (e.keysym.mod & KMOD_ALT));
    if (down && toggle) {
        if (!e.repeat) SdlToggleFullscreen();
        return;  // Alt+Enter is never the A button
    }
    if (code == SDL_SCANCODE_F12) {
        if (down && !e.repeat) SdlSaveScreenshot();
        return;
    }
    for (int i = 0; i < KeyBindingCount; i++) {
        const KeyBinding& k = KeyBindings[i];
        if (k.scancode != code) continue;
        if (down)
            MergePress(&Merge, k.button, k.source);  // repeats press A again, as the device did
        else
            MergeRelease(&Merge, k.button, k.source);
    }
}

// Text typed on the keyboard: one printable ASCII character (anything else, such as a
// composed accent, is no key of the name entry).
static bool TextTyped(const SDL_TextInputEvent& e, HostEvent* event) {
    unsigned char ch = uint8_t(e.text[0]);
    if (ch < 32 || ch > 126 || e.text[1] != 0) return false;
    *event = HostEvent{};
    event->type = HostEventTyped;
    event->key = int16_t(ch);
    return true;
}

// Backspace and Enter type too (they bring no text); Alt+Enter is the fullscreen switch.
static bool EditKeyTyped(const SDL_KeyboardEvent& e, HostEvent* event) {
    SDL_Scancode code = e.keysym.scancode;
    bool enter = code == SDL_SCANCODE_RETURN || code == SDL_SCANCODE_KP_ENTER;
    if (e.type != SDL_KEYDOWN || (e.keysym.mod & KMOD_ALT) ||
        !(enter || code == SDL_SCANCODE_BACKSPACE))
        return false;
    *event = HostEvent{};
    event->type = HostEventTyped;
    event->key = enter ? 13 : 8;
    return true;
}

// A press at window point (x, y), or at fractions of the window for a touch.
static bool PenDown(double x, double y, bool fractions, HostEvent* event) {
    int32_t sx = 0, sy = 0;
    bool mapped =
        fractions ? SdlMapTouch(float(x), float(y), &sx, &sy) : SdlMapPointer(x, y, &sx, &sy);
    if (!mapped) return false;  // outside the picture, on the black bars
    *event = HostEvent{};
    event->type = HostEventPenDown;
    event->x = sx;
    event->y = sy;
    return true;
}

// The window lost the keyboard: no release will reach it, so every held button lets go now.
static void ReleaseEverything() {
    for (int source = 0; source < MergeSources; source++) MergeReleaseSource(&Merge, source);
    for (PadSlot& p : Pads) p.stickX = p.stickY = 0;
}

// A window that loses the keyboard or is minimised: the player looks away.
static bool WindowEvent(const SDL_WindowEvent& e, HostEvent* event) {
    if (e.event == SDL_WINDOWEVENT_EXPOSED || e.event == SDL_WINDOWEVENT_SIZE_CHANGED) SdlRedraw();
    if (e.event != SDL_WINDOWEVENT_FOCUS_LOST && e.event != SDL_WINDOWEVENT_MINIMIZED) return false;
    ReleaseEverything();
    *event = HostEvent{};
    event->type = HostEventFocusLost;
    return true;
}

// Turns one SDL event into at most one direct host event; button changes go through the merge.
static bool Translate(const SDL_Event& e, HostEvent* event) {
    switch (e.type) {
        case SDL_QUIT:
            *event = HostEvent{};
            event->type = HostEventQuit;
            return true;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            if (PauseKey(e.key, event)) return true;
            Key(e.key);
            return EditKeyTyped(e.key, event);
        case SDL_TEXTINPUT: return TextTyped(e.text, event);
        case SDL_MOUSEBUTTONDOWN:
            // Touches also arrive as mouse presses; the finger event is the one taken.
            if (e.button.button != SDL_BUTTON_LEFT || e.button.which == SDL_TOUCH_MOUSEID)
                return false;
            return PenDown(e.button.x, e.button.y, false, event);
        case SDL_FINGERDOWN: return PenDown(e.tfinger.x, e.tfinger.y, true, event);
        case SDL_CONTROLLERDEVICEADDED: AddPad(e.cdevice.which); return false;
        case SDL_CONTROLLERDEVICEREMOVED: RemovePad(e.cdevice.which); return false;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP: return PadButton(e.cbutton, event);
        case SDL_CONTROLLERAXISMOTION: PadAxis(e.caxis); return false;
        case SDL_WINDOWEVENT: return WindowEvent(e.window, event);
        default: return false;
    }
}

bool SdlPollEvent(HostEvent* event) {
    for (;;) {
        if (MergeTake(&Merge, event)) return true;
        SDL_Event e;
        if (!SDL_PollEvent(&e)) break;
        if (Translate(e, event)) return true;
    }
    // The queue is empty: a good moment to see whether a later start asked for the window.
    if (InstanceTakeRaise(&TheInstance)) SdlShowWindow();
    return false;
}
