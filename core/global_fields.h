// Every field of GameGlobals, in the order the record declares them, with how a state dump shows
// it. A field added to the record and not here stops the build: core/globals.cpp checks that the
// listed fields fill the record to its last byte, so the record keeps no hidden padding (the
// Unused fields fill what the compiler would otherwise pad).
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

#define GAME_GLOBAL_FIELDS(X)          \
    X(BackBuffer, DumpNone)            \
    X(KeyList, DumpKeys)               \
    X(DisplayBpp, DumpNumber)          \
    X(DisplayXPitch, DumpNumber)       \
    X(DisplayYPitch, DumpNumber)       \
    X(FrameStartTick, DumpNumber)      \
    X(ScreenState, DumpNumber)         \
    X(QuitRequested, DumpNumber)       \
    X(Unused1, DumpNone)               \
    X(RandomState, DumpNumber)         \
    X(FrameCount, DumpNumber)          \
    X(ALatch, DumpNumber)              \
    X(LeftDown, DumpNumber)            \
    X(RightDown, DumpNumber)           \
    X(UpDown, DumpNumber)              \
    X(DownDown, DumpNumber)            \
    X(TapConsumed, DumpNumber)         \
    X(Unused2, DumpNone)               \
    X(TapPosX, DumpNumber)             \
    X(TapPosY, DumpNumber)             \
    X(TypedKey, DumpNumber)            \
    X(ProgramFolder, DumpText)         \
    X(SoundFolder, DumpText)           \
    X(GraphFolder, DumpText)           \
    X(FontGlyphs, DumpNone)            \
    X(RedFontCharMap, DumpNone)        \
    X(HeroFrames, DumpNone)            \
    X(SpiderFrames, DumpNone)          \
    X(TileImages, DumpNone)            \
    X(MenuBackImage, DumpNone)         \
    X(BottomPanelImage, DumpNone)      \
    X(HudPanelImage, DumpNone)         \
    X(BackdropImage, DumpNone)         \
    X(RedFontImage, DumpNone)          \
    X(SpeakerImage, DumpNone)          \
    X(ExitImage, DumpNone)             \
    X(MenuMusic, DumpHandle)           \
    X(GameMusic, DumpHandle)           \
    X(BarkSample, DumpHandle)          \
    X(SoundOn, DumpNumber)             \
    X(MazeGrid, DumpMaze)              \
    X(Unused3, DumpNone)               \
    X(MazeWidth, DumpNumber)           \
    X(MazeHeight, DumpNumber)          \
    X(Level, DumpNumber)               \
    X(Score, DumpNumber)               \
    X(Energy, DumpNumber)              \
    X(BonesNeeded, DumpNumber)         \
    X(BonesCollected, DumpNumber)      \
    X(PoisonCarried, DumpNumber)       \
    X(FightPhase, DumpNumber)          \
    X(FightSpider, DumpNumber)         \
    X(MapView, DumpNumber)             \
    X(SpiderCount, DumpNumber)         \
    X(PoisonCount, DumpNumber)         \
    X(HeroX, DumpNumber)               \
    X(HeroY, DumpNumber)               \
    X(HeroDirection, DumpNumber)       \
    X(HeroMoving, DumpNumber)          \
    X(HeroFrame, DumpNumber)           \
    X(HeroFrameTimer, DumpNumber)      \
    X(CameraX, DumpNumber)             \
    X(CameraY, DumpNumber)             \
    X(SpiderTable, DumpSpiders)        \
    X(SpiderOccupancy, DumpOccupancy)  \
    X(MenuChaseDirection, DumpNumber)  \
    X(MenuChasePos, DumpNumber)        \
    X(MenuDogFrame, DumpNumber)        \
    X(TransitionAngle, DumpNumber)     \
    X(HelpPage, DumpNumber)            \
    X(HighScoreTable, DumpScores)      \
    X(EnteredName, DumpName)           \
    X(EnteredNameLength, DumpNumber)   \
    X(KeyFlashFrames, DumpNumber)      \
    X(ShiftOn, DumpNumber)             \
    X(CapsLockOn, DumpNumber)          \
    X(LastKeyRow, DumpNumber)          \
    X(LastKeyCode, DumpNumber)         \
    X(HighlightShown, DumpNumber)      \
    X(HighlightScreen, DumpNumber)     \
    X(HighlightItem, DumpNumber)       \
    X(HighlightHeld, DumpNumber)       \
    X(Unused4, DumpNone)               \
    X(HighlightHoldFrames, DumpNumber) \
    X(HighlightFrame, DumpNumber)
