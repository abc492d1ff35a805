// murko: the game.
#include "app/entry.h"

int main(int argc, char** argv) { return MurkoMain(argc, argv); }
