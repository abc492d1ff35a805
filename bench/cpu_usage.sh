#!/usr/bin/env bash
# CPU cost of the windowed game on its start screen against the floor of presenting the same
# picture size every 31 ms, both under a private Xvfb at --scale 2, 10 s each.
# Usage: bench/cpu_usage.sh [BUILD_DIR] (default: build). Target: ratio <= 1.25.
# MURKO_BENCH_SECONDS overrides the 10 s; MURKO_BENCH_GAME_ARGS the game's extra options.
# The game plays its music through SDL's dummy audio device, which takes samples at the pace of a
# real sound card; libmikmod's own silent driver would mix a fixed block on every pass of the loop
# and so charge the game for how often it wakes rather than for what it plays.
set -euo pipefail

build=${1:-build}
seconds=${MURKO_BENCH_SECONDS:-10}
warmup=2
game_args=${MURKO_BENCH_GAME_ARGS:---audio sdl}
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
game="$build/murko"
floor="$build/murko_present_floor"
for program in "$game" "$floor"; do
  [ -x "$program" ] || { echo "cpu_usage: $program not built" >&2; exit 2; }
done
command -v Xvfb >/dev/null || { echo "cpu_usage: Xvfb missing (scripts/setup.sh installs it)" >&2; exit 2; }

work=$(mktemp -d)
xvfb_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# A display number nobody uses.
display=90
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
[ -e "/tmp/.X11-unix/X$display" ] || { echo "cpu_usage: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$display"
export XDG_RUNTIME_DIR="$work"  # the game's single-instance lock stays private to this run
chmod 700 "$work"

ticks_per_second=$(getconf CLK_TCK)

# CPU ticks (user + system, all threads) a process has used so far.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

# Runs a program for warm-up + measured seconds; prints its CPU use as a percentage of one core.
measure() {
  "$@" >"$work/out.log" 2>&1 &
  local pid=$!
  sleep "$warmup"
  kill -0 "$pid" 2>/dev/null || { echo "cpu_usage: $1 ended early:" >&2; cat "$work/out.log" >&2; exit 1; }
  local c0 t0 c1 t1
  c0=$(cpu_ticks "$pid"); t0=$(date +%s.%N)
  sleep "$seconds"
  c1=$(cpu_ticks "$pid"); t1=$(date +%s.%N)
  kill -TERM "$pid"
  wait "$pid" 2>/dev/null || true
  awk -v c="$((c1 - c0))" -v hz="$ticks_per_second" -v t0="$t0" -v t1="$t1" \
    'BEGIN { printf "%.2f\n", 100 * c / hz / (t1 - t0) }'
}

# shellcheck disable=SC2086
game_pct=$(measure "$game" --scale 2 --windowed $game_args)
# The same game without music (a data folder with pictures but no Sound/): what the frame loop
# itself costs, apart from the library mixing the tune.
mkdir -p "$work/silent" && ln -s "$(cd "$build" && pwd)/Graph" "$work/silent/Graph"
# shellcheck disable=SC2086
silent_pct=$(measure "$game" --scale 2 --windowed $game_args --data "$work/silent")
floor_pct=$(measure "$floor" --scale 2)
echo "game on its start screen: ${game_pct}% of one core"
echo "same, without music:      ${silent_pct}% of one core"
echo "present floor:            ${floor_pct}% of one core"
awk -v g="$game_pct" -v s="$silent_pct" -v f="$floor_pct" 'BEGIN {
  if (f <= 0) f = 0.01;  # a floor below the clock resolution counts as the smallest step
  r = g / f
  printf "ratio game/floor:         %.2f (target <= 1.25: %s)\n", r, r <= 1.25 ? "met" : "missed"
  printf "ratio without music:      %.2f\n", s / f
}'
