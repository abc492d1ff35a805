#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it in a window. Extra arguments go to the game.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh play
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMURKO_TESTS=OFF -DMURKO_BENCH=OFF >/dev/null
cmake --build build --target murko
exec ./build/murko "$@"
