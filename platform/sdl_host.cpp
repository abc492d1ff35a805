// SDL2 backend: the window, keyboard, mouse, touch and gamepads.
#include <SDL.h>

#include "platform/host.h"
#include "platform/panel.h"

static SDL_Window* Window = nullptr;      // the game window
static SDL_Renderer* Renderer = nullptr;  // draws the panel picture into the window
static SDL_Texture* Texture = nullptr;    // the decoded 240 x 320 panel

static bool Open(const HostConfig& config) {
    PanelCreate(config.display);
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_GAMECONTROLLER) != 0) {
        fprintf(stderr, "murko: cannot start SDL: %s\n", SDL_GetError());
        return false;
    }
    int scale = config.scale > 0 ? config.scale : 2;
    Window = SDL_CreateWindow("Murko", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 240 * scale, 320 * scale,
                              SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
    if (!Window) return false;
    Renderer = SDL_CreateRenderer(Window, -1, 0);
    if (!Renderer) return false;
    SDL_RenderSetLogicalSize(Renderer, 240, 320);
    SDL_RenderSetIntegerScale(Renderer, SDL_TRUE);
    Texture = SDL_CreateTexture(Renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, 240, 320);
    return Texture != nullptr;
}

static void Close() {
    if (Texture) SDL_DestroyTexture(Texture);
    if (Renderer) SDL_DestroyRenderer(Renderer);
    if (Window) SDL_DestroyWindow(Window);
    SDL_Quit();
}

static uint32_t Ticks() { return SDL_GetTicks(); }
static void Idle(uint32_t msUntilDue) { SDL_Delay(msUntilDue < 2 ? msUntilDue : 2); }

static int16_t KeyFor(SDL_Scancode code) {
    switch (code) {
        case SDL_SCANCODE_UP: return HostKeyUp;
        case SDL_SCANCODE_DOWN: return HostKeyDown;
        case SDL_SCANCODE_LEFT: return HostKeyLeft;
        case SDL_SCANCODE_RIGHT: return HostKeyRight;
        case SDL_SCANCODE_SPACE: case SDL_SCANCODE_RETURN: case SDL_SCANCODE_Z: case SDL_SCANCODE_LCTRL:
            return HostKeyA;
        default: return 0;
    }
}

static bool PollEvent(HostEvent* event) {
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        *event = HostEvent{};
        if (e.type == SDL_QUIT) {
            event->type = HostEventQuit;
            return true;
        }
        if ((e.type == SDL_KEYDOWN || e.type == SDL_KEYUP) && KeyFor(e.key.keysym.scancode)) {
            event->type = e.type == SDL_KEYDOWN ? HostEventKeyDown : HostEventKeyUp;
            event->key = KeyFor(e.key.keysym.scancode);
            return true;
        }
        if (e.type == SDL_MOUSEBUTTONDOWN && e.button.button == SDL_BUTTON_LEFT) {
            event->type = HostEventPenDown;
            event->x = e.button.x;
            event->y = e.button.y;
            if (event->x >= 0 && event->x < 240 && event->y >= 0 && event->y < 320) return true;
        }
    }
    return false;
}

static uint8_t* BeginDraw() { return PanelAddress(); }

static void EndDraw() {
    static uint32_t rgb[240 * 320];
    PanelDecode(rgb);
    SDL_UpdateTexture(Texture, nullptr, rgb, 240 * 4);
    SDL_RenderClear(Renderer);
    SDL_RenderCopy(Renderer, Texture, nullptr, nullptr);
    SDL_RenderPresent(Renderer);
}

const HostBackend* SdlBackend() {
    static const HostBackend backend = {Open, Close, Ticks, Idle, PollEvent, PanelProperties, BeginDraw, EndDraw};
    return &backend;
}
