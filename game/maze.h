// Maze generation: a perfect maze carved depth-first, the way back kept in the cells.
#pragma once

void GenerateMaze();  // fills all of MazeGrid for MazeWidth x MazeHeight; draws rooms - 1 numbers
int IsUncarvedRoom(int x, int y);  // 1 when (x, y) is inside the level and no passage touches it
