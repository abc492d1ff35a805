// Sound start-up and shut-down: the driver, the two music modules and the bark.
#pragma once

// Starts the library, loads the music and the bark, plays the menu music. A driver that will not
// start is tried again for a second, pumpWhileWaiting called between the tries.
void InitSound(void (*pumpWhileWaiting)());
void ShutdownSound();  // stops and frees the music and the bark, closes the library
