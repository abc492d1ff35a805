// One frame of the game: camera, picture, hero, spiders, fights and the heads-up display.
#include "game/game_frame.h"

#include <cstring>

#include "core/globals.h"
#include "core/input.h"
#include "core/layout.h"
#include "core/sound.h"
#include "game/game_picture.h"
#include "game/hero.h"
#include "game/spiders.h"
#include "gfx/blit.h"

constexpr int ExitIconX = 224;  // exit icon over the top-right corner of the view
constexpr int ExitTapLeft =
    224;  // a tap right of this column and above ExitTapBottom leaves the run
constexpr int ExitTapBottom = 16;

// The sixth bone finishes the level wherever the hero stands.
static void CheckLevelEnd() {
    if (G.BonesCollected != G.BonesNeeded) return;
    G.Level++;
    G.Score += LevelScore;
    G.ScreenState = ScreenLevelComplete;
}

// A score above the table's last entry goes to the name entry, any other to the table.
static void OpenScoreScreen() {
    if (G.Score <= G.HighScoreTable[HighScoreEntries - 1].score) {
        G.ScreenState = ScreenHighScores;
        return;
    }
    memset(G.EnteredName, 0, sizeof G.EnteredName);
    G.EnteredNameLength = 0;
    G.ScreenState = ScreenNewHighScore;
}

// The hero has died: the fight stops, the bar shows empty, the menu music comes back.
static void GameOver() {
    G.FightPhase = 0;
    G.Energy = 0;
    SwitchMusic(G.MenuMusic);
    OpenScoreScreen();
}

// The exit icon, and one tap: the speaker corner first, then the exit icon.
static void HandleTaps() {
    DrawExitIcon(ExitIconX, 0);
    if (!StylusTapped()) return;
    int x = TapX(), y = TapY();
    if (InSpeakerCorner(x, y)) {
        ToggleMute();
    } else if (x > ExitTapLeft && y < ExitTapBottom) {
        G.ScreenState = ScreenMainMenu;
        SwitchMusic(G.MenuMusic);
    }
}

void GameFrame() {
    FollowHero();
    DrawMazeBackground();
    AnimateHero();
    DrawHeroPicture();
    SpiderPass();
    if (G.FightPhase == 0) HeroStepAndKeys();
    CheckLevelEnd();
    MoveSpiders();
    if (G.FightPhase != 0 && FightRound()) GameOver();
    HandleTaps();
    DrawHud();
}
