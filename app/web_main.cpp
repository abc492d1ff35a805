// murko in the browser: the page's animation frames step the game; a headless run loops at once.
#include <emscripten.h>

#include "app/main_loop.h"
#include "app/options.h"
#include "app/shell.h"
#include "app/state_dump.h"
#include "core/globals.h"
#include "platform/host.h"
#include "platform/web_host.h"

static bool Running = false;  // the page's loop steps the game

// One animation frame of the page. Once the run is over the page is told its exit code.
static void Step() {
    if (GameStep()) return;
    emscripten_cancel_main_loop();
    Running = false;
    int code = GameStop();
    EM_ASM(
        {
            if (Module.murkoStopped) Module.murkoStopped($0);
        },
        code);
}

// The page's keys type letters, not commands, while the player's name is being entered.
extern "C" EMSCRIPTEN_KEEPALIVE int WebTakesText() { return G.ScreenState == ScreenNewHighScore; }

// The running game's state dump, for the page's murkoState (the same file --dump-state writes).
extern "C" EMSCRIPTEN_KEEPALIVE int WebDumpState(const char* path) { return WriteStateDump(path); }

// The tab was hidden: the game pauses now, between two frames, as a window losing the focus
// pauses it at the end of one; a hidden tab gets no animation frame that could.
extern "C" EMSCRIPTEN_KEEPALIVE void WebLookedAway() {
    if (!Running) return;
    WebQueueLookedAway();
    PumpMessages(0);
}

// The page may be dropped (hidden, or unloaded): a run in progress goes to its suspend file.
extern "C" EMSCRIPTEN_KEEPALIVE void WebSuspend() {
    if (Running) GameSuspend();
}

int main(int argc, char** argv) {
    int code = GameStart(argc, argv, WebBackend());
    if (code >= 0) return code;
    if (Options.headless) {
        while (GameStep()) GameRest();
        return GameStop();
    }
    Running = true;
    emscripten_set_main_loop(Step, 0, 1);  // never returns: the browser owns the loop
    return 0;
}
