// Sound: the two music modules, the bark and the mute toggle, through libmikmod.
#include "app/sound.h"

#include "app/globals.h"

void InitSound() {}
void UpdateSound() {}
void SwitchMusic(MODULE*) {}
void Bark() {}
void ToggleMute() { G.SoundOn = int8_t(1 - G.SoundOn); }
void ShutdownSound() {}
