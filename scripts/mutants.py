#!/usr/bin/env python3
"""The mutation check: does the suite catch each fault of a fixed list?

Every mutation below is one plain text edit of one source file. The script copies the tree once
into a scratch folder (by default /tmp/murko-mutants/, updated on later runs so its build stays
warm), configures one build there like scripts/test.sh's GCC build (benchmarks off, no format
check), and then for each mutation: edits the copy, builds with ninja, runs the suite with ctest
(stopping at the first failure, fastest tests first), puts the file back, and notes the first
failing test, or "survived", or "build failed" (a broken row: fix it). It ends with a table and
exits non-zero when a mutation survived or a row is broken.

  scripts/mutants.py              every mutation
  scripts/mutants.py --quick      a fixed sample of ten, one or two a folder
  scripts/mutants.py --only ID..  the mutations named
  scripts/mutants.py --list       the list, checked against the tree, nothing built
  --tree PATH     the tree to mutate (default: the repository holding this script)
  --work PATH     the scratch folder (default /tmp/murko-mutants)
  --jobs N        build and test jobs (default: the machine's cores)
  --timeout S     seconds one test may take (default 300)
  --markdown      the table in Markdown
  --exclude RE    tests left out of every suite run (ctest -E)
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import time
from pathlib import Path

FOLDERS = ("core", "gfx", "game", "screens", "app", "platform", "tools")  # every code folder

# id, file, text to find (exactly once in the file), its replacement, what the fault is.
MUTATIONS = [
    ("rand-multiplier", "core/random.cpp", "214013u", "214015u", "the random generator's multiplier is wrong"),
    ("rand-bits", "core/random.cpp", "(G.RandomState >> 16)", "(G.RandomState >> 15)", "random results come from the wrong bits"),
    ("a-latch-kept", "core/input.cpp", "G.ALatch = 0;", "(void)0;", "reading A does not clear its latch"),
    ("tap-latch-kept", "core/input.cpp", "G.TapConsumed = 1;", "(void)0;", "reading a tap does not consume it"),
    ("typed-latch-kept", "core/input.cpp", "G.TypedKey = 0;", "(void)0;", "reading a typed key does not clear it"),
    ("speaker-corner", "core/layout.h", "SpeakerHotY = 303;", "SpeakerHotY = 304;", "the speaker corner answers one row lower (header)"),
    ("read-not-regular", "core/files.cpp", "!S_ISREG(info.st_mode)) {\n        close(fd);", "false) {\n        close(fd);", "a read opens a folder or device as a file"),
    ("read-foreign-link", "core/files.cpp", "if (!S_ISLNK(link.st_mode) || link.st_uid != geteuid()) {", "if (!S_ISLNK(link.st_mode)) {", "a read follows a link laid by another user"),
    ("save-foreign-link", "core/files.cpp", "S_ISLNK(link.st_mode) || link.st_uid != geteuid())\n        return path;", "S_ISLNK(link.st_mode))\n        return path;", "a save follows a link laid by another user"),
    ("save-in-place", "core/files.cpp", "std::string temp = target + \".\" + std::to_string(getpid()) + \".tmp\";", "std::string temp = target;", "a save writes the file in place, no temporary file renamed over it"),
    ("save-mode-lost", "core/files.cpp", "fchmod(fd, old.st_mode & 07777)", "fchmod(fd, 0600)", "a save loses the mode of the file it replaces"),
    ("stale-temp-of-live-game", "core/files.cpp", "if (kill(pid_t(pid), 0) == 0 || errno != ESRCH) continue;", "if (false) continue;", "a save removes the temporary file of a game still saving"),
    ("clip-right", "gfx/blit.cpp", "if (x + w > maxX) clip.c1 = maxX - x;", "if (x + w > maxX) clip.c1 = maxX - x + 1;", "the right clip bound lets one column more through"),
    ("clip-top", "gfx/blit.cpp", "if (y < 0) clip.r0 = -y;", "if (y < 0) clip.r0 = 1 - y;", "the top clip bound drops one row too many"),
    ("spider-view-bottom", "gfx/blit.cpp", "18, 18, 18, 1, x, y, 0, ScreenWidth, MazeViewSize", "18, 18, 18, 1, x, y, 0, ScreenWidth, MazeViewSize - 1", "a spider is cut a row short of the maze view's bottom"),
    ("mirror-off-by-one", "gfx/blit.cpp", "srcWidth - 1 - c : c * step", "srcWidth - c : c * step", "a mirrored sprite reads one column off"),
    ("first-tile-negative", "gfx/blit.cpp", "scroll / TileSize - (scroll < 0 ? 1 : 0)", "scroll / TileSize", "the first tile of a view left of or above the maze is wrong"),
    ("half-tile-sample", "gfx/blit.cpp", "[2 * r * TileSize + 2 * c]", "[2 * r * TileSize + 2 * c + 1]", "the half-scale map samples the wrong pixel of each block"),
    ("red-font-digits", "gfx/font.cpp", "0123456789:;", "1023456789:;", "the red font swaps the pictures of 0 and 1"),
    ("font-shadow", "gfx/font.cpp", "x + i * advance + 1, y + 1, 0", "x + i * advance + 1, y, 0", "the raster font's lower shadow is a row too high"),
    ("targa-green-bits", "gfx/targa.cpp", "((green & 0xFC) << 3)", "((green & 0xF8) << 3)", "a picture's green loses its lowest bit"),
    ("targa-upside-down", "gfx/targa.cpp", "uint16_t* out = dest + y * width;", "uint16_t* out = dest + (height - 1 - y) * width;", "pictures load upside down"),
    ("mute-cross-inverted", "gfx/draw.cpp", "if (G.SoundOn != 0) return;", "if (G.SoundOn == 0) return;", "the mute cross shows while the sound is on"),
    ("carve-order", "game/maze.cpp", "{-2, 0, BackRight},\n    {+2, 0, BackLeft},", "{+2, 0, BackLeft},\n    {-2, 0, BackRight},", "the carve tries right before left"),
    ("carve-extra-draw", "game/maze.cpp", "            continue;\n        }\n        const CarveStep", "            Rand();\n            continue;\n        }\n        const CarveStep", "a random draw added at every step back of the carve"),
    ("maze-rooms-off-by-one", "game/maze.cpp", "int total = (G.MazeHeight / 2) * (G.MazeWidth / 2);", "int total = (G.MazeHeight / 2) * (G.MazeWidth / 2) - 1;", "the carve stops one room early"),
    ("uncarved-bound", "game/maze.cpp", "x >= width || y >= height) return false;", "x > width || y >= height) return false;", "a room right of the level counts as uncarved"),
    ("hero-step", "game/hero.h", "HeroStep = 2;", "HeroStep = 4;", "the hero walks 4 pixels a frame (header)"),
    ("bone-score", "game/hero.h", "BoneScore = 100;", "BoneScore = 10;", "a bone scores 10 (header)"),
    ("food-at-full-energy", "game/hero.cpp", "cell == CellFood && G.Energy < MaxEnergy", "cell == CellFood && G.Energy <= MaxEnergy", "food is eaten at full energy"),
    ("second-poison", "game/hero.cpp", "cell == CellPoison && G.PoisonCarried == 0", "cell == CellPoison", "poison is taken while one is carried"),
    ("camera-near", "game/hero.cpp", "CameraNear = 80;", "CameraNear = 81;", "the camera keeps the hero 81 pixels inside the view"),
    ("walk-frame-timer", "game/hero.cpp", "G.HeroFrameTimer < FrameChangeTimer ||", "G.HeroFrameTimer <= FrameChangeTimer ||", "the walk picture changes every fifth frame"),
    ("map-key-latch", "game/hero.cpp", "if (ButtonAPressed()) G.MapView = 1;", "if (G.ALatch) G.MapView = 1;", "the map key reads A without clearing its latch"),
    ("contact-reach", "game/spiders.h", "ContactReach = 20;", "ContactReach = 19;", "a spider 20 pixels away starts no fight (header)"),
    ("spider-way-draw", "game/spiders.cpp", "s.direction = ways[Rand() % n];", "s.direction = ways[(Rand() + 1) % n];", "a spider picks the wrong one of its open ways"),
    ("spider-step-frames", "game/spiders.cpp", "s.stepsLeft = SpiderStepFrames;", "s.stepsLeft = SpiderStepFrames - 1;", "a spider stops two pixels short of the next cell"),
    ("fight-odds", "game/spiders.cpp", "Rand() % (G.PoisonCarried + 2) != 0", "Rand() % (G.PoisonCarried + 3) != 0", "the dog wins two rounds in three without poison"),
    ("fight-bite", "game/spiders.cpp", "int bite = Rand() % 3 + 1;", "int bite = Rand() % 3;", "the dog's bite is 0 to 2"),
    ("poison-never-used", "game/spiders.cpp", "if (G.PoisonCarried > 0) G.PoisonCarried--;", "(void)0;", "a won fight does not use up the poison"),
    ("fight-round-phase", "game/spiders.cpp", "if (++G.FightPhase <= FightRoundPhase) return 0;", "if (++G.FightPhase < FightRoundPhase) return 0;", "fight rounds come a frame early"),
    ("spider-view-span", "game/spiders.cpp", "ViewSpan = 240;", "ViewSpan = 220;", "spiders near the view's far edges are not drawn"),
    ("level-size", "game/level.cpp", "int side = (G.Level + 2) * 10;", "int side = (G.Level + 1) * 10;", "every level past the first is 10 cells too small"),
    ("spider-count", "game/level.cpp", "* 0.025);", "* 0.026);", "a spider for every 38 cells"),
    ("poison-count", "game/level.cpp", "int16_t(G.SpiderCount / 2);", "int16_t(G.SpiderCount / 3);", "a third as many poison items as spiders"),
    ("random-cell-column-0", "game/level.cpp", "c.x = Rand() % (G.MazeWidth - 1) + 1;", "c.x = Rand() % (G.MazeWidth - 1);", "column 0 can be drawn for an item, spider or hero"),
    ("niche-one-side-less", "game/level.cpp", "OpenNeighbour(c.x, c.y + 1) || OpenNeighbour(c.x, c.y - 1);", "OpenNeighbour(c.x, c.y + 1);", "a wall open only above is no niche"),
    ("poison-kept-next-level", "game/level.cpp", "G.PoisonCarried = 0;", "(void)0;", "a new level keeps the poison carried"),
    ("level-score", "game/game_frame.cpp", "G.Score += LevelScore;", "G.Score += LevelScore / 2;", "a finished level scores 500"),
    ("score-screen-tie", "game/game_frame.cpp", "if (G.Score <= G.HighScoreTable[HighScoreEntries - 1].score) {", "if (G.Score < G.HighScoreTable[HighScoreEntries - 1].score) {", "a score equal to the last entry asks for a name"),
    ("exit-tap-column", "game/game_frame.cpp", "x > ExitTapLeft && y < ExitTapBottom", "x >= ExitTapLeft && y < ExitTapBottom", "a tap on column 224 leaves the run"),
    ("energy-bar-end", "game/game_picture.cpp", "size_t(MaxEnergy + 1 - energy)", "size_t(MaxEnergy - energy)", "the energy bar's last column is never blacked"),
    ("cloud-draw-skipped", "game/game_picture.cpp", "DrawTile(CloudTile + Rand() % CloudPictures, x, y);", "DrawTile(CloudTile, x, y);", "the fight cloud draws no random number"),
    ("spider-pictures", "game/game_picture.cpp", "int frame = Rand() % SpiderPictures;", "int frame = Rand() % 4;", "a spider shows one of four pictures"),
    ("map-reach", "game/game_picture.h", "MapReach = 250;", "MapReach = 240;", "the map shows less around the hero (header)"),
    ("score-file-offset", "screens/score_file.cpp", "G.HighScoreTable[i].score = ReadLe32(record + 12);", "G.HighScoreTable[i].score = ReadLe32(record + 16);", "the score is read from the wrong offset of a record"),
    ("score-file-endian", "screens/score_file.cpp", "bytes[i] = uint8_t(uint32_t(value) >> (8 * i));", "bytes[i] = uint8_t(uint32_t(value) >> (8 * (3 - i)));", "the score file is written big-endian"),
    ("score-not-saved", "screens/name_entry.cpp", "SaveHighScores();", "(void)0;", "a new entry is not saved"),
    ("insert-tie-order", "screens/high_scores.cpp", "!(G.HighScoreTable[at].score < score)", "!(G.HighScoreTable[at].score <= score)", "an equal score goes above the older entry"),
    ("name-field-unterminated", "screens/high_scores.cpp", "memset(G.HighScoreTable[at].name + NameKept, 0, NameField - NameKept);", "(void)0;", "a new entry keeps the old name's last bytes"),
    ("default-scores", "screens/high_scores.cpp", "= 100 - 10 * i;", "= 100 - 9 * i;", "the default table counts down by 9"),
    ("table-line-pitch", "screens/high_scores.cpp", "TableLineRows = 24;", "TableLineRows = 25;", "the table's lines are 25 rows apart"),
    ("menu-help-band", "screens/main_menu.cpp", "RedBand(\"HELP\", 90, 264, 260, 291, 2, MenuHelp)", "RedBand(\"HELP\", 90, 264, 262, 291, 2, MenuHelp)", "HELP answers from row 262, not 260"),
    ("chase-random-skipped", "screens/main_menu.cpp", "DrawSpiderSprite(Rand() % 5, spiderX, ChaseSpiderY);", "DrawSpiderSprite(0, spiderX, ChaseSpiderY);", "the menu's spider draws no random number"),
    ("level-select-off-by-one", "screens/level_screens.cpp", "G.Level = LevelItems[tap.item].action;", "G.Level = LevelItems[tap.item].action + 1;", "LEVEL n starts level n + 1"),
    ("swing-step", "screens/level_screens.cpp", "SwingStep = 3;", "SwingStep = 2;", "PREPARE FOR swings 2 degrees a frame"),
    ("key-lit-frames", "screens/name_entry.cpp", "if (++G.KeyFlashFrames <= LitLast)", "if (++G.KeyFlashFrames < LitLast)", "a key stays lit a frame less"),
    ("name-eleven-characters", "screens/name_entry.cpp", "if (G.EnteredNameLength < NameMax)\n        TypeCharacter", "if (G.EnteredNameLength <= NameMax)\n        TypeCharacter", "a tapped name takes an eleventh character"),
    ("shift-latch-kept", "screens/name_entry.cpp", "    G.LastKeyRow = r;\n    G.ShiftOn = 0;", "    G.LastKeyRow = r;", "the one-shot shift is not used up"),
    ("key-hit-size", "screens/name_entry.cpp", "HitSize = 10;", "HitSize = 12;", "a key answers on 12 x 12 pixels"),
    ("highlight-repeat", "screens/highlight.cpp", "RepeatDelay = 12;", "RepeatDelay = 11;", "a held direction repeats a frame early"),
    ("highlight-a-latch", "screens/highlight.cpp", "bool confirm = ButtonAPressed() &&", "bool confirm = G.ALatch &&", "the menus read A without clearing its latch"),
    ("item-bottom-row", "screens/items.cpp", "y <= item.hotBottom", "y < item.hotBottom", "an item does not answer on its bottom row"),
    ("seed-source", "app/data.cpp", "Srand(Options.haveSeed ? Options.seed : HostSeedTicks());", "Srand(HostSeedTicks());", "--seed is ignored: the clock seeds every run"),
    ("seed-fixed", "app/recording.cpp", "Options.seed = HostSeedTicks();", "Options.seed = 1;", "a recorded run without --seed always plays seed 1"),
    ("suspend-check-dropped", "app/suspend.cpp", "? RunStateFault(Pending)", "? nullptr", "a suspended run is taken up without checking its state"),
    ("suspend-hash-ignored", "app/suspend.cpp", "GetLe32(bytes + 20) != Hash(bytes + HeaderBytes, size - HeaderBytes) ||", "false ||", "a damaged suspend file passes its hash"),
    ("suspend-keys-held", "app/suspend.cpp", "G.LeftDown = G.RightDown = G.UpDown = G.DownDown = 0;", "(void)0;", "a resumed run keeps the keys held when it was put away"),
    ("suspend-pack-pairs", "app/suspend.cpp", "if (run >= 3) {", "if (run >= 2) {", "the packer writes a pair as a run code"),
    ("suspend-not-forgotten", "app/shell.cpp", "ForgetRunFile(SuspendPath);", "(void)0;", "a finished run's suspend file is left behind"),
    ("play-with-seed", "app/options.cpp", "if (Options.haveSeed)\n        return Fail", "if (false)\n        return Fail", "--play is accepted with --seed"),
    ("key-left-binds-right", "app/config.cpp", "return SetKeys(value, o->host.keys[2]);", "return SetKeys(value, o->host.keys[3]);", "key-left binds the right button"),
    ("recording-in-place", "app/recording.cpp", "RecordFile = IsStream(path) ? fopen", "RecordFile = IsStream(path) || true ? fopen", "a recording is written in place, not renamed over its name"),
    ("pause-keeps-keys", "app/input_events.cpp", "ReleaseHeldButtons();\n    PauseGame();", "if (false) ReleaseHeldButtons();\n    PauseGame();", "a pause keeps the directions held"),
    ("grey4-nibbles", "app/present.cpp", "_mm_slli_epi16(GreySums(lower), 1)", "_mm_slli_epi16(GreySums(lower - ScreenWidth), 1)", "the 4-bit panel's vector path puts one pixel in both halves of a byte"),
    ("pause-dim", "app/pause.cpp", "uint16_t((pixel >> 1) & HalfBrightness)", "uint16_t(pixel >> 1)", "the pause dims with bits bleeding between channels"),
    ("script-negative", "app/script.cpp", "if (negative) v = -v;", "(void)0;", "a script's negative number reads as positive"),
    ("panel-pitch-512", "platform/panel.cpp", "{\"rgb565-512\", {16, 2, 512}", "{\"rgb565-512\", {16, 2, 480}", "the 512-byte-row panel reports a 480-byte pitch"),
    ("panel-rotated-origin", "platform/panel.cpp", "153600, 640 * 239}", "153600, 640 * 238}", "the rotated panel's address is a column off"),
    ("window-centre", "platform/pointer_map.cpp", "r.x = (drawableW - r.w) / 2;", "r.x = (drawableW - r.w) / 2 + 1;", "the picture sits a pixel right of the window's centre"),
    ("pointer-right-edge", "platform/pointer_map.cpp", "sx >= PictureWidth", "sx > PictureWidth", "a click right of the picture maps to column 240"),
    ("merge-early-release", "platform/button_merge.cpp", "if (m->holders[button] == 0) Queue(m, HostEventKeyUp, button);", "Queue(m, HostEventKeyUp, button);", "a button is released while another source still holds it"),
    ("stick-hysteresis", "platform/button_merge.cpp", "if (state > 0 && value > StickRelease) return 1;", "if (state > 0 && value > StickPress) return 1;", "the stick lets go at the press threshold"),
    ("key-name-left", "platform/key_names.cpp", "{\"Left\", 80},", "{\"Left\", 79},", "the key name Left binds the right arrow"),
    ("usual-arrows-swapped", "platform/sdl_input.cpp", "{SDL_SCANCODE_LEFT, ButtonLeft, 2}, {SDL_SCANCODE_RIGHT, ButtonRight, 3},", "{SDL_SCANCODE_LEFT, ButtonRight, 2}, {SDL_SCANCODE_RIGHT, ButtonLeft, 3},", "the usual arrow keys are bound the wrong way round"),
    ("instance-lock-link", "platform/instance.cpp", "O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK", "O_RDWR | O_CREAT | O_NONBLOCK", "the instance lock is opened through a link"),
    ("runtime-folder-open", "platform/host.cpp", "(info.st_mode & 077) == 0", "(info.st_mode & 070) == 0", "a runtime folder others may enter counts as private"),
    ("screenshot-overwrite", "platform/screenshot.cpp", "O_CREAT | O_EXCL | O_NOFOLLOW", "O_CREAT | O_TRUNC | O_NOFOLLOW", "a screenshot overwrites a file of the same name"),
    ("art-targa-palette", "tools/art/targa.cpp", "file[18 + 3 * i] = picture->palette[i][2];", "file[18 + 3 * i] = picture->palette[i][0];", "the art tool writes red where blue belongs"),
    ("art-targa-type", "tools/art/targa.cpp", "header[2] = 1;", "header[2] = 2;", "the art tool marks its pictures as true colour"),
    ("art-grid-mirrored", "tools/art/sources.cpp", "picture->pixels[y * picture->width + x] = uint8_t(index);", "picture->pixels[y * picture->width + picture->width - 1 - x] = uint8_t(index);", "grid pictures are drawn mirrored"),
    ("sound-module-tag", "tools/sound/score.cpp", "std::fwrite(\"M.K.\", 1, 4, file);", "std::fwrite(\"XXXX\", 1, 4, file);", "the music loses its four-channel module tag"),
    ("sound-note-semitone", "tools/sound/score.cpp", "return Periods[(text[2] - '1') * 12 + i];", "return Periods[(text[2] - '1') * 12 + i + (i == 11 ? 0 : 1)];", "every note but B plays a semitone sharp"),
    ("bark-stereo", "tools/sound/score.cpp", "PutLittle(file, 1, 2);   // mono", "PutLittle(file, 2, 2);   // mono", "the bark's WAV header says stereo"),
]

# --quick: one or two a folder, each caught by a test that runs early.
QUICK = ("rand-multiplier", "save-in-place", "clip-right", "fight-odds", "level-size",
         "score-file-offset", "suspend-check-dropped", "merge-early-release", "usual-arrows-swapped",
         "art-targa-palette")


def folder_of(path):
    return path.split("/")[0]


def check_rows(tree, rows):
    """One line for each broken row: a duplicate id, an unknown folder, text not found once."""
    problems, seen = [], set()
    for mid, path, find, replace, _ in rows:
        if mid in seen:
            problems.append(f"{mid}: the id is used twice")
        seen.add(mid)
        if folder_of(path) not in FOLDERS:
            problems.append(f"{mid}: {path} is in no code folder")
        try:
            text = (tree / path).read_text()
        except OSError as e:
            problems.append(f"{mid}: cannot read {path}: {e.strerror}")
            continue
        count = text.count(find)
        if count != 1:
            problems.append(f"{mid}: the text occurs {count} times in {path}, not once")
        if find == replace:
            problems.append(f"{mid}: the replacement changes nothing")
    missing = [f for f in FOLDERS if not any(folder_of(r[1]) == f for r in rows)]
    if rows is MUTATIONS and missing:
        problems.append("no mutation in " + ", ".join(missing))
    return problems


def skipped(name):
    return name == ".git" or name.startswith("build") or name == "__pycache__"


def sync_tree(source, copy):
    """Makes copy hold source's files (build folders and .git left out), writing only the files
    that differ, so that the build in the scratch folder stays warm."""
    wanted = set()
    for folder, dirs, files in os.walk(source):
        rel = Path(folder).relative_to(source)
        dirs[:] = [d for d in dirs if not (rel == Path(".") and skipped(d)) and d != ".git"]
        (copy / rel).mkdir(parents=True, exist_ok=True)
        for name in files:
            src, dst = Path(folder) / name, copy / rel / name
            wanted.add(rel / name)
            if src.is_symlink() or dst.is_symlink():
                continue
            data = src.read_bytes()
            if not dst.exists() or dst.read_bytes() != data:
                dst.write_bytes(data)
            shutil.copymode(src, dst)
    for folder, _, files in os.walk(copy):
        rel = Path(folder).relative_to(copy)
        for name in files:
            if rel / name not in wanted:
                (Path(folder) / name).unlink()


def run(cmd, cwd=None, timeout=None):
    return subprocess.run(cmd, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                          text=True, timeout=timeout)


def configure(copy, build):
    if (build / "build.ninja").exists():
        return True
    flags = ["-DCMAKE_BUILD_TYPE=RelWithDebInfo", "-DMURKO_TESTS=ON", "-DMURKO_BENCH=OFF",
             "-DMURKO_WERROR=ON"]
    result = run(["cmake", "-S", str(copy), "-B", str(build), "-G", "Ninja"] + flags)
    if result.returncode:
        print(result.stdout, file=sys.stderr)
    return result.returncode == 0


def build_copy(build, jobs):
    result = run(["nice", "ninja", "-C", str(build), "-j", str(jobs)])
    return result.returncode == 0, result.stdout


COST_FILE = Path("Testing/Temporary/CTestCostData.txt")  # ctest's record of each test's time
TEST_LINE = re.compile(r"Test\s+#\d+: (\S+)")  # a finished test in ctest's output
OUTCOME = re.compile(r"\*\*\*(\w+)")  # how it failed: Failed, Timeout, Exception ...


def test_times(output):
    """Each passed test's seconds, from ctest's output."""
    times = {}
    for line in output.splitlines():
        match = re.search(r"Test\s+#\d+: (\S+).*\sPassed\s+([\d.]+) sec", line)
        if match:
            times[match.group(1)] = float(match.group(2))
    return times


def order_fastest_first(build, costs):
    """ctest starts the costliest tests first: costs written upside down start the fastest."""
    if not costs:
        return
    top = max(costs.values())
    lines = [f"{name} 1 {top - cost + 0.001:.6f}" for name, cost in costs.items()]
    (build / COST_FILE).write_text("\n".join(lines) + "\n---\n")


def run_suite(build, jobs, timeout, stop, exclude):
    """The first failing test's name ("" when all pass) and ctest's output."""
    cmd = ["ctest", "-j", str(jobs), "--timeout", str(timeout)]
    if stop:
        cmd.append("--stop-on-failure")
    if exclude:
        cmd += ["-E", exclude]
    result = run(cmd, cwd=build)
    for line in result.stdout.splitlines():
        match = TEST_LINE.search(line)
        if not match or re.search(r"\sPassed\s", line):
            continue
        outcome = OUTCOME.search(line)
        how = outcome.group(1) if outcome else "Not Run"
        return match.group(1) + ("" if how == "Failed" else f" ({how})"), result.stdout
    return ("" if result.returncode == 0 else "ctest failed"), result.stdout


def remove_strays(build, kept):
    """A mutated game may leave files in the build folder (a score or suspend file beside the
    program) that the next runs would read: whatever the unmutated suite left not there goes."""
    for name in os.listdir(build):
        path = build / name
        if name in kept:
            continue
        if path.is_dir() and not path.is_symlink():
            shutil.rmtree(path)
        else:
            path.unlink()


def try_mutation(row, copy, build, args, costs, kept):
    mid, path, find, replace, _ = row
    target = copy / path
    original = target.read_text()
    target.write_text(original.replace(find, replace, 1))
    try:
        built, log = build_copy(build, args.jobs)
        if not built:
            tail = "\n".join(log.splitlines()[-15:])
            print(f"{mid}: the build failed:\n{tail}", file=sys.stderr)
            return "build failed"
        order_fastest_first(build, costs)
        caught, _ = run_suite(build, args.jobs, args.timeout, True, args.exclude)
        return caught or "survived"
    finally:
        target.write_text(original)
        remove_strays(build, kept)


def table(results, markdown):
    rows = [("id", "folder", "mutation", "caught by")]
    rows += [(r[0], folder_of(r[1]), r[4], caught) for r, caught, _ in results]
    if markdown:
        lines = ["| " + " | ".join(row) + " |" for row in rows]
        lines.insert(1, "|" + "---|" * 4)
        return "\n".join(lines)
    widths = [max(len(row[i]) for row in rows) for i in range(4)]
    return "\n".join(" | ".join(c.ljust(w) for c, w in zip(row, widths)).rstrip() for row in rows)


def main():
    parser = argparse.ArgumentParser(description="Checks that the suite catches each mutation.")
    parser.add_argument("--quick", action="store_true", help="a fixed sample of ten")
    parser.add_argument("--only", nargs="+", metavar="ID", help="only these mutations")
    parser.add_argument("--list", action="store_true", help="list the mutations and stop")
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 2)
    parser.add_argument("--tree", type=Path, default=Path(__file__).resolve().parent.parent)
    parser.add_argument("--work", type=Path, default=Path("/tmp/murko-mutants"))
    parser.add_argument("--timeout", type=int, default=300, help="seconds one test may take")
    parser.add_argument("--markdown", action="store_true", help="the table in Markdown")
    parser.add_argument("--exclude", metavar="REGEX", help="tests left out (ctest -E)")
    args = parser.parse_args()

    tree = args.tree.resolve()
    problems = check_rows(tree, MUTATIONS)
    for problem in problems:
        print(f"mutants: {problem}", file=sys.stderr)
    if problems:
        return 2
    rows = MUTATIONS
    if args.quick or args.only:
        names = args.only or QUICK
        unknown = [n for n in names if n not in {r[0] for r in MUTATIONS}]
        if unknown:
            print("mutants: no mutation named " + ", ".join(unknown), file=sys.stderr)
            return 2
        rows = [r for r in MUTATIONS if r[0] in names]
    if args.list:
        print(table([(r, "", 0) for r in rows], args.markdown))
        print(f"{len(rows)} mutations", file=sys.stderr)
        return 0

    start = time.monotonic()
    copy, build = args.work / "tree", args.work / "build"
    copy.mkdir(parents=True, exist_ok=True)
    sync_tree(tree, copy)
    if not configure(copy, build):
        return 2
    built, log = build_copy(build, args.jobs)
    if not built:
        print(log, file=sys.stderr)
        print("mutants: the unmutated tree does not build", file=sys.stderr)
        return 2
    failed, output = run_suite(build, args.jobs, args.timeout, False, args.exclude)
    if failed:
        print(f"mutants: the unmutated tree fails {failed}", file=sys.stderr)
        return 2
    costs, kept = test_times(output), set(os.listdir(build))
    print(f"mutants: unmutated build and suite: {time.monotonic() - start:.0f} s", file=sys.stderr)

    results = []
    for i, row in enumerate(rows, 1):
        began = time.monotonic()
        caught = try_mutation(row, copy, build, args, costs, kept)
        seconds = time.monotonic() - began
        results.append((row, caught, seconds))
        print(f"mutants: {i}/{len(rows)} {row[0]}: {caught} ({seconds:.0f} s)", file=sys.stderr)
    build_copy(build, args.jobs)  # the copy's build back to the tree as it is
    print(table(results, args.markdown))
    survived = sum(caught == "survived" for _, caught, _ in results)
    broken = sum(caught == "build failed" for _, caught, _ in results)
    print(f"mutants: {len(results)} mutations, {survived} survived, {broken} did not build, "
          f"{time.monotonic() - start:.0f} s in all", file=sys.stderr)
    return 1 if survived or broken else 0


if __name__ == "__main__":
    sys.exit(main())
