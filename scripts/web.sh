#!/usr/bin/env bash
# The web edition: builds the game for WebAssembly into build-web/site/, serves it, tests it.
#
#   scripts/web.sh               installs what is missing, builds build-web/site/
#   scripts/web.sh --serve [P]   builds, then serves build-web/site/ on 127.0.0.1 (port P, 8080)
#   scripts/web.sh --test        builds, then drives Debian's Chromium through the browser test
#   scripts/web.sh --figures     builds, then measures transfer size, first frame and frame rate,
#                                and writes them into docs/performance.md ("Web edition")
#
# Everything comes from Debian's archive (emscripten, and the sources of SDL2, libmikmod, zlib and
# libpng, fetched with apt-get source through a private copy of the machine's sources list) and,
# for the test, the npm registry (puppeteer-core; the browser is Debian's). emscripten's own ports
# download from elsewhere and are never used. The libraries built for WebAssembly are cached in
# build-web/deps/ and in ~/.cache/murko-web/, keyed by their versions and this script's recipe.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$root/build-web
cache_home=${XDG_CACHE_HOME:-$HOME/.cache}/murko-web
export NODE_PATH=/usr/share/nodejs  # emscripten's optimiser needs acorn from Debian's node modules
jobs=$(nproc)
started=$(date +%s)

say() { echo "web: $*" >&2; }

# Installs the named Debian packages that are missing.
need() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { say "run as root, or install sudo, to install ${missing[*]}"; exit 1; }
    sudo="sudo"
  fi
  say "installing ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# The source packages, from the release the machine runs; the security archive's copy of a source
# may be missing where its binary is not, so the release's own version is asked for by name.
sources=(libsdl2 libmikmod zlib libpng1.6)
release=$(. /etc/os-release && echo "$VERSION_CODENAME")

# apt-get with a private deb-src copy of the machine's own lists; the machine's lists stay as they
# are (its state, cache and lists folders are ours too).
private_apt() {
  local dir=$out/deps/apt
  mkdir -p "$dir/parts" "$dir/lists/partial" "$dir/cache/archives/partial"
  : > "$dir/sources.list"
  local f
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] && sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$f" | grep -i 'debian' >> "$dir/sources.list" || true
  done
  : > "$dir/sources.sources"
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && grep -qi 'debian' "$f" && sed 's/^Types:.*$/Types: deb-src/' "$f" >> "$dir/sources.sources" && echo >> "$dir/sources.sources"
  done
  local list=$dir/sources.sources
  [ -s "$list" ] || list=$dir/sources.list
  apt-get -o Dir::Etc::SourceList="$list" -o Dir::Etc::SourceParts="$dir/parts" \
    -o Dir::State::Lists="$dir/lists" -o Dir::Cache="$dir/cache" -o Debug::NoLocking=1 \
    -o APT::Sandbox::User="$(id -un)" "$@"
}

fetch_sources() {
  local src=$out/deps/src
  [ -f "$src/.fetched" ] && return 0
  say "fetching the sources of ${sources[*]} from Debian"
  rm -rf "$src"
  mkdir -p "$src"
  private_apt -qq update
  (cd "$src" && private_apt -qq source "${sources[@]/%//$release}" >/dev/null)
  touch "$src/.fetched"
}

# The unpacked folder of a source package.
source_dir() { find "$out/deps/src" -maxdepth 1 -type d -name "$1-*" | head -1; }

