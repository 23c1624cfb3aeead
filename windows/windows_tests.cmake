# The `windows` tests (ctest -L windows), run under Wine in a prefix of the
# build's own: every golden replay hash for hash by kavrix.exe, the Windows
# edges of files and folders beside the native game, and the installer's
# round trip in a fresh prefix. kavrix-wine runs kavrix.exe like the native
# kavrix (the exit status comes through).
enable_testing()
find_program(KAVRIX_WINE wine REQUIRED)
set(KAVRIX_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix)
set(KAVRIX_WINE_ENV "export WINEPREFIX='${KAVRIX_WINE_PREFIX}' WINEDEBUG=-all LC_ALL=C.UTF-8 \
WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'\nunset DISPLAY WAYLAND_DISPLAY\n")
file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/kavrix-wine CONTENT
"#!/bin/sh\n# The Windows build's kavrix.exe under Wine (no display, Wine's own messages off), used like the native\n\
# kavrix by tests and scripts.\n${KAVRIX_WINE_ENV}exec wine '${KAVRIX_STAGE}/kavrix.exe' \"$@\"\n"
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The prefix is made once, before the tests that share it.
add_test(NAME windows_wine_prefix COMMAND bash ${CMAKE_SOURCE_DIR}/tests/windows/wine_prefix.sh ${KAVRIX_WINE_PREFIX})
set_tests_properties(windows_wine_prefix PROPERTIES FIXTURES_SETUP wine_prefix LABELS windows TIMEOUT 300)

file(GLOB GOLDEN_REPLAYS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/replays/*.replay)
foreach(replay ${GOLDEN_REPLAYS})
  get_filename_component(replay_name ${replay} NAME_WE)
  add_test(NAME windows_replay_${replay_name}
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/replays/run_replay.sh ${CMAKE_BINARY_DIR}/kavrix-wine
                   ${KAVRIX_NATIVE_DATA} ${replay})
  set_tests_properties(windows_replay_${replay_name} PROPERTIES TIMEOUT 1800 LABELS "windows;replay"
                       FIXTURES_REQUIRED wine_prefix)
endforeach()

# Czech file and folder names, the saved files byte for byte as the native
# game writes them (and a profile written on Linux loaded), outputs refused
# at a folder or a device, no temporary file left by a killed run, the exit
# statuses, %APPDATA%\Kavrix.
add_test(NAME windows_files
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/windows/files_test.sh ${CMAKE_BINARY_DIR}/kavrix-wine
                 ${KAVRIX_NATIVE_BUILD}/kavrix ${KAVRIX_NATIVE_DATA} ${CMAKE_SOURCE_DIR}/tests/replays)
set_tests_properties(windows_files PROPERTIES TIMEOUT 600 LABELS windows FIXTURES_REQUIRED wine_prefix)

# The installer in a fresh prefix: silent install, the installed game plays a
# golden replay, the uninstaller leaves Program Files as it was and the
# player's saves in place.
add_test(NAME windows_installer
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/windows/installer_test.sh ${KAVRIX_SETUP}
                 ${CMAKE_SOURCE_DIR}/tests/replays/level1.replay)
set_tests_properties(windows_installer PROPERTIES TIMEOUT 600 LABELS windows)
