// Sound while the game runs: the music switch, the bark and the mute toggle, through libmikmod.
#include "core/sound.h"

#include <mikmod.h>

#include "core/globals.h"

constexpr uint32_t SilentBlockMs =
    185;  // the silent driver mixes 8192 samples a call: 186 ms at 44.1 kHz

static bool Started = false;        // MikMod_Init succeeded: every other library call is safe
static bool SilentDriver = false;   // the silent driver plays: its mixing is never heard
static bool SelfFedDriver = false;  // SDL's driver mixes on SDL's audio thread: nothing to feed
static uint32_t LastSilentMix = 0;  // FrameStartTick of the silent driver's last mix

bool SoundStarted() { return Started; }
bool SoundNeedsFeeding() { return Started && !SelfFedDriver; }

void SetSoundStarted(bool started) {
    Started = started;
    SilentDriver = started && md_device == MikMod_DriverFromAlias("nosound");
    SelfFedDriver = started && md_device == MikMod_DriverFromAlias("sdl");
    LastSilentMix = G.FrameStartTick - SilentBlockMs;
}

// The silent driver mixes a whole block on every call, however little time has passed; it is fed
// no faster than it plays, or a headless run would spend most of its time mixing what nobody hears.
void UpdateSound() {
    if (!Started) return;
    if (SilentDriver) {
        if (G.FrameStartTick - LastSilentMix < SilentBlockMs) return;
        LastSilentMix = G.FrameStartTick;
    }
    MikMod_Update();
}

void ApplyMusicVolume() {
    if (Started) Player_SetVolume(G.SoundOn == 1 ? MusicVolumeOn : 0);
}

void SwitchMusic(MODULE* music) {
    if (!Started) return;
    Player_Stop();
    if (music) Player_Start(music);
    ApplyMusicVolume();
}

void PauseMusic(bool paused) {
    if (Started && (Player_Paused() != 0) != paused) Player_TogglePause();
}

void Bark() {
    if (G.SoundOn == 1 && Started && G.BarkSample) Sample_Play(G.BarkSample, 0, 0);
}

void ToggleMute() {
    G.SoundOn = int8_t(1 - G.SoundOn);
    ApplyMusicVolume();
}
