// Sprite, tile and icon blits, and the two scrolling views of the maze.
#pragma once

constexpr int MazeViewSize = 240;  // the maze view is the square x 0..239, y 0..239

void DrawDogSprite(int frame, int x, int y, int mirrored);  // 16 x 16, keyed, clipped to the screen
void DrawDogSpriteHalf(int frame, int x,
                       int y);  // 8 x 8 at (x/2, y/2), keyed, clipped to the screen
void DrawSpiderSprite(int frame, int x, int y);  // 18 x 18, keyed, clipped to the maze view
void DrawSpiderSpriteHalf(int frame, int x,
                          int y);       // 9 x 9 at (x/2, y/2), keyed, clipped to the maze view
void DrawTile(int tile, int x, int y);  // 20 x 20, keyed
void DrawExitIcon(int x, int y);        // 16 x 16, opaque
void DrawMazeView(int scrollX,
                  int scrollY);  // the maze at full scale, world pixel (scrollX, scrollY) top-left
void DrawMazeViewHalf(int scrollX, int scrollY);  // the maze at half scale, 10 x 10 pixels a cell
