// The browser's backend: the page shows each frame on its canvas and hands in keys, touches and
// gamepads through the exported Web* calls; the clock is the page's.
#include "platform/web_host.h"

#include <emscripten.h>

#include "platform/button_merge.h"
#include "platform/panel.h"
#include "platform/plain_decode.h"
#include "platform/pointer_map.h"

constexpr int WebQueueSize = 64;  // taps and typed keys that can wait for one pump
constexpr int StickAxes = 2;      // a stick's x and y
constexpr int PixelCount = PictureWidth * PictureHeight;  // pixels of one picture

static ButtonMerge Merge;                       // every button source merged
static HostEvent Queue[WebQueueSize];           // taps and typed keys, oldest first
static int QueueHead = 0, QueueCount = 0;       // ring position and fill of Queue
static int8_t Sticks[MergeSources][StickAxes];  // each stick source's state per axis
static int PlainPitch = 0;                      // > 0: the panel holds plain rows
static uint32_t Decoded[PixelCount];            // the panel as 0xRRGGBB
static uint32_t Rgba[PixelCount];               // the game's own picture, as the canvas takes it
static uint32_t OverlayRgba[PixelCount];        // an overlay, alike
static bool OverlayOn = false;                  // presents are an overlay; Rgba keeps the game's

extern "C" {
void WebShowPicture(const uint32_t* rgba, int width, int height);  // onto the page's canvas
uint32_t WebWallClockMs();  // the wall clock: a start's seed differs from the last one's
}

static void Push(const HostEvent& e) {
    if (QueueCount == WebQueueSize) return;
    Queue[(QueueHead + QueueCount++) % WebQueueSize] = e;
}

static void ReleaseEverything() {
    for (int source = 0; source < MergeSources; source++) MergeReleaseSource(&Merge, source);
    for (auto& stick : Sticks) stick[0] = stick[1] = 0;
}

static bool Open(const HostConfig& config) {
    PanelCreate(config.display);
    PlainPitch = PlainRowPitch(PanelProperties());
    MergeReset(&Merge);
    ReleaseEverything();
    QueueHead = QueueCount = 0;
    return true;
}

static void Close() {}
static uint32_t Ticks() { return uint32_t(uint64_t(emscripten_get_now())); }
static void Idle(uint32_t) {}  // the browser calls again when it is time; nothing waits here

static bool PollEvent(HostEvent* event) {
    if (MergeTake(&Merge, event)) return true;
    if (QueueCount == 0) return false;
    *event = Queue[QueueHead];
    QueueHead = (QueueHead + 1) % WebQueueSize;
    QueueCount--;
    return true;
}

static uint8_t* BeginDraw() { return PanelAddress(); }

static void EndDraw() {
    if (PlainPitch)
        DecodePlainRows(PanelAddress(), PlainPitch, Decoded);
    else
        PanelDecode(Decoded);
    uint32_t* picture = OverlayOn ? OverlayRgba : Rgba;
    for (int i = 0; i < PixelCount; i++) {  // 0xRRGGBB to the bytes R, G, B, 255
        uint32_t p = Decoded[i];
        picture[i] = 0xFF000000u | (p & 0xFF) << 16 | (p & 0xFF00) | (p >> 16 & 0xFF);
    }
    WebShowPicture(picture, PictureWidth, PictureHeight);
}

// Leaving the overlay shows the game's own picture again.
static void SetOverlay(bool on) {
    OverlayOn = on;
    if (!on) WebShowPicture(Rgba, PictureWidth, PictureHeight);
}

void WebQueueLookedAway() {
    ReleaseEverything();
    HostEvent e = {};
    e.type = HostEventFocusLost;
    Push(e);
}

// Every tab may hold a game of its own, each with its own memory.
bool HostClaimSingleInstance() { return true; }
void HostLeaveToParent(int) {}  // a browser makes no child processes to leave

const HostBackend* WebBackend() {
    static const HostBackend backend = {Open,           Close,           Ticks,     Idle,
                                        PollEvent,      PanelProperties, BeginDraw, EndDraw,
                                        WebWallClockMs, SetOverlay};
    return &backend;
}

extern "C" {

EMSCRIPTEN_KEEPALIVE void WebButton(int button, int down, int source) {
    if (down)
        MergePress(&Merge, button, source);  // a key's repeats press A again, as the device did
    else
        MergeRelease(&Merge, button, source);
}

EMSCRIPTEN_KEEPALIVE void WebStick(int source, int axis, int value) {
    if (source < 0 || source >= MergeSources || axis < 0 || axis >= StickAxes) return;
    if (axis == 0)
        MergeStickAxis(&Merge, &Sticks[source][0], value, ButtonLeft, ButtonRight, source);
    else
        MergeStickAxis(&Merge, &Sticks[source][1], value, ButtonUp, ButtonDown, source);
}

EMSCRIPTEN_KEEPALIVE void WebReleaseAll() { ReleaseEverything(); }

EMSCRIPTEN_KEEPALIVE void WebTap(int x, int y) {
    if (x < 0 || x >= PictureWidth || y < 0 || y >= PictureHeight) return;
    HostEvent e = {};
    e.type = HostEventPenDown;
    e.x = x;
    e.y = y;
    Push(e);
}

// P, Esc or a pad's Start: the game pauses, or goes on.
EMSCRIPTEN_KEEPALIVE void WebPause(int key) {
    if (key != 'P' && key != 27 && key != HostKeyStart) return;
    HostEvent e = {};
    e.type = HostEventPause;
    e.key = int16_t(key);
    Push(e);
}

EMSCRIPTEN_KEEPALIVE void WebTyped(int character) {
    if (character != 8 && character != 13 && (character < 32 || character > 126)) return;
    HostEvent e = {};
    e.type = HostEventTyped;
    e.key = int16_t(character);
    Push(e);
}

}  // extern "C"
