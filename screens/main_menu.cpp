// (being written)
#include "screens/main_menu.h"

void MainMenuScreen() {}
