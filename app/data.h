// Data folders and start-up loading: pictures, the raster font, the high scores, a first level.
#pragma once

#include <cstdint>
#include <string>

void BuildDataPaths();      // finds Graph/, Sound/ and the score file's folder
void LoadRasterFontFile();  // reads "Antique.fnt" into FontGlyphs
void LoadResources();       // everything the game needs before its first frame
void FreeResources();       // blacks out the pictures at shut-down

extern uint16_t* const PictureSlots[];  // the image array of each of PictureFiles, in load order

// The folder rules behind BuildDataPaths, with every input passed in.
std::string FolderWithSlash(const std::string& folder);  // "" -> "./", else with one trailing '/'
std::string FolderOfPath(
    const std::string& path);  // up to and including the last '/', "./" when none
std::string UserDataFolder();  // $XDG_DATA_HOME/murko/ or ~/.local/share/murko/, "" if unknown
// dataDir from --data ("" when not given); installDir the install prefix's data folder; userFolder
// where an installed game keeps its scores ("" when unknown).
void BuildDataPathsFrom(const std::string& exeFolder, const std::string& dataDir,
                        const std::string& installDir, const std::string& userFolder);
