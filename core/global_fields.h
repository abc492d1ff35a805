// Every field of GameGlobals, in the order the record declares them: how a state dump shows it,
// and whether a suspended run keeps it (Run) or the start-up sets it afresh (Start: the host's
// keys and panel, the clock, the folders, the pictures and fonts, the sound handles and the score
// table, which are loaded as always). A field added to the record and not here stops the build:
// core/globals.cpp checks that the listed fields fill the record to its last byte, so the record
// keeps no hidden padding (the Unused fields fill what the compiler would otherwise pad).
//
//   DumpNone      pictures, the back buffer and the font tables: left out
//   DumpNumber    a plain number
//   DumpText      a folder path
//   DumpHandle    a sound handle: whether it is loaded
//   DumpKeys      the key codes of KeyList
//   DumpMaze      MazeGrid, row by row as strings of cell digits
//   DumpOccupancy SpiderOccupancy, row by row
//   DumpSpiders   SpiderTable, one object a spider
//   DumpScores    HighScoreTable, one object a row
//   DumpName      a fixed character buffer, as a string
#pragma once

#define GAME_GLOBAL_FIELDS(X)               \
    X(BackBuffer, DumpNone, Run)            \
    X(KeyList, DumpKeys, Start)             \
    X(DisplayBpp, DumpNumber, Start)        \
    X(DisplayXPitch, DumpNumber, Start)     \
    X(DisplayYPitch, DumpNumber, Start)     \
    X(FrameStartTick, DumpNumber, Start)    \
    X(ScreenState, DumpNumber, Run)         \
    X(QuitRequested, DumpNumber, Start)     \
    X(Unused1, DumpNone, Start)             \
    X(RandomState, DumpNumber, Run)         \
    X(FrameCount, DumpNumber, Run)          \
    X(ALatch, DumpNumber, Run)              \
    X(LeftDown, DumpNumber, Run)            \
    X(RightDown, DumpNumber, Run)           \
    X(UpDown, DumpNumber, Run)              \
    X(DownDown, DumpNumber, Run)            \
    X(TapConsumed, DumpNumber, Run)         \
    X(Unused2, DumpNone, Start)             \
    X(TapPosX, DumpNumber, Run)             \
    X(TapPosY, DumpNumber, Run)             \
    X(TypedKey, DumpNumber, Run)            \
    X(ProgramFolder, DumpText, Start)       \
    X(SoundFolder, DumpText, Start)         \
    X(GraphFolder, DumpText, Start)         \
    X(FontGlyphs, DumpNone, Start)          \
    X(RedFontCharMap, DumpNone, Start)      \
    X(HeroFrames, DumpNone, Start)          \
    X(SpiderFrames, DumpNone, Start)        \
    X(TileImages, DumpNone, Start)          \
    X(MenuBackImage, DumpNone, Start)       \
    X(BottomPanelImage, DumpNone, Start)    \
    X(HudPanelImage, DumpNone, Start)       \
    X(BackdropImage, DumpNone, Start)       \
    X(RedFontImage, DumpNone, Start)        \
    X(SpeakerImage, DumpNone, Start)        \
    X(ExitImage, DumpNone, Start)           \
    X(MenuMusic, DumpHandle, Start)         \
    X(GameMusic, DumpHandle, Start)         \
    X(BarkSample, DumpHandle, Start)        \
    X(SoundOn, DumpNumber, Run)             \
    X(MazeGrid, DumpMaze, Run)              \
    X(Unused3, DumpNone, Start)             \
    X(MazeWidth, DumpNumber, Run)           \
    X(MazeHeight, DumpNumber, Run)          \
    X(Level, DumpNumber, Run)               \
    X(Score, DumpNumber, Run)               \
    X(Energy, DumpNumber, Run)              \
    X(BonesNeeded, DumpNumber, Run)         \
    X(BonesCollected, DumpNumber, Run)      \
    X(PoisonCarried, DumpNumber, Run)       \
    X(FightPhase, DumpNumber, Run)          \
    X(FightSpider, DumpNumber, Run)         \
    X(MapView, DumpNumber, Run)             \
    X(SpiderCount, DumpNumber, Run)         \
    X(PoisonCount, DumpNumber, Run)         \
    X(HeroX, DumpNumber, Run)               \
    X(HeroY, DumpNumber, Run)               \
    X(HeroDirection, DumpNumber, Run)       \
    X(HeroMoving, DumpNumber, Run)          \
    X(HeroFrame, DumpNumber, Run)           \
    X(HeroFrameTimer, DumpNumber, Run)      \
    X(CameraX, DumpNumber, Run)             \
    X(CameraY, DumpNumber, Run)             \
    X(SpiderTable, DumpSpiders, Run)        \
    X(SpiderOccupancy, DumpOccupancy, Run)  \
    X(MenuChaseDirection, DumpNumber, Run)  \
    X(MenuChasePos, DumpNumber, Run)        \
    X(MenuDogFrame, DumpNumber, Run)        \
    X(TransitionAngle, DumpNumber, Run)     \
    X(HelpPage, DumpNumber, Run)            \
    X(HighScoreTable, DumpScores, Start)    \
    X(EnteredName, DumpName, Run)           \
    X(EnteredNameLength, DumpNumber, Run)   \
    X(KeyFlashFrames, DumpNumber, Run)      \
    X(ShiftOn, DumpNumber, Run)             \
    X(CapsLockOn, DumpNumber, Run)          \
    X(LastKeyRow, DumpNumber, Run)          \
    X(LastKeyCode, DumpNumber, Run)         \
    X(HighlightShown, DumpNumber, Run)      \
    X(HighlightScreen, DumpNumber, Run)     \
    X(HighlightItem, DumpNumber, Run)       \
    X(HighlightHeld, DumpNumber, Run)       \
    X(Unused4, DumpNone, Start)             \
    X(HighlightHoldFrames, DumpNumber, Run) \
    X(HighlightFrame, DumpNumber, Run)
