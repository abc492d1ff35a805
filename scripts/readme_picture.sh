#!/usr/bin/env bash
# Writes docs/murko.png, the README's picture: the main menu and a level-1 maze with spiders,
# side by side, both drawn by the headless runner. Usage: scripts/readme_picture.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
printf '%s\n' '2 tap 100 200' '5 tap 100 40' '20 down right' '60 up right' '60 down down' \
  '100 up down' '100 down left' '160 up left' > "$work/walk.txt"
"$build/murko" --headless --seed 7 --frames 200 --screenshot "$work/menu.png"
"$build/murko" --headless --seed 4 --frames 200 --input "$work/walk.txt" --screenshot "$work/game.png"
montage "$work/menu.png" "$work/game.png" -tile 2x1 -geometry +8+0 -background '#202020' \
  -strip docs/murko.png
