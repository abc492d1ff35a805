// GameGlobals: the one record that holds all of the game's state.
#pragma once

#include <cstdint>
#include <string>

#include "core/directions.h"
#include "core/pictures.h"

struct MODULE;  // libmikmod module handle
struct SAMPLE;  // libmikmod sample handle

constexpr int ScreenWidth = 240;                              // back buffer width in pixels
constexpr int ScreenHeight = 320;                             // back buffer height in pixels
constexpr int BackBufferPixels = ScreenWidth * ScreenHeight;  // 76,800 RGB565 pixels

// ScreenState values.
enum : int8_t {
    ScreenGame = 0,
    ScreenHighScores = 1,
    ScreenMainMenu = 2,
    ScreenNewHighScore = 3,
    ScreenHelp = 4,
    ScreenLevelSelect = 5,
    ScreenLevelComplete = 6,
};
constexpr int ScreenCount = 7;  // ScreenState values, 0 .. 6: one screen handler each

// Maze cell codes; the code is also the tile slot that draws the cell.
enum : int8_t {
    CellOpen = 0,
    CellWall = 1,
    CellFood = 2,
    CellBone = 3,
    CellPoison = 4,
    CellTaken = 5,
};
// Codes that exist only while GenerateMaze runs (with the way-back codes of core/directions.h).
enum : int8_t {
    CarveStartMark = 99,
};

constexpr int MazeStride = 100;                     // bytes per maze column, at every level size
constexpr int MazeCells = MazeStride * MazeStride;  // 10,000 cells
constexpr int CellSize = 20;                        // world pixels per cell side
constexpr int SpiderSlots = 150;                    // records in SpiderTable
constexpr int MaxEnergy = 135;                      // full energy bar
constexpr uint16_t SpriteKeyColour = 0xF800;        // transparent value of sprites and tiles
constexpr uint16_t RedFontKeyColour = 0x001F;       // transparent value of the red font picture
constexpr int HighScoreEntries = 10;                // rows of the high-score table

// One entry of the host key list: key code and (unused) screen point.
struct KeyListEntry {
    int16_t code;  // host key code
    int32_t x;     // unused
    int32_t y;     // unused
};
// Key list order.
enum {
    KeyUp = 0,
    KeyDown = 1,
    KeyLeft = 2,
    KeyRight = 3,
    KeyA = 4,
    KeyB = 5,
    KeyC = 6,
    KeyStart = 7
};

// One slot of SpiderTable: a spider of the level, where it stands and walks, and its strength.
struct SpiderRecord {
    int16_t x;          // world pixels, left edge
    int16_t y;          // world pixels, top edge
    int16_t direction;  // SpiderRight, SpiderLeft, SpiderDown or SpiderUp
    int16_t active;     // 1 while roaming
    int16_t stepsLeft;  // moving frames left in the current step
    int16_t strength;   // beaten at 0 or below
};

// One row of the high-score table; also the 20-byte record of "Mhighscore.dat".
struct HighScoreEntry {
    char name[12];     // up to 10 characters, zero-filled
    int32_t score;     // little-endian on disk
    int32_t reserved;  // 0 in every table we write
};
static_assert(sizeof(HighScoreEntry) == 20, "the score file stores 20-byte records");

struct GameGlobals {
    // --- Shell: frame loop and display ---
    uint16_t
        BackBuffer[BackBufferPixels];  // the 240 x 320 RGB565 picture every frame is drawn into
    KeyListEntry KeyList[8];           // host key codes: up, down, left, right, A, B, C, Start
    int32_t DisplayBpp;                // device bits per pixel: 2, 4 or 16
    int32_t DisplayXPitch;             // device bytes between horizontally adjacent pixels
    int32_t DisplayYPitch;             // device bytes between vertically adjacent pixels
    uint32_t FrameStartTick;           // millisecond tick at the start of the current frame
    int8_t ScreenState;                // current screen, 0..6
    uint8_t QuitRequested;             // 1 ends the main loop at the next frame start
    uint8_t Unused1[2];                // no hidden padding (see core/global_fields.h)
    uint32_t RandomState;              // state of the game's random generator
    uint32_t FrameCount;               // frames the main loop has run

    // --- Input latches ---
    int32_t ALatch;       // an unread press of A
    int32_t LeftDown;     // the left key is down
    int32_t RightDown;    // the right key is down
    int32_t UpDown;       // the up key is down
    int32_t DownDown;     // the down key is down
    uint8_t TapConsumed;  // 1 = no unread tap
    uint8_t Unused2[3];   // no hidden padding (see core/global_fields.h)
    int32_t TapPosX;      // x of the last pen-down, screen pixels
    int32_t TapPosY;      // y of the last pen-down, screen pixels
    int32_t TypedKey;     // an unread key typed on the desktop keyboard (see KeyTyped), 0 none

