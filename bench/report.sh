#!/usr/bin/env bash
# The performance report: one table, every figure measured in this run beside its reference and
# target. PresentFrame on each emulated panel and a frame of each screen as multiples of a
# 153,600-byte copy of the back buffer timed in the same run; start-up to the first frame shown
# (headless, and windowed under a private Xvfb, where the game's own share is what it takes beyond
# an SDL window alone); CPU use of a windowed main menu and level-9 game against the presenting
# floor that plays the same tune; peak resident memory; each SDL renderer's start-up, memory and
# CPU; headless replay speed. The targets are kept here, in TARGETS below.
# Usage: bench/report.sh [--quick] [--write] [BUILD_DIR]   (default: build; an optimised build
# with the benchmarks). --quick measures CPU over 10 s instead of 60 s, for a try; --write puts the
# table, dated, into docs/performance.md between its report markers.
# Timings of code are CPU time (steadier on a shared machine); start-up and replay are wall time,
# the median or best of several runs. The load average is printed with the table: read it with the
# figures.
set -euo pipefail

seconds=60
write=0
build_arg=build
for arg in "$@"; do
  case "$arg" in
    --quick) seconds=10 ;;
    --write) write=1 ;;
    -*) echo "usage: bench/report.sh [--quick] [--write] [BUILD_DIR]" >&2; exit 2 ;;
    *) build_arg=$arg ;;
  esac
done
build=$(cd "$build_arg" && pwd)
seconds=${MURKO_REPORT_SECONDS:-$seconds}
# TARGETS: the ratios and limits every row is held to (the panel ratios are bench/present_ratios.sh's).
screen_target=8          # a frame of any screen, x copy
first_frame_ms=150       # windowed start-up to the first frame shown
own_share_ms=20          # of which the game's own, beyond an SDL window alone
headless_ms=100          # headless start-up to the first frame
memory_mb=64             # peak resident memory
cpu_target=1.1           # CPU against the floor that plays the same tune
replay_fps=20000         # headless replay, frames a second
renderers=(software opengl opengles2)
warmup=2
here=$(cd "$(dirname "$0")" && pwd)
game="$build/murko"
floor="$build/murko_present_floor"
for program in "$game" "$floor" "$build/bench_screens" "$build/bench_level" "$build/bench_present"; do
  [ -x "$program" ] || { echo "report: $program not built (configure with -DMURKO_BENCH=ON)" >&2; exit 2; }
done
command -v Xvfb >/dev/null || { echo "report: Xvfb missing (scripts/setup.sh installs it)" >&2; exit 2; }

work=$(mktemp -d)
chmod 700 "$work"
xvfb_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# A private X server on a display number nobody uses; the game's lock, settings and scores stay in $work.
display=90
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
[ -e "/tmp/.X11-unix/X$display" ] || { echo "report: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$display" XDG_RUNTIME_DIR="$work" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}  # a sound card's pace, without a sound card
load_before=$(cut -d' ' -f1-3 /proc/loadavg)

# PLAY GAME, then LEVEL 9; seed 1 keeps the dog alive for well over a minute there.
printf '5 tap 100 205\n10 tap 100 300\n' >"$work/level9.txt"
windowed=(--windowed --no-resume --scale 2 --audio sdl --seed 1)

rows=()
# row MEASURE FIGURE REFERENCE TARGET VERDICT
row() { rows+=("$(printf '| %s | %s | %s | %s | %s |' "$@")"); }
verdict() { awk -v ok="$1" 'BEGIN { print ok ? "met" : "**missed**" }'; }
median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
least() { sort -g | head -1; }

# Milliseconds from the launch of a program to its first frame shown, the median of 7 starts.
first_frame() {
  for _ in 1 2 3 4 5 6 7; do
    MURKO_TIME_FIRST_FRAME=$(date +%s%N) "$@" --frames 1 2>&1 >/dev/null |
      sed -n 's/^murko: first frame shown after \([0-9.]*\) ms$/\1/p'
  done | median
}
ms=$(first_frame "$game" --headless)
row "start-up to first frame, headless" "$ms ms" "-" "< $headless_ms ms" "$(verdict "$(awk -v m="$ms" -v t="$headless_ms" 'BEGIN { print m < t }')")"
declare -A start floor_start
for r in "${renderers[@]}"; do
  start[$r]=$(first_frame "$game" "${windowed[@]}" --renderer "$r")
  floor_start[$r]=$(first_frame "$floor" --scale 2 --renderer "$r")
done
ms=${start[software]}
floor_ms=${floor_start[software]}
row "start-up to first frame, window (Xvfb)" "$ms ms" "SDL window alone: $floor_ms ms" "< $first_frame_ms ms" "$(verdict "$(awk -v m="$ms" -v t="$first_frame_ms" 'BEGIN { print m < t }')")"
own=$(awk -v m="$ms" -v f="$floor_ms" 'BEGIN { printf "%.1f", m - f }')
row "start-up, the game's own share (window)" "$own ms" "game less SDL window alone" "<= $own_share_ms ms" "$(verdict "$(awk -v o="$own" -v t="$own_share_ms" 'BEGIN { print o <= t }')")"

