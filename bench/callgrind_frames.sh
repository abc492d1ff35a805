#!/bin/sh
# Instructions of one steady frame of each PresentFrame path and of each front-end screen, counted
# by callgrind: the same figures on a busy machine as on a quiet one. A frame's count is that of
# 11 frames less that of the first, divided by 10, so one-time work (a cache filled on the first
# frame) is left out. Valgrind counts a string move byte by byte, so the 512-byte-row path reads
# high here; its cost is a matter of time (bench/present_ratios.sh), not of instructions.
# Usage: bench/callgrind_frames.sh [BUILD_DIR]   (default: build)
set -eu

build=$(cd "${1:-build}" && pwd)
command -v valgrind >/dev/null || { echo "callgrind_frames: valgrind is not installed" >&2; exit 2; }
out=$(mktemp)
trap 'rm -f "$out"' EXIT

# Instructions counted inside FUNCTION while PROGRAM ARGS... runs.
count() {
    function=$1
    shift
    valgrind --tool=callgrind --callgrind-out-file="$out" --collect-atstart=no \
        --toggle-collect="$function" "$@" >/dev/null 2>&1
    awk '/^(summary|totals):/ { print $2; exit }' "$out"
}

# Instructions of one frame after the first: (count of 11 frames - count of 1) / 10.
per_frame() {
    function=$1
    program=$2
    shift 2
    one=$(count "$function" "$program" --frames "$@" 1)
    eleven=$(count "$function" "$program" --frames "$@" 11)
    echo $(((eleven - one) / 10))
}

printf '%-28s %12s\n' "frame" "instructions"
for panel in rgb565 rgb565-512 rotated flipped gray2 gray4; do
    printf '%-28s %12s\n' "PresentFrame, $panel" "$(per_frame 'PresentFrame()' "$build/bench_present" "$panel")"
done
cd "$build"  # the screens load their pictures from beside the program
for screen in "2 0 main menu" "5 0 level select" "6 0 level complete" "1 0 high scores" \
    "3 0 name entry" "4 0 help page 1" "4 1 help page 2" "4 2 help page 3"; do
    set -- $screen
    name=${screen#* * }
    printf '%-28s %12s\n' "$name" "$(per_frame 'RunScreenHandler()' ./bench_screens "$1" "$2")"
done
