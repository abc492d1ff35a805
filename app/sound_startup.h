// Sound start-up and shut-down: the driver, the two music modules and the bark.
#pragma once

void InitSound();      // starts the library, loads the music and the bark, plays the menu music
void ShutdownSound();  // stops and frees the music and the bark, closes the library
