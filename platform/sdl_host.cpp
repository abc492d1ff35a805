// SDL2 backend: the window, its scale, letterbox and fullscreen, the clock, the present and F12
// screenshots.
#include <SDL.h>
#include <time.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/icon.h"
#include "platform/instance.h"
#include "platform/panel.h"
#include "platform/plain_decode.h"
#include "platform/pointer_map.h"
#include "platform/screenshot.h"
#include "platform/sdl_backend.h"

constexpr uint32_t VideoSystems = SDL_INIT_VIDEO;  // the SDL parts this half starts and stops
constexpr int TitleAllowance = 40;        // points kept free for a title bar when choosing a scale
constexpr uint32_t TitleNoticeMs = 4000;  // how long the title tells where a screenshot went
constexpr char Title[] = "Murko";         // the window's title

static SDL_Window* Window = nullptr;      // the game window
static SDL_Renderer* Renderer = nullptr;  // draws the panel picture into the window
static SDL_Texture* Texture = nullptr;    // the decoded 240 x 320 panel
static bool NeverFullscreen = false;      // --windowed: the fullscreen toggle does nothing
static uint32_t Decoded[PictureWidth * PictureHeight];  // the panel decoded to 0xRRGGBB for upload
static uint32_t OverlayDecoded[PictureWidth * PictureHeight];  // an overlay, decoded alike
static bool OverlayOn = false;  // presents are an overlay; Decoded keeps the game's own picture
static int PlainPitch = 0;      // > 0: the panel holds plain RGB565 rows this many bytes apart
static uint32_t TitleNoticeUntil =
    0;  // tick at which the title goes back to "Murko"; 0 when it shows that

static int WindowScale(const HostConfig& config) {
    if (config.scale > 0) return config.scale;
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return 2;
    return ChooseWindowScale(usable.w, usable.h, TitleAllowance);
}

static void SetIcon() {
    static uint32_t pixels[IconSize * IconSize];  // kept while SDL copies them
    IconPixels(pixels);
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(pixels, IconSize, IconSize, 32,
                                                           IconSize * 4, SDL_PIXELFORMAT_ARGB8888);
    if (!icon) return;
    SDL_SetWindowIcon(Window, icon);
    SDL_FreeSurface(icon);
}

static bool CreateWindow(const HostConfig& config) {
    int scale = WindowScale(config);
    uint32_t flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
    if (config.fullscreen && !config.windowed) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    Window = SDL_CreateWindow(Title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                              PictureWidth * scale, PictureHeight * scale, flags);
    if (!Window) {
        fprintf(stderr, "murko: cannot create the window: %s\n", SDL_GetError());
        return false;
    }
    SDL_SetWindowMinimumSize(Window, PictureWidth, PictureHeight);
    SetIcon();
    return true;
}

static bool CreateRenderer() {
    Renderer = SDL_CreateRenderer(Window, -1, 0);
    if (!Renderer) {
        fprintf(stderr, "murko: cannot draw into the window: %s\n", SDL_GetError());
        return false;
    }
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    Texture = SDL_CreateTexture(Renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                PictureWidth, PictureHeight);
    if (!Texture) {
        fprintf(stderr, "murko: cannot make the picture texture: %s\n", SDL_GetError());
        return false;
    }
    SDL_SetTextureScaleMode(Texture, SDL_ScaleModeNearest);
    return true;
}

// SDL falls back to an invisible display when there is no real one; a window nobody can see would
// leave the game running unseen, so that one counts only when asked for by name.
static bool RealDisplay() {
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* asked = SDL_getenv("SDL_VIDEODRIVER");
    bool invisible = driver && (!strcmp(driver, "offscreen") || !strcmp(driver, "dummy"));
    return !invisible || (asked && !strcmp(asked, driver));
}

static void Close();

static bool Open(const HostConfig& config) {
    PanelCreate(config.display);
    PlainPitch = PlainRowPitch(PanelProperties());
    NeverFullscreen = config.windowed;
    // Every failure goes through Close, which also gives up the single-instance lock.
    if (SDL_InitSubSystem(VideoSystems) != 0) {
        fprintf(stderr, "murko: cannot start SDL video: %s\n", SDL_GetError());
        Close();
        return false;
    }
    if (!RealDisplay()) {
        fprintf(stderr, "murko: no display to open a window on (--headless runs without one)\n");
        Close();
        return false;
    }
    if (!CreateWindow(config) || !CreateRenderer() || !SdlInputOpen(config)) {
        Close();
        return false;
    }
    SdlRedraw();
    return true;
}

static void Close() {
    SdlInputClose();
    // Someone else may already have stopped SDL video, taking the window with it.
    if (SDL_WasInit(SDL_INIT_VIDEO)) {
        if (Texture) SDL_DestroyTexture(Texture);
        if (Renderer) SDL_DestroyRenderer(Renderer);
        if (Window) SDL_DestroyWindow(Window);
        SDL_QuitSubSystem(VideoSystems);
    }
    Texture = nullptr;
    Renderer = nullptr;
    Window = nullptr;
    // Sound may still hold SDL audio; SDL as a whole stops only when nothing is left running.
    if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();
    InstanceRelease(&TheInstance);
}

