// (being written)
#include "screens/name_entry.h"

void NewHighScoreScreen() {}
void NameKeyboard() {}
