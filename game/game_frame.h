// One frame of the game: camera, picture, hero, spiders, fights and the heads-up display.
#pragma once

void GameFrame();  // ScreenGame
