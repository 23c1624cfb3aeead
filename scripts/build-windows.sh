#!/bin/bash
# Builds Kavrix for 64-bit Windows on Debian and writes into OUTDIR:
#   kavrix-VERSION-windows-x64.zip  the game to unpack and run (kavrix.exe)
#   kavrix-VERSION-setup.exe        its installer (silent with /S)
# Everything comes from Debian: the MinGW-w64 cross compilers, Wine (for the
# tests) and NSIS, and the libraries' source packages, pinned in
# scripts/library_sources.sh (the browser build's) and built once into a
# cache outside the clone, keyed by the versions and the compiler.
#
#   scripts/build-windows.sh OUTDIR
#
# Variables: KAVRIX_WINDOWS_CACHE (the library cache, default
# ~/.cache/kavrix-windows), KAVRIX_NATIVE_BUILD (the native build that runs
# assetgen, default build), KAVRIX_WINDOWS_BUILD (default build-windows), JOBS.
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -eq 1 ] || { echo "usage: scripts/build-windows.sh OUTDIR" >&2; exit 2; }
out=$(mkdir -p "$1" && cd "$1" && pwd)
jobs=${JOBS:-$(nproc)}
native=${KAVRIX_NATIVE_BUILD:-build}
winbuild=${KAVRIX_WINDOWS_BUILD:-build-windows}
cache_root=${KAVRIX_WINDOWS_CACHE:-${HOME:-/root}/.cache/kavrix-windows}
source scripts/library_sources.sh
# Raised when a recipe below changes, so the cache is built anew.
RECIPE=1

log() { echo "build-windows: $*" >&2; }
nicely() { nice -n 10 "$@"; }

# --- The toolchain, from Debian, when missing ----------------------------------
need=""
for p in g++-mingw-w64-x86-64-posix wine wine64 nsis fonts-liberation fonts-dejavu-core dpkg-dev xz-utils cmake make \
         python3; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || need="$need $p"
done
if [ -n "$need" ]; then
  log "installing:$need"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $need >/dev/null
fi
toolchain=$PWD/windows/mingw-w64-x86_64.cmake
host=x86_64-w64-mingw32
compiler=$(dpkg-query -W -f='${Version}' g++-mingw-w64-x86-64-posix)-$(dpkg-query -W -f='${Version}' mingw-w64-x86-64-dev)

key=$(echo "mingw${compiler}-r${RECIPE}-$(library_pins_key)" | sha1sum | cut -c1-12)
cache="$cache_root/$key"
prefix="$cache/prefix"

