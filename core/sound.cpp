// Sound while the game runs: the music switch, the bark and the mute toggle, through libmikmod.
#include "core/sound.h"

#include <mikmod.h>

#include "core/globals.h"


static bool Started = false;  // MikMod_Init succeeded: every other library call is safe

bool SoundStarted() { return Started; }
void SetSoundStarted(bool started) { Started = started; }

void UpdateSound() {
    if (Started) MikMod_Update();
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

void Bark() {
    if (G.SoundOn == 1 && Started && G.BarkSample) Sample_Play(G.BarkSample, 0, 0);
}

void ToggleMute() {
    G.SoundOn = int8_t(1 - G.SoundOn);
    ApplyMusicVolume();
}
