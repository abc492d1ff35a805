#!/usr/bin/env bash
# Installs what is missing, builds everything (game, tools, tests, benchmarks) and runs every test.
# With --sanitize the build (in build-asan/) uses AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
dir=build
flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DMURKO_WERROR=ON)
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-asan
  flags=(-DCMAKE_BUILD_TYPE=Debug -DMURKO_SANITIZE=ON -DMURKO_BENCH=OFF -DMURKO_WERROR=ON)
fi
cmake -S . -B "$dir" -G Ninja "${flags[@]}" >/dev/null
cmake --build "$dir"
cd "$dir"
ctest --output-on-failure -j "$(nproc)"