    // --- Data folders and pictures ---
    // The score file's folder, with trailing '/': beside the executable (or --data), or the
    // player's data folder for an installed game. The name is the handheld's, whose scores lived
    // beside its program.
    std::string ProgramFolder;
    std::string SoundFolder;          // folder of the music and the bark, with trailing '/'
    std::string GraphFolder;          // folder of the pictures and "Antique.fnt", with trailing '/'
    uint8_t FontGlyphs[4096];         // "Antique.fnt": 256 glyphs of 16 rows, bit 7 leftmost
    uint8_t RedFontCharMap[256];      // character code -> red font cell + 1, 0 = no glyph
    uint16_t HeroFrames[6][16 * 16];  // dogLeft1..dogDown2
    uint16_t SpiderFrames[5][18 * 18];    // murko1..murko5
    uint16_t TileImages[10][20 * 20];     // open, brick, food, bone, poison, taken, cloud1, cloud2,
                                          // (8, 9 unused)
    uint16_t MenuBackImage[240 * 192];    // back1.tga
    uint16_t BottomPanelImage[240 * 32];  // panel1.tga
    uint16_t HudPanelImage[240 * 80];     // panel2.tga
    uint16_t BackdropImage[240 * 320];    // backdrop1.tga
    uint16_t RedFontImage[RedFontWidth * RedFontHeight];  // redfont.tga
    uint16_t SpeakerImage[16 * 16];                       // speaker.tga
    uint16_t ExitImage[16 * 16];                          // exit.tga

    // --- Sound ---
    MODULE* MenuMusic;   // "music.mod", front-end screens
    MODULE* GameMusic;   // "music1.mod", from PLAY GAME to the end of the run
    SAMPLE* BarkSample;  // "bark.wav"
    int8_t SoundOn;      // 1 sound on, 0 muted

    // --- The maze ---
    int8_t MazeGrid[MazeCells];  // cell (x, y) at x * 100 + y
    int8_t Unused3;              // no hidden padding (see core/global_fields.h)
    int16_t MazeWidth;           // columns in use
    int16_t MazeHeight;          // rows in use

    // --- Run and level ---
    int16_t Level;           // 0-based level number
    int32_t Score;           // the run's score (32 bits: a long run passes 32767)
    int16_t Energy;          // 0..MaxEnergy
    int16_t BonesNeeded;     // bones that finish the level
    int16_t BonesCollected;  // bones taken on this level
    int16_t PoisonCarried;   // 1 while a dose of poison is carried
    int16_t FightPhase;      // 0 no fight, 1..3 while a fight runs
    int16_t FightSpider;     // slot of the spider being fought
    int16_t MapView;         // 1 while the half-scale map is shown
    int16_t SpiderCount;     // spiders (and food items) for this level
    int16_t PoisonCount;     // poison items for this level

    // --- Hero and camera ---
    int16_t HeroX;           // hero box left edge, world pixels
    int16_t HeroY;           // hero box top edge, world pixels
    int16_t HeroDirection;   // HeroNone, or HeroLeft .. HeroDown while walking
    int16_t HeroMoving;      // 1 while between two cells
    int16_t HeroFrame;       // walk animation frame 0..7
    int16_t HeroFrameTimer;  // frames since the last animation change
    int16_t CameraX;         // world pixel column at the view's left edge
    int16_t CameraY;         // world pixel row at the view's top edge

    // --- Spiders ---
    SpiderRecord SpiderTable[SpiderSlots];  // every spider of the level
    int16_t SpiderOccupancy[MazeCells];     // slot + 1 of the spider placed in a cell, 0 free

    // --- Main menu, level transitions and help ---
    int16_t MenuChaseDirection;  // ChaseRight or ChaseLeft: the way the chase runs
    int16_t MenuChasePos;        // 0, 2 .. 398: position counter of the current pass
    int16_t MenuDogFrame;        // walking frame of the chasing dog, 0 or 1
    int16_t TransitionAngle;     // degrees, 0, 3 .. 357: swing of the level-complete lines
    int16_t HelpPage;            // help page shown, 0..2

    // --- High scores and name entry ---
    HighScoreEntry HighScoreTable[HighScoreEntries];  // best first
    char EnteredName[20];                             // the name being typed, zero-filled
    int32_t EnteredNameLength;                        // characters in EnteredName, 0..10
    int32_t KeyFlashFrames;                           // 0 idle; 1..4 while a pressed key is lit
    int32_t ShiftOn;      // one-shot shift, cleared by the next character key
    int32_t CapsLockOn;   // caps lock
    int32_t LastKeyRow;   // row 0..3 of the last character key
    int32_t LastKeyCode;  // column 0..9 of the last character key, or 11 Space .. 14 Caps Lock

    // --- Pad highlight on the front-end screens ---
    int8_t HighlightShown;   // 1 from a direction pressed on a front-end screen until the next
                             // pointer tap
    int8_t HighlightScreen;  // screen HighlightItem belongs to; another screen starts at its first
                             // item
    int16_t HighlightItem;   // the highlighted item: an index into that screen's item table
    int8_t HighlightHeld;    // directions held in the last front-end frame: PadUp .. PadRight bits
    int8_t Unused4;          // no hidden padding (see core/global_fields.h)
    int16_t HighlightHoldFrames;  // frames those directions have stayed held; -1 while held since
                                  // another screen
    uint32_t HighlightFrame;      // FrameCount of the last front-end frame: presses count across
                                  // consecutive ones
};

extern GameGlobals G;  // the game's state, alive for the whole process
