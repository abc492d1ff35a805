// Pause: while the player looks away no frame runs, and the window shows the last one dimmed.
// The overlay is drawn with the game's own fonts in place of the back buffer and presented as an
// overlay; the back buffer is then put back, so nothing of the pause stays in the game's picture.
#include "app/pause.h"

#include <cstring>

#include "app/frame_timer.h"
#include "app/present.h"
#include "core/globals.h"
#include "core/layout.h"
#include "core/sound.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "platform/host.h"

constexpr uint16_t HalfBrightness = 0x7BEF;  // each RGB565 channel without its top bit
constexpr uint16_t HintInk = 0xFFFF;         // white
constexpr char PausedTitle[] = "PAUSED";     // in the red font, 16 pixels a letter
constexpr char PausedHint[] = "P, Esc, A or a tap: go on";  // in the raster font, 8 pixels a letter

static bool Allowed = false;                    // the run may pause
static bool Paused = false;                     // the player is away: no frame runs
static uint16_t GamePicture[BackBufferPixels];  // the back buffer, while the overlay borrows it

void AllowPause(bool allowed) { Allowed = allowed; }
bool PauseAllowed() { return Allowed; }
bool GamePaused() { return Paused; }

// Dimmed, with the title and the hint centred; the speaker corner bright, as it works on.
void ShowPauseOverlay() {
    memcpy(GamePicture, G.BackBuffer, sizeof GamePicture);
    for (uint16_t& pixel : G.BackBuffer) pixel = uint16_t((pixel >> 1) & HalfBrightness);
    DrawRedText(PausedTitle, (ScreenWidth - 16 * int(strlen(PausedTitle))) / 2, 136);
    DrawFontText(PausedHint, (ScreenWidth - 8 * int(strlen(PausedHint))) / 2, 164, 1, HintInk);
    DrawSpeakerIcon(SpeakerIconX, SpeakerIconY);
    DrawMuteCross();
    HostSetOverlay(true);
    PresentFrame();
    memcpy(G.BackBuffer, GamePicture, sizeof GamePicture);
}

void PauseGame() {
    Paused = true;
    PauseMusic(true);
    ShowPauseOverlay();
}

void ResumeGame() {
    Paused = false;
    PauseMusic(false);
    HostSetOverlay(false);
    StartFrameTimer();
}
