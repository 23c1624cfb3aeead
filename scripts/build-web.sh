#!/bin/bash
# Builds Kavrix for the browser into OUTDIR: the page (index.html), the game
# as WebAssembly with its data, and kavrix-headless.js, the same program for
# node with the native command line. Everything comes from Debian: the
# toolchain (emscripten, nodejs, chromium for the browser test) and the
# source packages of the libraries, pinned below and built once into a cache
# outside the clone, keyed by their versions.
#
#   scripts/build-web.sh OUTDIR
#
# Variables: KAVRIX_WEB_CACHE (the library cache, default
# ~/.cache/kavrix-web), KAVRIX_NATIVE_BUILD (the native build that runs
# assetgen, default build), KAVRIX_WEB_BUILD (default build-web), JOBS.
set -euo pipefail
cd "$(dirname "$0")/.."
source=$PWD
[ $# -eq 1 ] || { echo "usage: scripts/build-web.sh OUTDIR" >&2; exit 2; }
out=$(mkdir -p "$1" && cd "$1" && pwd)
jobs=${JOBS:-$(nproc)}
native=${KAVRIX_NATIVE_BUILD:-build}
webbuild=${KAVRIX_WEB_BUILD:-build-web}
cache_root=${KAVRIX_WEB_CACHE:-${HOME:-/root}/.cache/kavrix-web}

# The Debian source packages the libraries are built from, each pinned to one
# revision: one list shared with the Windows build (scripts/library_sources.sh).
source scripts/library_sources.sh
PINS=("${KAVRIX_LIBRARY_PINS[@]}")
# Raised when a recipe below changes, so the cache is built anew.
RECIPE=3

log() { echo "build-web: $*" >&2; }
nicely() { nice -n 10 "$@"; }

# --- The toolchain, from Debian, when missing ----------------------------------
need=""
for p in emscripten nodejs chromium fonts-liberation fonts-dejavu-core dpkg-dev xz-utils cmake make python3; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || need="$need $p"
done
if [ -n "$need" ]; then
  log "installing:$need"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $need >/dev/null
fi
# Debian's emcc runs its tools on node and finds their modules (acorn) among
# Debian's node packages, also when another node is first on the PATH.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
# node 18 and later fetch() the .wasm of a program run under node, which fails
# for a file path: the program reads it from the file system instead.
export NODE_OPTIONS="--no-experimental-fetch${NODE_OPTIONS:+ $NODE_OPTIONS}"
emversion=$(cat /usr/share/emscripten/emscripten-version.txt 2>/dev/null | tr -d '"' || echo unknown)

key="em${emversion}-r${RECIPE}"
for pin in "${PINS[@]}"; do key="$key-${pin//[:=+~]/_}"; done
key=$(echo "$key" | sha1sum | cut -c1-12)
cache="$cache_root/$key"
prefix="$cache/prefix"

# --- The libraries, built once per set of versions ------------------------------
build_libraries() {
  local src="$cache/src"
  fetch_library_sources "$src" "$cache_root" build-web
  mkdir -p "$prefix/lib" "$prefix/include"
  local dir
  dir() { ls -d "$src"/"$1"-[0-9]*/ | head -1; }
  local common=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF
                -DCMAKE_FIND_ROOT_PATH="$prefix" -DCMAKE_PREFIX_PATH="$prefix"
                -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG")
  # Optimised objects; the configure checks' test programs are linked
  # without optimising (emcc's optimising link takes seconds each).
  local cflags="-O2"
  export LDFLAGS="-O0"

  log "zlib"
  (cd "$(dir zlib)" && CFLAGS=$cflags nicely emconfigure ./configure --static --prefix="$prefix" >/dev/null &&
     nicely emmake make -j"$jobs" libz.a >/dev/null && cp libz.a "$prefix/lib/" && cp zlib.h zconf.h "$prefix/include/")

  log "libpng"
  (cd "$(dir libpng1.6)" && mkdir -p web && cd web &&
     nicely emcmake cmake .. "${common[@]}" -DPNG_SHARED=OFF -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
       -DZLIB_LIBRARY="$prefix/lib/libz.a" -DZLIB_INCLUDE_DIR="$prefix/include" >/dev/null &&
     nicely cmake --build . -j"$jobs" --target png_static >/dev/null && cp libpng16.a "$prefix/lib/libpng.a" &&
     cp ../png.h ../pngconf.h pnglibconf.h "$prefix/include/")

  log "libjpeg-turbo"
  # Its size_t check misfires under emscripten; the sizes are wasm32's.
  (cd "$(dir libjpeg-turbo)" && mkdir -p web && cd web &&
     nicely emcmake cmake .. "${common[@]}" -DSIZE_T=4 -DHAVE_SIZE_T=TRUE -DWITH_SIMD=OFF -DENABLE_SHARED=OFF \
       -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF >/dev/null &&
     nicely cmake --build . -j"$jobs" --target jpeg-static >/dev/null && cp libjpeg.a "$prefix/lib/" &&
     cp ../jpeglib.h ../jmorecfg.h ../jerror.h jconfig.h "$prefix/include/")

  log "freetype"
  # Against the zlib above: its own copy would collide with it.
  (cd "$(dir freetype)" && mkdir -p web && cd web &&
     nicely emcmake cmake .. "${common[@]}" -DFT_REQUIRE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON \
       -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON -DZLIB_LIBRARY="$prefix/lib/libz.a" \
       -DZLIB_INCLUDE_DIR="$prefix/include" >/dev/null &&
     nicely cmake --build . -j"$jobs" >/dev/null && nicely cmake --install . >/dev/null)

  log "SDL2"
  # As Emscripten's own port of SDL builds it: SDL's ready-made configuration
  # for Emscripten (include/SDL_config_emscripten.h) and the sources of the
  # parts the browser has compiled straight, without the hundreds of
  # configure checks its CMake runs (each an emcc link: minutes).
  (cd "$(dir libsdl2)" && mkdir -p web &&
     ls src/*.c src/{atomic,audio,cpuinfo,dynapi,events,file,joystick,libm,locale,misc,power,render,sensor}/*.c \
        src/{stdlib,thread,timer,video}/*.c src/render/*/*.c src/video/yuv2rgb/*.c src/audio/{emscripten,dummy,disk}/*.c \
        src/video/{emscripten,dummy}/*.c src/joystick/{emscripten,virtual}/*.c src/power/emscripten/*.c \
        src/filesystem/emscripten/*.c src/timer/unix/*.c src/haptic/SDL_haptic.c src/haptic/dummy/*.c \
        src/loadso/dlopen/*.c src/locale/emscripten/*.c src/misc/emscripten/*.c src/sensor/dummy/*.c \
        src/thread/generic/*.c > web/sources &&
     nicely xargs -P "$jobs" -I{} sh -c 'emcc -O2 -DNDEBUG -w -Iinclude -c "$1" -o "web/$(echo "$1" | tr / _).o"' _ {} \
       < web/sources &&
     [ "$(ls web/*.o | wc -l)" -eq "$(wc -l < web/sources)" ] &&
     emar rcs "$prefix/lib/libSDL2.a" web/*.o && mkdir -p "$prefix/include/SDL2" && cp include/*.h "$prefix/include/SDL2/")

  log "SDL2_ttf"
  # One file; text is laid out without HarfBuzz, as the game's text needs.
  (cd "$(dir libsdl2-ttf)" && nicely emcc $cflags -c SDL_ttf.c -o SDL_ttf.o -DTTF_USE_HARFBUZZ=0 \
       -I"$prefix/include/SDL2" -I"$prefix/include/freetype2" -I"$prefix/include" &&
     emar rcs "$prefix/lib/libSDL2_ttf.a" SDL_ttf.o && cp SDL_ttf.h "$prefix/include/SDL2/")

  log "libopenmpt"
  (cd "$(dir libopenmpt)" && mkdir -p web && cd web &&
     CFLAGS=$cflags CXXFLAGS=$cflags nicely emconfigure ../configure --prefix="$prefix" --disable-shared \
       --enable-static --without-zlib --without-mpg123 --without-ogg --without-vorbis --without-vorbisfile \
       --without-portaudio --without-portaudiocpp --without-pulseaudio --without-sndfile --without-flac \
       --disable-openmpt123 --disable-examples --disable-tests --disable-doxygen-doc >/dev/null &&
     nicely emmake make -j"$jobs" >/dev/null && nicely emmake make install >/dev/null)

  rm -rf "$src"
  echo "${PINS[*]} emscripten $emversion recipe $RECIPE" > "$cache/complete"
}

mkdir -p "$cache_root"
if [ -f "$cache/complete" ]; then
  log "libraries from the cache $cache"
else
  log "building the libraries into $cache (once for these versions)"
  rm -rf "$cache"
  mkdir -p "$cache"
  start=$(date +%s)
  build_libraries
  log "libraries built in $(( $(date +%s) - start )) s"
fi

# --- The data, from the native assetgen -----------------------------------------
if [ ! -x "$native/assetgen" ] || [ ! -f "$native/data/.stamp" ] || [ ! -x "$native/kavrix" ]; then
  log "building the native tools and data in $native"
  bash scripts/setup.sh
  nicely cmake -S . -B "$native" >/dev/null
fi
nicely cmake --build "$native" -j"$jobs" --target game_data kavrix >/dev/null
# The libraries of this run are the current ones (the "web" CMake preset
# builds against them).
ln -sfn "$key" "$cache_root/current"

# --- The game for the browser ---------------------------------------------------
log "building the browser version in $webbuild"
nicely emcmake cmake -S . -B "$webbuild" -DCMAKE_BUILD_TYPE=Release -DKAVRIX_WEB_PREFIX="$prefix" \
  -DKAVRIX_NATIVE_BUILD="$(cd "$native" && pwd)" >/dev/null
nicely cmake --build "$webbuild" -j"$jobs"
rm -rf "$out"/licences
cp -r "$webbuild"/site/. "$out"/
log "done: $out (serve it with: python3 -m http.server --bind 127.0.0.1 --directory $out 8000)"
