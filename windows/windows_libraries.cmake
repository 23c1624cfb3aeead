# The libraries of the Windows build, as scripts/build-windows.sh leaves them
# in its cache (KAVRIX_WINDOWS_PREFIX): static libraries cross-built from
# Debian's source packages, under the same target names the desktop build gets
# from pkg-config, so the layers link them the same way. Everything links
# statically, the C++ and thread runtimes too: kavrix.exe needs no DLL but
# Windows' own.
set(KAVRIX_WINDOWS_PREFIX "" CACHE PATH "The libraries built by scripts/build-windows.sh (its cache's prefix folder)")
if(NOT EXISTS "${KAVRIX_WINDOWS_PREFIX}/lib/libSDL2.a")
  message(FATAL_ERROR "KAVRIX_WINDOWS_PREFIX='${KAVRIX_WINDOWS_PREFIX}' holds no libraries: build the Windows "
                      "version with scripts/build-windows.sh OUTDIR, which builds them first")
endif()

function(kavrix_windows_library name)
  add_library(${name} INTERFACE IMPORTED)
  set(paths)
  foreach(library ${ARGN})
    if(library MATCHES "^-")
      list(APPEND paths ${library})
    else()
      list(APPEND paths ${KAVRIX_WINDOWS_PREFIX}/lib/lib${library}.a)
    endif()
  endforeach()
  set_target_properties(${name} PROPERTIES INTERFACE_LINK_LIBRARIES "${paths}")
  target_include_directories(${name} SYSTEM INTERFACE ${KAVRIX_WINDOWS_PREFIX}/include)
endfunction()

# SDL's own list of the Windows libraries it calls (its sdl2.pc).
set(KAVRIX_SDL_SYSTEM_LIBRARIES -lm -luser32 -lgdi32 -lwinmm -limm32 -lole32 -loleaut32 -lversion -luuid -ladvapi32
    -lsetupapi -lshell32 -ldinput8)
kavrix_windows_library(PkgConfig::SDL2 SDL2 ${KAVRIX_SDL_SYSTEM_LIBRARIES})
target_include_directories(PkgConfig::SDL2 SYSTEM BEFORE INTERFACE ${KAVRIX_WINDOWS_PREFIX}/include/SDL2)
# SDL_main.h would rename the game's main: main_windows.cpp is the entry.
target_compile_definitions(PkgConfig::SDL2 INTERFACE SDL_MAIN_HANDLED)
kavrix_windows_library(PkgConfig::SDL2TTF SDL2_ttf freetype z)
target_include_directories(PkgConfig::SDL2TTF SYSTEM BEFORE INTERFACE ${KAVRIX_WINDOWS_PREFIX}/include/SDL2)
kavrix_windows_library(PkgConfig::OPENMPT openmpt -lole32 -lrpcrt4)
kavrix_windows_library(PkgConfig::PNG png z)
kavrix_windows_library(JPEG::JPEG jpeg)
# No fontconfig: the font files travel with the game (font_lookup_windows.cpp).
add_library(PkgConfig::FONTCONFIG INTERFACE IMPORTED)
set(THREADS_PREFER_PTHREAD_FLAG ON)
find_package(Threads REQUIRED)

# Windows 7 and later; localtime_r from MinGW-w64's time.h.
add_compile_definitions(KAVRIX_WINDOWS _WIN32_WINNT=0x0601 WINVER=0x0601 NOMINMAX _POSIX_THREAD_SAFE_FUNCTIONS)
# Everything linked in; a release's symbols left out (a third of the size).
add_link_options(-static $<$<CONFIG:Release>:-s>)
# GCC 12 for MinGW reports a false -Wrestrict inside std::string's
# operator+ once optimised (GCC bug 105329): shown, never fatal.
if(KAVRIX_WERROR)
  add_compile_options(-Wno-error=restrict)
endif()

# FILE_windows.cpp stands in for FILE.cpp (files, folders, the environment,
# fonts, the window icon); the browser's files are left out too.
file(GLOB_RECURSE KAVRIX_WINDOWS_FILES RELATIVE ${CMAKE_SOURCE_DIR}/src CONFIGURE_DEPENDS
     ${CMAKE_SOURCE_DIR}/src/*_windows.cpp)
set(KAVRIX_LEFT_OUT "_browser\\.cpp$|/browser_view\\.cpp$")
foreach(file ${KAVRIX_WINDOWS_FILES})
  string(REGEX REPLACE "_windows\\.cpp$" "" stem ${file})
  if(EXISTS ${CMAKE_SOURCE_DIR}/src/${stem}.cpp)
    set(KAVRIX_LEFT_OUT "${KAVRIX_LEFT_OUT}|/src/${stem}\\.cpp$")
  endif()
endforeach()
