// Sound: the two music modules, the bark and the mute toggle, through libmikmod.
#pragma once

struct MODULE;

void InitSound();                 // starts the library, loads the music and the bark, plays the menu music
void UpdateSound();               // lets the library mix; called on every pass of the main loop
void SwitchMusic(MODULE* music);  // stops the current module and starts music at the volume SoundOn asks
void Bark();                      // the bark, while sound is on
void ToggleMute();                // flips SoundOn and sets the music volume to match
void ApplyMusicVolume();          // sets the playing module's volume from SoundOn
void ShutdownSound();             // stops and frees the music
bool SoundStarted();              // the library runs (on a real driver or the silent one)
