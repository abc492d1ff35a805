#!/usr/bin/env bash
# Installs, with apt-get, whatever the build, the tests and the benchmarks need and is missing.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config
  libsdl2-dev libmikmod-dev libpng-dev
  libgtest-dev libbenchmark-dev
  clang libclang-rt-14-dev
  imagemagick xmp xvfb valgrind sox console-setup-linux
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "setup: installing ${missing[*]}" >&2
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
