#!/usr/bin/env bash
# Builds the fuzz targets with clang (ASan + UBSan + libFuzzer) in build-fuzz/ and runs each for
# SECONDS (default 60), starting from the seeds in fuzz/corpus/NAME. New inputs go to a scratch
# folder, so the repository's seeds stay as they are. The game's own output is closed (-close_fd_mask):
# it says "short file" thousands of times a second. Prints the executions each target reached.
# Usage: fuzz/run.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DMURKO_SANITIZE=ON -DMURKO_FUZZ=ON -DMURKO_TESTS=OFF -DMURKO_BENCH=OFF -DMURKO_WERROR=ON >/dev/null
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in fuzz/fuzz_*.cpp; do targets+=("$(basename "$f" .cpp)"); done
fi
cmake --build build-fuzz --target "${targets[@]}" murko-art murko-sound
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export MURKO_FUZZ_DATA="$PWD/build-fuzz"
status=0
for t in "${targets[@]}"; do
  mkdir -p "$scratch/$t" "fuzz/crashes"
  log="$scratch/$t.log"
  if ./build-fuzz/"$t" -max_total_time="$seconds" -rss_limit_mb=4096 -artifact_prefix=fuzz/crashes/"$t"- \
      -print_final_stats=1 -close_fd_mask=3 "$scratch/$t" fuzz/corpus/"$t" >"$log" 2>&1; then
    echo "$t: $(grep -m1 'stat::number_of_executed_units' "$log" | awk '{print $2}') executions in ${seconds} s, no crash"
  else
    echo "$t: FAILED; the input is in fuzz/crashes/ and the log follows" >&2
    tail -40 "$log" >&2
    status=1
  fi
done
exit $status
