// murko: the game, in an SDL window (or headless with --headless).
#include "app/shell.h"
#include "platform/host.h"

int main(int argc, char** argv) {
    int code = GameStart(argc, argv, SdlBackend());
    if (code >= 0) return code;
    while (GameStep()) GameRest();
    return GameStop();
}
