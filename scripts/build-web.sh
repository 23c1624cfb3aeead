#!/bin/bash
# Builds Kavrix for the browser into OUTDIR: the page (index.html and its
# scripts, the service worker and the manifest) and the game as WebAssembly
# with its data. The same program for node with the native command line,
# kavrix-headless.js (+ .wasm), stays in the browser build's folder, beside
# the site (a web host does not need it). Everything comes from Debian: the
# toolchain (emscripten, nodejs, chromium for the browser test) and the
# source packages of the libraries, pinned in scripts/library_sources.sh and built once into a cache
# outside the clone, keyed by their versions.
#
#   scripts/build-web.sh OUTDIR
#
# It prints one line per phase with its time; each phase's output goes to a
# log (build-web/logs/, the libraries' beside them in the cache), shown when
# the phase fails. Variables: KAVRIX_WEB_CACHE (the library cache, default
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
RECIPE=4

log() { echo "build-web: $*" >&2; }
nicely() { nice -n 10 "$@"; }
began=$(date +%s)

# Runs one phase (a command or a function) with its output in LOG, then
# prints one line: what it did and how long it took. A phase that fails
# shows the end of its log and stops the build.
phase() {
  local what=$1 logfile=$2 start status=0
  shift 2
  mkdir -p "$(dirname "$logfile")"
  start=$(date +%s)
  ( "$@" ) >"$logfile" 2>&1 || status=$?
  if [ "$status" -ne 0 ]; then
    log "$what: failed after $(( $(date +%s) - start )) s (status $status); the end of $logfile:"
    tail -n 40 "$logfile" | sed 's/^/    /' >&2
    exit 1
  fi
  log "$what: $(( $(date +%s) - start )) s"
}

# --- The toolchain, from Debian, when missing ----------------------------------
need=""
for p in emscripten nodejs chromium fonts-liberation fonts-dejavu-core python3-fonttools dpkg-dev xz-utils cmake make python3; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || need="$need $p"
done
logs=$(mkdir -p "$webbuild/logs" && cd "$webbuild/logs" && pwd)
install_toolchain() {
  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $need
}
if [ -n "$need" ]; then
  phase "Debian packages installed:$need" "$logs/toolchain.log" install_toolchain
else
  log "Debian packages: all installed"
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
library_zlib() {
  (cd "$(dir zlib)" && CFLAGS=$cflags nicely emconfigure ./configure --static --prefix="$prefix" &&
     nicely emmake make -j"$jobs" libz.a && cp libz.a "$prefix/lib/" && cp zlib.h zconf.h "$prefix/include/")
}
library_libpng() {
  (cd "$(dir libpng1.6)" && mkdir -p web && cd web &&
     nicely emcmake cmake .. "${common[@]}" -DPNG_SHARED=OFF -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
       -DZLIB_LIBRARY="$prefix/lib/libz.a" -DZLIB_INCLUDE_DIR="$prefix/include" &&
     nicely cmake --build . -j"$jobs" --target png_static && cp libpng16.a "$prefix/lib/libpng.a" &&
     cp ../png.h ../pngconf.h pnglibconf.h "$prefix/include/")
}
library_libjpeg_turbo() {
  # Its size_t check misfires under emscripten; the sizes are wasm32's.
  (cd "$(dir libjpeg-turbo)" && mkdir -p web && cd web &&
     nicely emcmake cmake .. "${common[@]}" -DSIZE_T=4 -DHAVE_SIZE_T=TRUE -DWITH_SIMD=OFF -DENABLE_SHARED=OFF \
       -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF &&
     nicely cmake --build . -j"$jobs" --target jpeg-static && cp libjpeg.a "$prefix/lib/" &&
     cp ../jpeglib.h ../jmorecfg.h ../jerror.h jconfig.h "$prefix/include/")
}
# TrueType fonts are all the game opens: FreeType's other font drivers and
# its monochrome renderer are left out of its module list (and so of the
# program), which makes the page's download smaller.
freetype_modules='FT_USE_MODULE( FT_Module_Class, autofit_module_class )
FT_USE_MODULE( FT_Driver_ClassRec, tt_driver_class )
FT_USE_MODULE( FT_Module_Class, psnames_module_class )
FT_USE_MODULE( FT_Module_Class, sfnt_module_class )
FT_USE_MODULE( FT_Renderer_Class, ft_smooth_renderer_class )'
library_freetype() {
  # Against the zlib above: its own copy would collide with it.
  (cd "$(dir freetype)" && echo "$freetype_modules" > include/freetype/config/ftmodule.h && mkdir -p web && cd web &&
     nicely emcmake cmake .. "${common[@]}" -DFT_REQUIRE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON \
       -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON -DZLIB_LIBRARY="$prefix/lib/libz.a" \
       -DZLIB_INCLUDE_DIR="$prefix/include" &&
     nicely cmake --build . -j"$jobs" && nicely cmake --install .)
}
library_sdl2() {
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
}
library_sdl2_ttf() {
  # One file; text is laid out without HarfBuzz, as the game's text needs.
  (cd "$(dir libsdl2-ttf)" && nicely emcc $cflags -c SDL_ttf.c -o SDL_ttf.o -DTTF_USE_HARFBUZZ=0 \
       -I"$prefix/include/SDL2" -I"$prefix/include/freetype2" -I"$prefix/include" &&
     emar rcs "$prefix/lib/libSDL2_ttf.a" SDL_ttf.o && cp SDL_ttf.h "$prefix/include/SDL2/")
}
# The game's music is ProTracker modules: libopenmpt's loaders of the forty
# other formats are taken out of its list of loaders (and so out of the
# program), which makes the page's download smaller.
library_libopenmpt() {
  (cd "$(dir libopenmpt)" &&
     sed -i -E '/^\s*MPT_DECLARE_FORMAT\((MOD|M15)\),/!{/^\s*MPT_DECLARE_FORMAT\([A-Za-z0-9_]+\),/d}' soundlib/Sndfile.cpp &&
     [ "$(grep -cE '^\s*MPT_DECLARE_FORMAT\(' soundlib/Sndfile.cpp)" -eq 2 ] && mkdir -p web && cd web &&
     CFLAGS=$cflags CXXFLAGS=$cflags nicely emconfigure ../configure --prefix="$prefix" --disable-shared \
       --enable-static --without-zlib --without-mpg123 --without-ogg --without-vorbis --without-vorbisfile \
       --without-portaudio --without-portaudiocpp --without-pulseaudio --without-sndfile --without-flac \
       --disable-openmpt123 --disable-examples --disable-tests --disable-doxygen-doc &&
     nicely emmake make -j"$jobs" && nicely emmake make install)
}