# What the cached libraries depend on: the source versions, the compiler and this recipe.
deps_key() {
  {
    emcc --version | sed -n 1p
    (cd "$out/deps/src" && ls ./*.dsc)
    sed -n '/^build_deps()/,/^}/p' "$0"
  } | sha256sum | cut -c1-16
}

# Configures, builds and installs one library with its own CMake files (once: a stamp marks it).
emcmake_build() {
  local name=$1 dir=$2
  shift 2
  [ -f "$out/deps/build/$name.done" ] && return 0
  say "building $name for WebAssembly"
  emcmake cmake -S "$dir" -B "$out/deps/build/$name" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_FIND_ROOT_PATH="$prefix" \
    "$@" >"$out/deps/build/$name.log" 2>&1 || { tail -30 "$out/deps/build/$name.log" >&2; exit 1; }
  nice cmake --build "$out/deps/build/$name" -j "$jobs" >>"$out/deps/build/$name.log" 2>&1 ||
    { tail -30 "$out/deps/build/$name.log" >&2; exit 1; }
  cmake --install "$out/deps/build/$name" >>"$out/deps/build/$name.log" 2>&1
  touch "$out/deps/build/$name.done"
}

# SDL2 with only what the sound needs (its Web Audio output); the page draws and reads input
# itself. libmikmod with its SDL driver and no threads. zlib and libpng for the screenshots.
build_deps() {
  mkdir -p "$out/deps/build"
  # zlib's CMake file names sources Debian's copy leaves out; its own configure needs none.
  if [ ! -f "$out/deps/build/zlib.done" ]; then
    say "building zlib for WebAssembly"
    (cd "$(source_dir zlib)" && emconfigure ./configure --static --prefix="$prefix" &&
      emmake make -j "$jobs" libz.a && emmake make install) >"$out/deps/build/zlib.log" 2>&1 ||
      { tail -30 "$out/deps/build/zlib.log" >&2; exit 1; }
    touch "$out/deps/build/zlib.done"
  fi
  emcmake_build libpng "$(source_dir libpng1.6)" -DPNG_SHARED=OFF -DPNG_TESTS=OFF \
    -DPNG_EXECUTABLES=OFF -DPNG_TOOLS=OFF -DZLIB_ROOT="$prefix"
  emcmake_build SDL2 "$(source_dir libsdl2)" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF \
    -DSDL_THREADS=OFF -DSDL_PTHREADS=OFF -DSDL_VIDEO=OFF -DSDL_RENDER=OFF -DSDL_JOYSTICK=OFF \
    -DSDL_HAPTIC=OFF -DSDL_HIDAPI=OFF -DSDL_SENSOR=OFF -DSDL_POWER=OFF -DSDL_LOCALE=OFF \
    -DSDL_MISC=OFF -DSDL_FILESYSTEM=OFF -DSDL_DISKAUDIO=OFF -DSDL_DUMMYAUDIO=OFF
  emcmake_build libmikmod "$(source_dir libmikmod)" -DENABLE_SDL=1 -DENABLE_STATIC=0 \
    -DENABLE_THREADS=0 -DENABLE_DL=0 -DENABLE_ALSA=0 -DENABLE_OSS=0 -DENABLE_PULSE=0 \
    -DENABLE_OPENAL=0 -DENABLE_PIPE=0 -DENABLE_STDOUT=0 -DENABLE_RPATH=0 -DENABLE_DOC=0 \
    -DSDL_INCLUDE_DIR="$prefix/include/SDL2" -DSDL_LIBRARY="$prefix/lib/libSDL2.a"
}

deps() {
  fetch_sources
  local key
  key=$(deps_key)
  prefix=$out/deps/prefix
  [ "$(cat "$prefix/.key" 2>/dev/null)" = "$key" ] && return 0
  if [ -f "$cache_home/deps-$key/.key" ]; then
    say "taking the WebAssembly libraries from $cache_home/deps-$key"
    rm -rf "$prefix"
    cp -a "$cache_home/deps-$key" "$prefix"
    return 0
  fi
  local t0
  t0=$(date +%s)
  # A half-done build of the same recipe goes on where it stopped; another starts afresh.
  if [ "$(cat "$out/deps/build/.key" 2>/dev/null)" != "$key" ]; then
    rm -rf "$out/deps/build" "$prefix"
    mkdir -p "$out/deps/build"
    echo "$key" > "$out/deps/build/.key"
  fi
  build_deps
  echo "$key" > "$prefix/.key"
  say "libraries built in $(( $(date +%s) - t0 )) s"
  mkdir -p "$cache_home"
  rm -rf "$cache_home"/deps-*
  cp -a "$prefix" "$cache_home/deps-$key.part" && mv "$cache_home/deps-$key.part" "$cache_home/deps-$key"
}

# The desktop tools draw the pictures and write the music (and the program the test compares with).
native() {
  say "building the native tools and the data"
  cmake -S "$root" -B "$out/native" -G Ninja -DCMAKE_BUILD_TYPE=Release -DMURKO_TESTS=OFF \
    -DMURKO_BENCH=OFF >"$out/native.log" 2>&1 || { cat "$out/native.log" >&2; exit 1; }
  nice cmake --build "$out/native" --target murko murko_art_assets murko_sound_assets murko_icons \
    | { grep -v '^\[\|^ninja: no work' || true; }
}

game() {
  say "building the game for WebAssembly"
  emcmake cmake -S "$root" -B "$out/game" -G Ninja -DCMAKE_BUILD_TYPE=Release -DMURKO_WERROR=ON \
    -DMURKO_WEB_DEPS="$prefix" -DMURKO_WEB_DATA="$out/native" >"$out/game.log" 2>&1 ||
    { cat "$out/game.log" >&2; exit 1; }
  nice cmake --build "$out/game" --target murko | { grep -v '^\[\|^ninja: no work' || true; }
}

# build-web/site/: the page, the game, its data, the icons, the manifest and the service worker,
# whose file list and version (a digest of every other file) are written in here.
site() {
  local site=$out/site new=$out/site.new
  rm -rf "$new"
  mkdir -p "$new/icons"
  cp web/index.html web/page.js web/manifest.webmanifest "$new/"
  cp "$out/game/murko.js" "$out/game/murko.wasm" "$out/game/murko.data" "$new/"
  local png side
  for png in "$out"/native/icons/hicolor/*/apps/murko.png; do
    side=${png%/apps/murko.png}
    side=${side##*/}
    cp "$png" "$new/icons/murko-${side%%x*}.png"
  done
  local files version list
  files=$(cd "$new" && find . -type f | sed 's|^\./||' | sort)
  version=$(cd "$new" && sha256sum $files | sha256sum | cut -c1-16)
  list=$(printf "'%s', " $files)
  sed -e "s/@VERSION@/$version/" -e "s|@FILES@|${list%, }|" web/sw.js > "$new/sw.js"
  rm -rf "$site"
  mv "$new" "$site"
  say "site $version in $site ($(du -sk "$site" | cut -f1) KB)"
}

# puppeteer-core from the npm registry, at the version tests/web/package-lock.json names.
npm_packages() {
  local dir=$out/npm
  if ! cmp -s tests/web/package-lock.json "$dir/package-lock.json" || [ ! -d "$dir/node_modules" ]; then
    say "installing puppeteer-core"
    rm -rf "$dir"
    mkdir -p "$dir"
    cp tests/web/package.json tests/web/package-lock.json "$dir/"
    (cd "$dir" && npm ci --no-audit --no-fund --loglevel=error >/dev/null)
  fi
}

# What the browser test and the figures need: Debian's Chromium, Node's npm, puppeteer-core.
browser_tools() {
  need chromium
  command -v npm >/dev/null || need npm
  npm_packages
}

test_env() {
  MURKO_SITE=$out/site MURKO_NATIVE=$out/native/murko MURKO_NPM=$out/npm "$@"
}

main() {
  case "${1:-}" in
    "" | --test | --figures) ;;
    --serve) [[ "${2:-8080}" =~ ^[0-9]+$ ]] || { say "--serve takes a port number"; exit 2; } ;;
    *) say "usage: scripts/web.sh [--serve [PORT] | --test | --figures]"; exit 2 ;;
  esac
  need emscripten dpkg-dev build-essential cmake ninja-build pkg-config libsdl2-dev \
    libmikmod-dev libpng-dev
  local t0=$started
  deps
  say "libraries ready after $(( $(date +%s) - t0 )) s"
  native
  game
  site
  say "built in $(( $(date +%s) - started )) s"
  case "${1:-}" in
    --serve) exec node scripts/web_serve.mjs "$out/site" "${2:-8080}" ;;
    --test)
      browser_tools
      say "the browser test"
      test_env node --test --test-concurrency=1 tests/web/browser.test.mjs
      say "built and tested in $(( $(date +%s) - started )) s" ;;
    --figures)
      browser_tools
      MURKO_REPORT=$root/docs/performance.md test_env node bench/web_figures.mjs ;;
  esac
}

main "$@"
