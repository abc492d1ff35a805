#!/usr/bin/env bash
# The whole soak: a million headless frames of random and purposeful input over random seeds and
# every screen, level complete included, built with AddressSanitizer and UndefinedBehaviorSanitizer
# (build-asan/), the game's invariants checked after each frame; it fails when a screen got no
# frame. Usage: fuzz/soak.sh [FRAMES] [SEED]
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMURKO_SANITIZE=ON -DMURKO_BENCH=OFF -DMURKO_WERROR=ON >/dev/null
cmake --build build-asan --target murko_soak murko
time ./build-asan/murko_soak "${1:-1000000}" "${2:-$RANDOM}" build-asan
