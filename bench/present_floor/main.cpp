// The floor of presenting: a window that only uploads and shows a 240 x 320 picture every 31 ms,
// scaled like the game's, and does nothing else. With --music FILE it also plays that module
// through libmikmod's SDL driver, as the game does, feeding the library once a frame; --frames N
// stops it after N frames; --renderer NAME draws with that SDL renderer (software, straight into
// the window as the game does it, by default; opengl or opengles2).
// bench/report.sh compares the game against it.
#include <SDL.h>
#include <mikmod.h>

#include "platform/first_frame.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

constexpr int Width = 240;        // picture pixels across
constexpr int Height = 320;       // picture pixels down
constexpr uint32_t FrameMs = 31;  // the game's frame spacing

static uint32_t Picture[Width * Height];  // what is uploaded each frame

// Starts the module playing at the game's volume through the SDL driver; false after a message.
static bool StartMusic(const char* path) {
    MikMod_RegisterAllDrivers();
    MikMod_RegisterAllLoaders();
    md_device = uint16_t(MikMod_DriverFromAlias("sdl"));
    if (MikMod_Init("") != 0) return false;
    MikMod_SetNumVoices(-1, 4);
    MikMod_EnableOutput();
    MODULE* music = Player_Load(path, 4, 0);
    if (!music) return false;
    music->wrap = 1;
    Player_Start(music);
    Player_SetVolume(255);
    return true;
}

int main(int argc, char** argv) {
    int scale = 2;
    const char* musicFile = nullptr;
    const char* rendererName = "software";
    long frameLimit = -1;
    for (int i = 1; i + 1 < argc; i++) {
        if (!strcmp(argv[i], "--scale")) scale = atoi(argv[i + 1]);
        if (!strcmp(argv[i], "--frames")) frameLimit = atol(argv[i + 1]);
        if (!strcmp(argv[i], "--music")) musicFile = argv[i + 1];
        if (!strcmp(argv[i], "--renderer")) rendererName = argv[i + 1];
    }
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, rendererName);
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, strcmp(rendererName, "software") ? "1" : "0");
    if (scale < 1 || scale > 16) {
        fprintf(stderr, "murko_present_floor: bad scale\n");
        return 2;
    }
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        fprintf(stderr, "murko_present_floor: %s\n", SDL_GetError());
        return 1;
    }
    SDL_Window* window =
        SDL_CreateWindow("Murko floor", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                         Width * scale, Height * scale, SDL_WINDOW_ALLOW_HIGHDPI);
    SDL_Renderer* renderer = window ? SDL_CreateRenderer(window, -1, 0) : nullptr;
    SDL_Texture* texture = renderer ? SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888,
                                                        SDL_TEXTUREACCESS_STREAMING, Width, Height)
                                    : nullptr;
    if (!texture) {
        fprintf(stderr, "murko_present_floor: %s\n", SDL_GetError());
        return 1;
    }
    SDL_SetTextureScaleMode(texture, SDL_ScaleModeNearest);
    if (musicFile && !StartMusic(musicFile)) {
        fprintf(stderr, "murko_present_floor: cannot play %s: %s\n", musicFile,
                MikMod_strerror(MikMod_errno));
        return 1;
    }
    SDL_Rect target = {0, 0, Width * scale, Height * scale};
    uint32_t next = SDL_GetTicks();
    for (uint32_t frame = 0;; frame++) {
        SDL_Event e;
        while (SDL_PollEvent(&e))
            if (e.type == SDL_QUIT) {
                SDL_Quit();
                return 0;
            }
        if (musicFile) MikMod_Update();
        Picture[frame % (Width * Height)] = frame * 2654435761u;  // a changing picture, at no cost
        SDL_UpdateTexture(texture, nullptr, Picture, Width * 4);
        SDL_RenderClear(renderer);
        SDL_RenderCopy(renderer, texture, nullptr, &target);
        SDL_RenderPresent(renderer);
        NoteFrameShown();  // with MURKO_TIME_FIRST_FRAME set, the start-up time, as the game prints
                           // it
        if (frameLimit >= 0 && long(frame) + 1 >= frameLimit) break;
        next += FrameMs;
        int32_t wait = int32_t(next - SDL_GetTicks());
        if (wait > 0) SDL_Delay(uint32_t(wait));
    }
    SDL_Quit();
    return 0;
}
