// The three help pages.
#pragma once

void HelpScreen();  // ScreenHelp
