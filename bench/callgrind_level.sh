#!/bin/sh
# Counts the instructions of one level-9 BuildLevel under callgrind and compares them with the target.
# Usage: bench/callgrind_level.sh [path/to/bench_level] [seed]
# Without a path it takes the newest bench_level found in a build folder beside this script's parent.
set -eu

target=1500000  # instructions allowed for one level-9 BuildLevel
here=$(cd "$(dirname "$0")/.." && pwd)
bench=${1:-}
seed=${2:-1}
if [ -z "$bench" ]; then
    bench=$(ls -t "$here"/build*/bench_level 2>/dev/null | head -n 1 || true)
fi
if [ -z "$bench" ] || [ ! -x "$bench" ]; then
    echo "callgrind_level: no bench_level program found; build it or pass its path" >&2
    exit 2
fi
command -v valgrind >/dev/null || { echo "callgrind_level: valgrind is not installed" >&2; exit 2; }

out=$(mktemp)
trap 'rm -f "$out"' EXIT
# Count only inside BuildLevel (and what it calls), not start-up or the program's exit.
valgrind --tool=callgrind --callgrind-out-file="$out" --collect-atstart=no \
    --toggle-collect='BuildLevel()' "$bench" --one-level-9 "$seed" >/dev/null 2>&1
count=$(awk '/^(summary|totals):/ { print $2; exit }' "$out")
if [ -z "$count" ] || [ "$count" -eq 0 ]; then
    echo "callgrind_level: no instructions counted in BuildLevel" >&2
    exit 2
fi
awk -v n="$count" -v t="$target" -v s="$seed" 'BEGIN {
    printf "BuildLevel, level 9, seed %s: %d instructions; target %d; ratio %.3f of target\n", s, n, t, n / t
}'
[ "$count" -le "$target" ] || { echo "callgrind_level: over the target" >&2; exit 1; }
