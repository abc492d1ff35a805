// Where the 240 x 320 picture sits in the window, and which screen pixel a pointer lands on.
#pragma once

#include <cstdint>

constexpr int PictureWidth = 240;   // screen pixels across
constexpr int PictureHeight = 320;  // screen pixels down

// The picture's place in the window's drawable, in drawable pixels.
struct PictureRect {
    int x, y;  // top-left corner
    int w, h;  // size: a whole multiple of 240 x 320 whenever the drawable is big enough
};

// Largest whole-number scale that fits the drawable, centred with black bars around it.
// A drawable smaller than 240 x 320 gets the picture shrunk to fit, keeping its shape.
PictureRect FitPicture(int drawableW, int drawableH);

// Window scale for a start without --scale: the largest whole number whose window, with a title
// bar of titleH points, fits the usable desktop; at least 1.
int ChooseWindowScale(int usableW, int usableH, int titleH);

// Maps a pointer at (x, y) in window points to a screen pixel. The drawable may have more pixels
// than the window has points (HiDPI). False when the point lies outside the picture.
bool MapWindowPoint(int windowW, int windowH, int drawableW, int drawableH, double x, double y,
                    int32_t* screenX, int32_t* screenY);
