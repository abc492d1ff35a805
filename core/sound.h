// Sound while the game runs: what every screen may ask of the music and the bark.
#pragma once

struct MODULE;

constexpr int MusicVolumeOn = 255;  // the library takes anything above 128 as its full volume

void UpdateSound();  // lets the library mix; called on every pass of the main loop
void SwitchMusic(
    MODULE* music);  // stops the current module and starts music at the volume SoundOn asks
void Bark();         // the bark, while sound is on
void ToggleMute();   // flips SoundOn and sets the music volume to match
void PauseMusic(bool paused);  // holds the playing module where it is, or lets it go on
void ApplyMusicVolume();       // sets the playing module's volume from SoundOn
bool SoundStarted();           // the library runs (on a real driver or the silent one)
bool SoundNeedsFeeding();      // the driver mixes only when UpdateSound is called (not SDL's, which
                               // feeds itself)
void SetSoundStarted(bool started);  // recorded by the start-up and the shut-down
