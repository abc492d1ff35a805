// (being written)
#include "screens/help.h"

void HelpScreen() {}
