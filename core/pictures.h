// The 26 pictures of the Graph folder, in the order the game loads them: file, size, slot, key.
// The loader, the art tool and the tests all read this one table; it names no game state.
#pragma once

constexpr int RedFontWidth = 160;  // RedFontImage width, used by the loader and the glyphs
constexpr int RedFontHeight = 80;  // RedFontImage height

// Which key colour a picture's users skip: the art tool lets only these pictures hold it.
enum PictureKey {
    PictureOpaque,     // copied or drawn whole: holds neither key colour
    PictureSpriteKey,  // sprites and the fight cloud: pure red is clear
    PictureFontKey,    // the red font: pure blue is clear
};

// X(file, width, height, slot, key) for every picture in load order; slot names the image array
// of the game's record that the picture fills.
#define MURKO_PICTURES(X)                                                       \
    X("dogLeft1.tga", 16, 16, HeroFrames[0], PictureSpriteKey)                  \
    X("dogLeft2.tga", 16, 16, HeroFrames[1], PictureSpriteKey)                  \
    X("dogUp1.tga", 16, 16, HeroFrames[2], PictureSpriteKey)                    \
    X("dogUp2.tga", 16, 16, HeroFrames[3], PictureSpriteKey)                    \
    X("dogDown1.tga", 16, 16, HeroFrames[4], PictureSpriteKey)                  \
    X("dogDown2.tga", 16, 16, HeroFrames[5], PictureSpriteKey)                  \
    X("murko1.tga", 18, 18, SpiderFrames[0], PictureSpriteKey)                  \
    X("murko2.tga", 18, 18, SpiderFrames[1], PictureSpriteKey)                  \
    X("murko3.tga", 18, 18, SpiderFrames[2], PictureSpriteKey)                  \
    X("murko4.tga", 18, 18, SpiderFrames[3], PictureSpriteKey)                  \
    X("murko5.tga", 18, 18, SpiderFrames[4], PictureSpriteKey)                  \
    X("back1.tga", 240, 192, MenuBackImage, PictureOpaque)                      \
    X("panel1.tga", 240, 32, BottomPanelImage, PictureOpaque)                   \
    X("panel2.tga", 240, 80, HudPanelImage, PictureOpaque)                      \
    X("backdrop1.tga", 240, 320, BackdropImage, PictureOpaque)                  \
    X("redfont.tga", RedFontWidth, RedFontHeight, RedFontImage, PictureFontKey) \
    X("speaker.tga", 16, 16, SpeakerImage, PictureOpaque)                       \
    X("exit.tga", 16, 16, ExitImage, PictureOpaque)                             \
    X("brick.tga", 20, 20, TileImages[1], PictureOpaque)                        \
    X("open.tga", 20, 20, TileImages[0], PictureOpaque)                         \
    X("pickFood.tga", 20, 20, TileImages[2], PictureOpaque)                     \
    X("pickBone.tga", 20, 20, TileImages[3], PictureOpaque)                     \
    X("pickDoom.tga", 20, 20, TileImages[4], PictureOpaque)                     \
    X("pickOpen.tga", 20, 20, TileImages[5], PictureOpaque)                     \
    X("cloud1.tga", 20, 20, TileImages[6], PictureSpriteKey)                    \
    X("cloud2.tga", 20, 20, TileImages[7], PictureSpriteKey)

// One picture file: its name in the Graph folder, the size its slot has, its key colour.
struct PictureFile {
    const char* file;  // "dogLeft1.tga" ...
    int width;         // pixels
    int height;        // pixels
    PictureKey key;    // the key colour its users skip
};

#define MURKO_PICTURE_FILE(file, width, height, slot, key) {file, width, height, key},
inline constexpr PictureFile PictureFiles[] = {MURKO_PICTURES(MURKO_PICTURE_FILE)};
#undef MURKO_PICTURE_FILE