# --- The libraries, built once per set of versions ------------------------------
build_libraries() {
  local src="$cache/src"
  fetch_library_sources "$src" "$cache_root" build-windows
  mkdir -p "$prefix/lib" "$prefix/include" "$prefix/licences"
  local dir
  dir() { ls -d "$src"/"$1"-[0-9]*/ | head -1; }
  # Each library's terms, as Debian states them, go out with the game.
  local pin name
  for pin in "${KAVRIX_LIBRARY_PINS[@]}"; do
    name=${pin%%=*}
    cp "$(dir "$name")/debian/copyright" "$prefix/licences/$name.txt"
  done
  local common=(-DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix"
                -DBUILD_SHARED_LIBS=OFF -DCMAKE_FIND_ROOT_PATH="$prefix" -DCMAKE_PREFIX_PATH="$prefix"
                -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG")
  local zlib=(-DZLIB_LIBRARY="$prefix/lib/libz.a" -DZLIB_INCLUDE_DIR="$prefix/include")

  log "zlib"
  # Debian's source drops the win32/ folder its own Windows makefile needs;
  # its configure script cross-builds the static library.
  (cd "$(dir zlib)" && CHOST=$host CC=$host-gcc-posix AR=$host-ar RANLIB=$host-ranlib CFLAGS=-O2 \
       nicely ./configure --static --prefix="$prefix" >/dev/null &&
     nicely make -j"$jobs" libz.a >/dev/null && cp libz.a "$prefix/lib/" && cp zlib.h zconf.h "$prefix/include/")

  log "libpng"
  (cd "$(dir libpng1.6)" && mkdir -p win && cd win &&
     nicely cmake .. "${common[@]}" "${zlib[@]}" -DPNG_SHARED=OFF -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF >/dev/null &&
     nicely cmake --build . -j"$jobs" --target png_static >/dev/null && cp libpng16.a "$prefix/lib/libpng.a" &&
     cp ../png.h ../pngconf.h pnglibconf.h "$prefix/include/")

  log "libjpeg-turbo"
  # Without its SIMD code, which needs nasm: JPEG pictures are decoded once,
  # at start-up.
  (cd "$(dir libjpeg-turbo)" && mkdir -p win && cd win &&
     nicely cmake .. "${common[@]}" -DWITH_SIMD=OFF -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF \
       >/dev/null &&
     nicely cmake --build . -j"$jobs" --target jpeg-static >/dev/null && cp libjpeg.a "$prefix/lib/" &&
     cp ../jpeglib.h ../jmorecfg.h ../jerror.h jconfig.h "$prefix/include/")

  log "freetype"
  # Against the zlib above (its own copy would collide with it).
  (cd "$(dir freetype)" && mkdir -p win && cd win &&
     nicely cmake .. "${common[@]}" "${zlib[@]}" -DFT_REQUIRE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON \
       -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON >/dev/null &&
     nicely cmake --build . -j"$jobs" >/dev/null && nicely cmake --install . >/dev/null)

  log "SDL2"
  # Its own CMake: the Windows back ends (Win32 video, WASAPI and
  # DirectSound audio, XInput and raw-input pads) need nothing more.
  (cd "$(dir libsdl2)" && mkdir -p win && cd win &&
     nicely cmake .. "${common[@]}" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF >/dev/null &&
     nicely cmake --build . -j"$jobs" >/dev/null && nicely cmake --install . >/dev/null)

  log "SDL2_ttf"
  # One file; text is laid out without HarfBuzz, as the game's text needs.
  (cd "$(dir libsdl2-ttf)" && nicely $host-gcc-posix -O2 -c SDL_ttf.c -o SDL_ttf.o -DTTF_USE_HARFBUZZ=0 \
       -I"$prefix/include/SDL2" -I"$prefix/include/freetype2" -I"$prefix/include" &&
     $host-ar rcs "$prefix/lib/libSDL2_ttf.a" SDL_ttf.o && cp SDL_ttf.h "$prefix/include/SDL2/")

  log "libopenmpt"
  (cd "$(dir libopenmpt)" && mkdir -p win && cd win &&
     CC=$host-gcc-posix CXX=$host-g++-posix CFLAGS=-O2 CXXFLAGS=-O2 nicely ../configure --host=$host \
       --prefix="$prefix" --disable-shared --enable-static --without-zlib --without-mpg123 --without-ogg \
       --without-vorbis --without-vorbisfile --without-portaudio --without-portaudiocpp --without-pulseaudio \
       --without-sndfile --without-flac --disable-openmpt123 --disable-examples --disable-tests \
       --disable-doxygen-doc >/dev/null &&
     nicely make -j"$jobs" >/dev/null && nicely make install >/dev/null)

  rm -rf "$src"
  echo "${KAVRIX_LIBRARY_PINS[*]} mingw-w64 $compiler recipe $RECIPE" > "$cache/complete"
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
# The libraries of this run are the current ones (the "windows" CMake preset
# builds against them).
ln -sfn "$key" "$cache_root/current"

# --- The data and the icon, from the native assetgen ----------------------------
if [ ! -x "$native/assetgen" ] || [ ! -f "$native/data/.stamp" ] || [ ! -x "$native/kavrix" ]; then
  log "building the native tools and data in $native"
  bash scripts/setup.sh
  nicely cmake -S . -B "$native" >/dev/null
fi
nicely cmake --build "$native" -j"$jobs" --target game_data game_icons kavrix >/dev/null

# --- The game for Windows, its zip and its installer ----------------------------
log "building the Windows version in $winbuild"
nicely cmake --preset windows -B "$winbuild" -DKAVRIX_WINDOWS_PREFIX="$prefix" \
  -DKAVRIX_NATIVE_BUILD="$(cd "$native" && pwd)" >/dev/null
nicely cmake --build "$winbuild" -j"$jobs"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$winbuild/CMakeCache.txt")
cp "$winbuild/kavrix-$version-windows-x64.zip" "$winbuild/kavrix-$version-setup.exe" "$out"/
log "done: $out/kavrix-$version-windows-x64.zip and $out/kavrix-$version-setup.exe"
tell_source_entries build-windows