# Median CPU ns of each benchmark of a Google Benchmark program, as "name ns" lines.
bench_medians() {
  "$@" --benchmark_format=csv --benchmark_repetitions=3 --benchmark_report_aggregates_only=true 2>/dev/null |
    awk -F, '$1 ~ /_median"?$/ { n = $1; gsub(/"/, "", n); sub(/_median$/, "", n); print n, $4 }'
}
screen_name() {
  case "$1" in
    BM_ScreenFrame/screen:2/page:0) echo "main menu" ;;
    BM_ScreenFrame/screen:5/page:0) echo "level select" ;;
    BM_ScreenFrame/screen:6/page:0) echo "level complete" ;;
    BM_ScreenFrame/screen:1/page:0) echo "high scores" ;;
    BM_ScreenFrame/screen:3/page:0) echo "name entry" ;;
    BM_ScreenFrame/screen:4/page:*) echo "help page $((${1##*:} + 1))" ;;
    BM_GameFrameLevel9/0) echo "level-9 game, 150 spiders" ;;
    BM_GameFrameLevel9/1) echo "level-9 game, map view" ;;
    *) echo "$1" ;;
  esac
}
for program in bench_screens "bench_level --benchmark_filter=GameFrame|Copy"; do
  # shellcheck disable=SC2086
  (cd "$build" && bench_medians ./$program) >"$work/bench.txt"
  copy=$(awk '$1 == "BM_CopyBackBuffer" { print $2 }' "$work/bench.txt")
  while read -r name ns; do
    [ "$name" = BM_CopyBackBuffer ] && continue
    row "frame: $(screen_name "$name")" "$(awk -v t="$ns" -v c="$copy" 'BEGIN { printf "%.1f us = %.1f x copy", t / 1000, t / c }')" \
      "memcpy 153,600 B: $(awk -v c="$copy" 'BEGIN { printf "%.2f us", c / 1000 }')" "<= $screen_target x copy" \
      "$(verdict "$(awk -v t="$ns" -v c="$copy" -v x="$screen_target" 'BEGIN { print t / c <= x }')")"
  done <"$work/bench.txt"
done

# PresentFrame per panel, as bench/present_ratios.sh reports it (its own copy and targets).
"$here/present_ratios.sh" "$build/bench_present" >"$work/present.txt" || true
copy=$(awk '$1 == "memcpy" { print $3 }' "$work/present.txt")
while read -r name ns ratio target over; do
  row "PresentFrame, ${name#BM_Present/} panel" "$(awk -v t="$ns" -v r="$ratio" 'BEGIN { printf "%.1f us = %.2f x copy", t / 1000, r }')" \
    "memcpy: $(awk -v c="$copy" 'BEGIN { printf "%.2f us", c / 1000 }')" "<= $target x copy" "$(verdict "$([ -z "$over" ] && echo 1 || echo 0)")"
done < <(grep '^BM_Present/' "$work/present.txt")

