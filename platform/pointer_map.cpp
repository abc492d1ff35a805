// Picture placement in the window and the stylus mapping from window points to screen pixels.
#include "platform/pointer_map.h"

#include <cmath>

PictureRect FitPicture(int drawableW, int drawableH) {
    int scale = drawableW / PictureWidth < drawableH / PictureHeight ? drawableW / PictureWidth
                                                                     : drawableH / PictureHeight;
    PictureRect r;
    if (scale >= 1) {
        r.w = PictureWidth * scale;
        r.h = PictureHeight * scale;
    } else if (drawableW * PictureHeight < drawableH * PictureWidth) {  // narrower than 3:4
        r.w = drawableW > 1 ? drawableW : 1;
        r.h = r.w * PictureHeight / PictureWidth;
    } else {
        r.h = drawableH > 1 ? drawableH : 1;
        r.w = r.h * PictureWidth / PictureHeight;
    }
    if (r.w < 1) r.w = 1;
    if (r.h < 1) r.h = 1;
    r.x = (drawableW - r.w) / 2;
    r.y = (drawableH - r.h) / 2;
    return r;
}

int ChooseWindowScale(int usableW, int usableH, int titleH) {
    int byWidth = usableW / PictureWidth;
    int byHeight = (usableH - titleH) / PictureHeight;
    int scale = byWidth < byHeight ? byWidth : byHeight;
    return scale >= 1 ? scale : 1;
}

bool MapWindowPoint(int windowW, int windowH, int drawableW, int drawableH, double x, double y,
                    int32_t* screenX, int32_t* screenY) {
    if (windowW <= 0 || windowH <= 0 || drawableW <= 0 || drawableH <= 0) return false;
    if (!std::isfinite(x) || !std::isfinite(y)) return false;
    PictureRect r = FitPicture(drawableW, drawableH);
    // Window points to drawable pixels, then to the picture's own pixels.
    double px = x * drawableW / windowW - r.x;
    double py = y * drawableH / windowH - r.y;
    double sx = std::floor(px * PictureWidth / r.w);
    double sy = std::floor(py * PictureHeight / r.h);
    if (sx < 0 || sx >= PictureWidth || sy < 0 || sy >= PictureHeight) return false;
    *screenX = int32_t(sx);
    *screenY = int32_t(sy);
    return true;
}
