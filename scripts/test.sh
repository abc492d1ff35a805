#!/usr/bin/env bash
# Installs what is missing, builds everything (game, tools, tests, benchmarks) and runs every test.
# Warnings are errors here (MURKO_WERROR). With --sanitize the build (in build-asan/) uses
# AddressSanitizer and UndefinedBehaviorSanitizer; with --clang the build (in build-clang/) is an
# optimised one by clang, so both compilers see every file.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh test
dir=build
flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DMURKO_TESTS=ON -DMURKO_BENCH=ON -DMURKO_WERROR=ON)
case "${1:-}" in
  --sanitize)
    dir=build-asan
    flags=(-DCMAKE_BUILD_TYPE=Debug -DMURKO_SANITIZE=ON -DMURKO_TESTS=ON -DMURKO_BENCH=OFF -DMURKO_WERROR=ON) ;;
  --clang)
    dir=build-clang
    flags=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=clang++ -DMURKO_TESTS=ON -DMURKO_BENCH=ON -DMURKO_WERROR=ON) ;;
  "") ;;
  *) echo "usage: scripts/test.sh [--sanitize | --clang]" >&2; exit 2 ;;
esac
if [ -z "${1:-}" ]; then
  git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
fi
cmake -S . -B "$dir" -G Ninja "${flags[@]}" >/dev/null
cmake --build "$dir"
if [ -z "${1:-}" ]; then
  # The desktop files validate, and the manual page names every option --help lists.
  desktop-file-validate dist/murko.desktop
  appstreamcli validate --no-net "$dir"/*.metainfo.xml >/dev/null
  # (read once: grep -q leaving a pipe early would fail the pipe under pipefail)
  manual=$(sed 's/\\-/-/g' dist/murko.6)
  for option in $("$dir/murko" --help | grep -o -- '--[a-z0-9-]*' | sort -u); do
    grep -q -- "$option" <<<"$manual" || { echo "murko.6 lacks $option" >&2; exit 1; }
  done
fi
cd "$dir"
ctest --output-on-failure -j "$(nproc)"
