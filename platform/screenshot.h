// F12's screenshots: where they go and the two files written, the picture plain and scaled.
#pragma once

#include <cstdint>
#include <string>

// The player's pictures folder (XDG_PICTURES_DIR of user-dirs.dirs, else ~/Pictures), when it
// exists; else $XDG_DATA_HOME/murko/ (~/.local/share/murko/), made when missing. Ends in '/'; ""
// when there is no home to find either in.
std::string ScreenshotFolder();

// Writes the 240 x 320 picture (pixels 0xRRGGBB) as murko-DATE-TIME.png into folder, and, when
// scale > 1, as murko-DATE-TIME-xN.png with every pixel N x N; an existing name (a link too) gets
// "-2", "-3" ... up to "-99", and is never written. *saved names the files written ("A and B");
// false, with *saved naming the failing file and errno set (EEXIST: every name taken), on error.
bool WriteScreenshots(const std::string& folder, const uint32_t* rgb, int scale,
                      std::string* saved);
