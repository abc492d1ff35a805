// The host: display panel, input events, clock, files and window, behind plain functions.
// The game core talks to the machine only through this header; a backend (SDL window or
// headless) is chosen once at start-up with HostUse.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// Host key codes of the key list (up, down, left, right, A, B, C, Start).
enum : int16_t {
    HostKeyUp = 0x26,
    HostKeyDown = 0x28,
    HostKeyLeft = 0x25,
    HostKeyRight = 0x27,
    HostKeyA = 0xC1,
    HostKeyB = 0xC2,
    HostKeyC = 0xC3,
    HostKeyStart = 0xC4,
};

// HostEventTyped is a key typed for text: key holds the character (32..126), 8 Backspace or 13
// Enter. HostEventPause is a key that pauses the game: key holds 'P', 27 (Esc) or HostKeyStart.
// HostEventFocusLost: the window lost the keyboard or was minimised (the player looks away).
// HostEventMute is never sent by a host: it is the speaker corner tapped while the game was
// paused, as scripts and recordings hold it.
enum HostEventType {
    HostEventNone,
    HostEventKeyDown,
    HostEventKeyUp,
    HostEventPenDown,
    HostEventQuit,
    HostEventTyped,
    HostEventPause,
    HostEventFocusLost,
    HostEventMute,
};

struct HostEvent {
    HostEventType type;  // what happened
    int16_t key;         // host key code, for key events; the character, for a typed key
    int32_t x, y;        // screen pixels (0..239, 0..319), for pen-down
};

// The emulated device panel that PresentFrame writes into.
enum HostDisplayMode {
    DisplayRgb565,
    DisplayRgb565Row512,
    DisplayRotated,
    DisplayFlipped,
    DisplayGray2,
    DisplayGray4
};

struct HostDisplayProperties {
    int32_t bpp;     // 2, 4 or 16
    int32_t xPitch;  // bytes between horizontally adjacent pixels
    int32_t yPitch;  // bytes between vertically adjacent pixels
};

// How the window draws the picture: SDL's software renderer straight into the window (the
// default: it starts at once and stays small where OpenGL runs on a software rasteriser), or one
// of SDL's OpenGL renderers.
enum HostRenderer { RendererSoftware, RendererOpenGl, RendererOpenGles2 };

bool HostParseRenderer(const char* name, HostRenderer* renderer);  // "software", "opengl", ...
const char* HostRendererName(HostRenderer renderer);               // SDL's name for it

constexpr int HostBoundButtons = 5;   // buttons the keyboard binds: up, down, left, right, A
constexpr int HostKeysPerButton = 4;  // keyboard keys one button may have

struct HostConfig {
    HostDisplayMode display;                   // emulated panel
    int scale;                                 // window scale, 0 = largest that fits
    bool fullscreen;                           // start in desktop fullscreen
    bool windowed;                             // never fullscreen (wins over fullscreen)
    bool gamepad = true;                       // gamepads press the buttons
    HostRenderer renderer = RendererSoftware;  // how the window is drawn
    int16_t keys[HostBoundButtons][HostKeysPerButton] =
        {};  // scancodes per button, 0 unused; none: the usual keys
};

int16_t HostKeyByName(
    const char* name);  // scancode of a key named as SDL names it ("Left Ctrl"), 0 if unknown

// A backend fills this table; host.cpp forwards the plain functions below to it.
struct HostBackend {
    bool (*open)(const HostConfig& config);
    void (*close)();
    uint32_t (*ticks)();
    void (*idle)(uint32_t msUntilDue);
    bool (*pollEvent)(HostEvent* event);
    HostDisplayProperties (*displayProperties)();
    uint8_t* (*beginDraw)();
    void (*endDraw)();
    uint32_t (*seedTicks)();   // milliseconds since the machine started, wrapping at 2^32
    void (*overlay)(bool on);  // while on, presents are shown but are not the game's own picture
};

const HostBackend* HeadlessBackend();  // no window, a virtual clock
const HostBackend* SdlBackend();       // SDL2 window, keyboard, mouse, touch and gamepads
const HostBackend* WebBackend();       // the browser's page (the web edition only)

void HostUse(const HostBackend* backend);  // chooses the backend for every call below

bool HostOpen(const HostConfig& config);  // opens the panel, the window and the input
void HostClose();
uint32_t HostTicks();                  // milliseconds, wrapping at 2^32
uint32_t HostSeedTicks();              // the tick count a run's random seed is taken from
void HostIdle(uint32_t msUntilDue);    // waits, never more than msUntilDue
bool HostPollEvent(HostEvent* event);  // takes the next waiting input event
HostDisplayProperties HostGetDisplayProperties();
uint8_t* HostBeginDraw();      // address of the panel's frame buffer
void HostEndDraw();            // the frame is complete; show it
void HostSetOverlay(bool on);  // presents from now on are an overlay (screenshots keep the game's)
void HostGetDefaultKeys(int16_t codes[8]);  // up, down, left, right, A, B, C, Start

// Files and folders.
std::string HostExecutableFolder();  // folder of the running executable, with trailing '/'
// The user's private folder for locks and sockets, with trailing '/': $XDG_RUNTIME_DIR, else
// $TMPDIR/murko-UID (or /tmp/murko-UID), made when missing; "" when neither is the user's own
// with mode 0700.
std::string HostRuntimeFolder();

// Window and instance.
bool HostClaimSingleInstance();      // false when another windowed game runs (it is brought to the
                                     // front)
void HostLeaveToParent(int parent);  // in a forked child: drops the instance lock and socket,
                                     // dies with the parent (its process id)
bool HostWritePng(const char* path, const uint16_t* rgb565, int width,
                  int height);  // a picture as PNG
bool HostWritePngRgb(FILE* file, const uint32_t* rgb, int width,
                     int height);  // pixels 0xRRGGBB, into a file it closes
