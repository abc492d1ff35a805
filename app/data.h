// Data folders and start-up loading: pictures, the raster font, the high scores, a first level.
#pragma once

void BuildDataPaths();      // finds Graph/, Sound/ and the score file's folder
void LoadRasterFontFile();  // reads "Antique.fnt" into FontGlyphs
void LoadResources();       // everything the game needs before its first frame
void FreeResources();       // releases the pictures at shut-down
