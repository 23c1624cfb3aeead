# The libraries of the browser build, as scripts/build-web.sh leaves them in
# its cache (KAVRIX_WEB_PREFIX): static WebAssembly libraries built from
# Debian's source packages, under the same target names the desktop build
# gets from pkg-config, so the layers link them the same way.
set(KAVRIX_WEB_PREFIX "" CACHE PATH "The libraries built by scripts/build-web.sh (its cache's prefix folder)")
if(NOT EXISTS "${KAVRIX_WEB_PREFIX}/lib/libSDL2.a")
  message(FATAL_ERROR "KAVRIX_WEB_PREFIX='${KAVRIX_WEB_PREFIX}' holds no libraries: build the browser version "
                      "with scripts/build-web.sh OUTDIR, which builds them first")
endif()

function(kavrix_web_library name)
  add_library(${name} INTERFACE IMPORTED)
  set(paths)
  foreach(library ${ARGN})
    list(APPEND paths ${KAVRIX_WEB_PREFIX}/lib/lib${library}.a)
  endforeach()
  set_target_properties(${name} PROPERTIES INTERFACE_LINK_LIBRARIES "${paths}")
  target_include_directories(${name} SYSTEM INTERFACE ${KAVRIX_WEB_PREFIX}/include)
endfunction()

# SDL2's own folder comes before Emscripten's old SDL 1 headers.
kavrix_web_library(PkgConfig::SDL2 SDL2)
target_include_directories(PkgConfig::SDL2 SYSTEM BEFORE INTERFACE ${KAVRIX_WEB_PREFIX}/include/SDL2)
kavrix_web_library(PkgConfig::SDL2TTF SDL2_ttf freetype z)
target_include_directories(PkgConfig::SDL2TTF SYSTEM BEFORE INTERFACE ${KAVRIX_WEB_PREFIX}/include/SDL2)
kavrix_web_library(PkgConfig::OPENMPT openmpt)
kavrix_web_library(PkgConfig::PNG png z)
kavrix_web_library(JPEG::JPEG jpeg)
# Neither threads nor fontconfig exist in the browser build.
add_library(Threads::Threads INTERFACE IMPORTED)
add_library(PkgConfig::FONTCONFIG INTERFACE IMPORTED)