build_libraries() {
  local liblogs="$cache/logs"
  if ! has_source_entries; then
    phase "deb-src entries for Debian's suites added" "$liblogs/apt-sources.log" add_source_entries
    tell_source_entries build-web
  elif [ ! -f "$cache_root/.apt-updated" ]; then
    phase "apt's package lists brought up to date" "$liblogs/apt-update.log" apt-get update -qq
  fi
  touch "$cache_root/.apt-updated"

  local src="$cache/src"
  rm -rf "$src" && mkdir -p "$src" "$prefix/lib" "$prefix/include"
  phase "source packages fetched (${#PINS[@]}, pinned)" "$liblogs/sources.log" fetch_pinned_sources "$src"
  local dir
  dir() { ls -d "$src"/"$1"-[0-9]*/ | head -1; }
  local common=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF
                -DCMAKE_FIND_ROOT_PATH="$prefix" -DCMAKE_PREFIX_PATH="$prefix"
                -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG")
  # Optimised objects; the configure checks' test programs are linked
  # without optimising (emcc's optimising link takes seconds each).
  local cflags="-O2"
  export LDFLAGS="-O0"
  local library
  for library in zlib libpng libjpeg-turbo freetype SDL2 SDL2_ttf libopenmpt; do
    phase "library $library" "$liblogs/$library.log" "library_$(echo "$library" | tr 'A-Z-' 'a-z_')"
  done
  unset LDFLAGS

  rm -rf "$src"
  echo "${PINS[*]} emscripten $emversion recipe $RECIPE" > "$cache/complete"
}

mkdir -p "$cache_root"
if [ -f "$cache/complete" ]; then
  log "libraries: from the cache $cache"
else
  log "libraries: building them into $cache (once for these versions)"
  rm -rf "$cache"
  mkdir -p "$cache"
  start=$(date +%s)
  build_libraries
  log "libraries: all built in $(( $(date +%s) - start )) s"
fi

# --- The data, from the native assetgen -----------------------------------------
native_tools() {
  if [ ! -x "$native/assetgen" ] || [ ! -f "$native/data/.stamp" ] || [ ! -x "$native/kavrix" ]; then
    bash scripts/setup.sh && nicely cmake -S . -B "$native" || return 1
  fi
  nicely cmake --build "$native" -j"$jobs" --target game_data kavrix
}
phase "native assetgen, game data and kavrix in $native" "$logs/native.log" native_tools
# The libraries of this run are the current ones (the "web" CMake preset
# builds against them).
ln -sfn "$key" "$cache_root/current"

# --- The game for the browser ---------------------------------------------------
# No linker flags of the environment: a build configured while LDFLAGS held
# the libraries' -O0 would keep it in its cache and link the game unoptimised.
phase "browser build configured in $webbuild" "$logs/configure.log" \
  nicely emcmake cmake -S . -B "$webbuild" -DCMAKE_BUILD_TYPE=Release -DKAVRIX_WEB_PREFIX="$prefix" \
    -DKAVRIX_NATIVE_BUILD="$(cd "$native" && pwd)" -DCMAKE_EXE_LINKER_FLAGS=""
phase "browser build (the page's game and kavrix-headless.js for node)" "$logs/build.log" \
  nicely cmake --build "$webbuild" -j"$jobs"
# The site replaces what an earlier build put there (older builds also left
# the program for node in it).
copy_site() {
  rm -rf "$out"/licences "$out"/icons "$out"/kavrix-headless.js "$out"/kavrix-headless.wasm &&
    cp -r "$webbuild"/site/. "$out"/
}
phase "site copied into $out" "$logs/copy.log" copy_site
tell_source_entries build-web
log "done in $(( $(date +%s) - began )) s: $out"
log "  serve it with: python3 -m http.server --bind 127.0.0.1 --directory $out 8000"
log "  the program for node: $webbuild/kavrix-headless (kavrix-headless.js beside the site)"
