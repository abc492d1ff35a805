// murko: the game, in an SDL window (or headless with --headless).
#include "app/entry.h"
#include "platform/host.h"

int main(int argc, char** argv) { return MurkoMain(argc, argv, SdlBackend()); }
