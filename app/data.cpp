// Data folders and start-up loading.
#include "app/data.h"

#include "app/globals.h"
#include "app/options.h"
#include "app/random.h"
#include "platform/host.h"

void BuildDataPaths() {}
void LoadRasterFontFile() {}

void LoadResources() {
    Srand(Options.haveSeed ? Options.seed : HostTicks());
    G.ScreenState = ScreenMainMenu;
    G.SoundOn = 1;
}

void FreeResources() {}