static uint32_t Ticks() { return SDL_GetTicks(); }

// Milliseconds since the machine booted, as the handheld's tick count: SDL's own clock starts at
// zero with the game, so nearly every start would be seeded alike.
static uint32_t SeedTicks() {
    timespec now = {0, 0};
    if (clock_gettime(CLOCK_BOOTTIME, &now) != 0) clock_gettime(CLOCK_MONOTONIC, &now);
    return uint32_t(uint64_t(now.tv_sec) * 1000u + uint64_t(now.tv_nsec) / 1000000u);
}

// Rests msUntilDue ms with a nanosecond sleep; the loop asks for short rests when the mixer needs
// feeding.
static void Idle(uint32_t msUntilDue) {
    uint32_t ms = msUntilDue;
    if (ms == 0) return;
    timespec rest = {0, long(ms) * 1000000L};
    while (nanosleep(&rest, &rest) != 0) {}
}

void SdlRedraw() {
    if (!Renderer) return;
    int w = 0, h = 0;
    SDL_GetRendererOutputSize(Renderer, &w, &h);
    PictureRect fit = FitPicture(w, h);
    SDL_Rect target = {fit.x, fit.y, fit.w, fit.h};
    SDL_SetRenderDrawColor(Renderer, 0, 0, 0, 255);
    SDL_RenderClear(Renderer);
    SDL_RenderCopy(Renderer, Texture, nullptr, &target);
    SDL_RenderPresent(Renderer);
}

static uint8_t* BeginDraw() { return PanelAddress(); }

static void EndDraw() {
    uint32_t* picture = OverlayOn ? OverlayDecoded : Decoded;
    if (PlainPitch)
        DecodePlainRows(PanelAddress(), PlainPitch, picture);
    else
        PanelDecode(picture);
    SDL_UpdateTexture(Texture, nullptr, picture, PictureWidth * 4);
    SdlRedraw();
    if (TitleNoticeUntil && int32_t(SDL_GetTicks() - TitleNoticeUntil) >= 0) {
        SDL_SetWindowTitle(Window, Title);
        TitleNoticeUntil = 0;
    }
}

// Leaving the overlay shows the game's own picture again.
static void SetOverlay(bool on) {
    OverlayOn = on;
    if (on || !Texture) return;
    SDL_UpdateTexture(Texture, nullptr, Decoded, PictureWidth * 4);
    SdlRedraw();
}

// The game's own picture last shown, as the player saw it, into the pictures (or data) folder:
// plain, and at the window's scale. Where it went shows in the title for a few seconds, and on
// stderr.
void SdlSaveScreenshot() {
    if (!Renderer) return;
    int w = 0, h = 0;
    SDL_GetRendererOutputSize(Renderer, &w, &h);
    std::string folder = ScreenshotFolder(), saved;
    bool ok = !folder.empty() &&
              WriteScreenshots(folder, Decoded, FitPicture(w, h).w / PictureWidth, &saved);
    if (ok)
        fprintf(stderr, "murko: screenshot saved to %s\n", saved.c_str());
    else
        fprintf(stderr, "murko: cannot save a screenshot %s: %s\n",
                folder.empty() ? "(no home folder)" : saved.c_str(), strerror(errno));
    std::string title =
        std::string(Title) + (ok ? " - screenshot saved in " + folder : " - screenshot not saved");
    SDL_SetWindowTitle(Window, title.c_str());
    TitleNoticeUntil = SDL_GetTicks() + TitleNoticeMs;
    if (!TitleNoticeUntil) TitleNoticeUntil = 1;
}

void SdlToggleFullscreen() {
    if (NeverFullscreen || !Window) return;
    bool full = SDL_GetWindowFlags(Window) & SDL_WINDOW_FULLSCREEN_DESKTOP;
    if (SDL_SetWindowFullscreen(Window, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP) != 0)
        fprintf(stderr, "murko: cannot switch fullscreen: %s\n", SDL_GetError());
}

void SdlShowWindow() {
    if (!Window) return;
    SDL_ShowWindow(Window);
    if (SDL_GetWindowFlags(Window) & SDL_WINDOW_MINIMIZED) SDL_RestoreWindow(Window);
    SDL_RaiseWindow(Window);
}

bool SdlMapPointer(double x, double y, int32_t* screenX, int32_t* screenY) {
    if (!Window || !Renderer) return false;
    int ww = 0, wh = 0, dw = 0, dh = 0;
    SDL_GetWindowSize(Window, &ww, &wh);
    SDL_GetRendererOutputSize(Renderer, &dw, &dh);
    return MapWindowPoint(ww, wh, dw, dh, x, y, screenX, screenY);
}

bool SdlMapTouch(float x, float y, int32_t* screenX, int32_t* screenY) {
    if (!Window) return false;
    int ww = 0, wh = 0;
    SDL_GetWindowSize(Window, &ww, &wh);
    return SdlMapPointer(double(x) * ww, double(y) * wh, screenX, screenY);
}

const HostBackend* SdlBackend() {
    static const HostBackend backend = {Open,         Close,           Ticks,     Idle,
                                        SdlPollEvent, PanelProperties, BeginDraw, EndDraw,
                                        SeedTicks,    SetOverlay};
    return &backend;
}
