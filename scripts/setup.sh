#!/usr/bin/env bash
# Installs, with apt-get, whatever the build, the tests and the benchmarks need and is missing.
# The list is checked against a bare Debian 12, which has none of these (build-essential brings
# the compiler and dpkg-dev; file lets cpack find the libraries the .deb depends on).
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config file
  libsdl2-dev libmikmod-dev libpng-dev
  libgtest-dev libbenchmark-dev
  clang libclang-rt-14-dev clang-format
  imagemagick xmp xvfb valgrind sox console-setup-linux time
  desktop-file-utils appstream lintian
)
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
