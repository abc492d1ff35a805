// Maze generation: a perfect maze carved depth-first, the way back kept in the cells.
#pragma once

void GenerateMaze();                // fills MazeGrid for MazeWidth x MazeHeight
int IsUncarvedRoom(int x, int y);   // 1 when (x, y) is inside the level and no passage touches it