# Runs a program for warm-up + measured seconds; prints its CPU use (percent of one core) and its
# peak resident memory in MB, then stops it the way a window manager would (SIGTERM).
measure() {
  "$@" >"$work/out.log" 2>&1 &
  local pid=$! c0 t0 c1 t1 peak
  sleep "$warmup"
  kill -0 "$pid" 2>/dev/null || { echo "report: $1 ended early:" >&2; cat "$work/out.log" >&2; exit 1; }
  c0=$(awk '{ print $14 + $15 }' "/proc/$pid/stat"); t0=$(date +%s.%N)
  sleep "$seconds"
  c1=$(awk '{ print $14 + $15 }' "/proc/$pid/stat"); t1=$(date +%s.%N)
  peak=$(awk '$1 == "VmHWM:" { print $2 }' "/proc/$pid/status")
  kill -TERM "$pid"
  wait "$pid" 2>/dev/null || true
  awk -v c="$((c1 - c0))" -v hz="$(getconf CLK_TCK)" -v t0="$t0" -v t1="$t1" -v kb="$peak" \
    'BEGIN { printf "%.2f %.1f\n", 100 * c / hz / (t1 - t0), kb / 1024 }'
}
read -r floor_pct floor_mb < <(measure "$floor" --scale 2)
read -r menu_pct menu_mb < <(measure "$game" "${windowed[@]}")
read -r menu_floor_pct _ < <(measure "$floor" --scale 2 --music "$build/Sound/music.mod")
read -r game_pct game_mb < <(measure "$game" "${windowed[@]}" --input "$work/level9.txt" --dump-state "$work/end.json")
read -r game_floor_pct _ < <(measure "$floor" --scale 2 --music "$build/Sound/music1.mod")
in_game=$(grep -q '"ScreenState": 0,' "$work/end.json" 2>/dev/null && grep -q '"Level": 8,' "$work/end.json" && echo "" || echo " (left the game!)")
cpu_row() {  # cpu_row WHAT GAME_PCT TUNE_FLOOR_PCT
  row "CPU, $seconds s windowed: $1" "$2 % of a core" "floor $floor_pct %; floor + tune $3 %" "<= $cpu_target x floor + tune" \
    "$(awk -v g="$2" -v f="$3" -v t="$cpu_target" 'BEGIN { if (f < 0.01) f = 0.01; printf "%.2f x: %s", g / f, g / f <= t ? "met" : "**missed**" }')"
}
cpu_row "main menu" "$menu_pct" "$menu_floor_pct"
cpu_row "level-9 game$in_game" "$game_pct" "$game_floor_pct"
for pair in "main menu:$menu_mb" "level-9 game:$game_mb"; do
  mb=${pair##*:}
  row "peak resident memory, window, ${pair%%:*}" "$mb MB" "SDL window alone: $floor_mb MB" "< $memory_mb MB" "$(verdict "$(awk -v m="$mb" -v t="$memory_mb" 'BEGIN { print m < t }')")"
done

# Each SDL renderer: start-up of the game and of the window alone, and the main menu's peak memory
# and CPU (software is the default, measured above).
for r in "${renderers[@]}"; do
  if [ "$r" = software ]; then
    pct=$menu_pct mb=$menu_mb
  else
    read -r pct mb < <(measure "$game" "${windowed[@]}" --renderer "$r")
  fi
  row "renderer $r: start-up, memory, CPU (main menu)" "${start[$r]} ms, $mb MB, $pct % of a core" \
    "SDL window alone: ${floor_start[$r]} ms" "-" "$([ "$r" = software ] && echo default || echo on request)"
done

# Replay: a recording of 2,500 frames of the level-9 game, replayed headless; the best of 3, less
# the best of 3 replays of its first 12 frames (start-up, level build) to leave the frames alone.
"$game" --headless --seed 1 --input "$work/level9.txt" --frames 2500 --record "$work/level9.rec"
replay_ns() {
  for _ in 1 2 3; do
    local t0 t1
    t0=$(date +%s%N)
    "$game" --headless --play "$work/level9.rec" --frames "$1"
    t1=$(date +%s%N)
    echo $((t1 - t0))
  done | least
}
long=$(replay_ns 2500)
short=$(replay_ns 12)
fps=$(awk -v l="$long" -v s="$short" 'BEGIN { d = l - s; if (d < 1) d = 1; printf "%.0f", 2488 / (d / 1e9) }')
row "headless replay, level-9 game" "$fps frames/s" "real time: 32 frames/s" "> $replay_fps frames/s" "$(verdict "$((fps > replay_fps))")"
peak_kb=$( { /usr/bin/time -f '%M' "$game" --headless --play "$work/level9.rec" --frames 2500 >/dev/null; } 2>&1 | tail -1)
mb=$(awk -v k="$peak_kb" 'BEGIN { printf "%.1f", k / 1024 }')
row "peak resident memory, headless replay" "$mb MB" "-" "< $memory_mb MB" "$(verdict "$(awk -v m="$mb" -v t="$memory_mb" 'BEGIN { print m < t }')")"

{
  echo "| measure | this run | reference | target | verdict |"
  echo "|---|---|---|---|---|"
  printf '%s\n' "${rows[@]}"
  echo
  echo "$(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, load average $load_before before and $(cut -d' ' -f1-3 /proc/loadavg) after;" \
    "CPU over $seconds s; $(basename "$build"), $(grep -m1 '^CMAKE_BUILD_TYPE' "$build/CMakeCache.txt" | cut -d= -f2), $(grep -m1 '^CMAKE_CXX_COMPILER:' "$build/CMakeCache.txt" | cut -d= -f2)"
} >"$work/table.md"
cat "$work/table.md"
# --write: the dated table replaces what stands between the markers of docs/performance.md.
if [ "$write" = 1 ]; then
  doc="$here/../docs/performance.md"
  [ -L "$doc" ] && { echo "report: $doc is a symbolic link; not written" >&2; exit 1; }
  grep -q '^<!-- report -->$' "$doc" && grep -q '^<!-- /report -->$' "$doc" ||
    { echo "report: $doc has no <!-- report --> ... <!-- /report --> markers" >&2; exit 1; }
  awk -v table="$work/table.md" '
    /^<!-- \/report -->$/ { while ((getline line < table) > 0) print line; skip = 0 }
    !skip { print }
    /^<!-- report -->$/ { skip = 1 }' "$doc" >"$work/doc.md"
  cat "$work/doc.md" >"$doc"
fi
