#!/usr/bin/env bash
# Installs, with apt-get, what is missing. "play" (the default) is what building and playing the
# game needs; "test" adds what the tests, the sanitizer and clang builds, the fuzzers, the
# benchmarks and the packaging checks need. Both lists are checked against a bare Debian 12, which
# has none of these (build-essential brings the compiler and dpkg-dev).
set -euo pipefail
play=(build-essential cmake ninja-build pkg-config libsdl2-dev libmikmod-dev libpng-dev)
test=(
  libgtest-dev libbenchmark-dev
  clang libclang-rt-14-dev clang-format
  git file imagemagick xvfb valgrind console-setup-linux time
  desktop-file-utils appstream lintian
)
case "${1:-play}" in
  play) packages=("${play[@]}") ;;
  test) packages=("${play[@]}" "${test[@]}") ;;
  *) echo "usage: scripts/setup.sh [play | test]" >&2; exit 2 ;;
esac
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "setup: run as root, or install sudo, to install ${missing[*]}" >&2; exit 1; }
  sudo="sudo"
fi
echo "setup: installing ${missing[*]}" >&2
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
