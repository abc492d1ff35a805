// The main menu: the title picture, four items and the chase under the picture.
#pragma once

void MainMenuScreen();  // ScreenMainMenu
