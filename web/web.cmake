# The browser build's programs, from the same main.cpp as the desktop's:
#   site/kavrix.js (+ .wasm, .data)  the game on the page (web/index.html),
#                                    with its data and fonts preloaded
#   kavrix-headless.js (+ .wasm)     the same program under node, taking the
#                                    native command line on the host's files,
#                                    beside the site (a web host needs none of it)
# the page's files, icons and service worker in site/, and the `web` tests:
# every golden replay under node, the page in Chromium.
set(KAVRIX_NATIVE_BUILD "${CMAKE_SOURCE_DIR}/build" CACHE PATH
    "The native build whose assetgen made the data (its data/ folder) and whose kavrix the tests compare with")
set(KAVRIX_WEB_DATA ${KAVRIX_NATIVE_BUILD}/data)
if(NOT EXISTS ${KAVRIX_WEB_DATA}/video/rakety.lev)
  message(FATAL_ERROR "${KAVRIX_WEB_DATA} holds no generated data: build the native game_data target first "
                      "(scripts/build-web.sh does)")
endif()
target_compile_definitions(kavrix_shell PRIVATE KAVRIX_SINGLE_THREADED)

set(KAVRIX_SITE ${CMAKE_BINARY_DIR}/site)
# Older builds put the program for node in the site: gone, so it is not served.
file(REMOVE ${KAVRIX_SITE}/kavrix-headless.js ${KAVRIX_SITE}/kavrix-headless.wasm)
set(KAVRIX_FONTS
  /usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf
  /usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf
  /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf)
foreach(font ${KAVRIX_FONTS})
  if(NOT EXISTS ${font})
    message(FATAL_ERROR "${font} is missing: install fonts-liberation and fonts-dejavu-core")
  endif()
endforeach()

# The page carries the "System" face (DejaVu Sans Bold, 700 KB for thousands
# of glyphs) cut down to the code page's glyphs, the only ones the game
# draws: their outlines and hinting unchanged, it is a twelfth of the size.
# Liberation Sans stays whole: its licence reserves its name for the whole font.
set(KAVRIX_SYSTEM_FONT /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf)
set(KAVRIX_SYSTEM_FONT_SUBSET ${CMAKE_BINARY_DIR}/fonts/DejaVuSans-Bold.ttf)
execute_process(COMMAND /usr/bin/python3 -c "import fontTools" RESULT_VARIABLE KAVRIX_NO_FONTTOOLS OUTPUT_QUIET ERROR_QUIET)
if(KAVRIX_NO_FONTTOOLS)
  message(FATAL_ERROR "Debian's python3-fonttools is missing (scripts/build-web.sh installs it)")
endif()
add_custom_command(OUTPUT ${KAVRIX_SYSTEM_FONT_SUBSET}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/fonts
  COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/web/subset_font.py ${KAVRIX_SYSTEM_FONT} ${KAVRIX_SYSTEM_FONT_SUBSET}
  DEPENDS ${CMAKE_SOURCE_DIR}/web/subset_font.py ${KAVRIX_SYSTEM_FONT}
  COMMENT "Cutting the System font down to the code page's glyphs")
add_custom_target(web_fonts DEPENDS ${KAVRIX_SYSTEM_FONT_SUBSET})

set(KAVRIX_WEB_COMMON_LINK -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=64MB -sTOTAL_STACK=1MB)

# The page's game. SDL's sound needs two of Emscripten's library functions
# that its port would add (web/library_functions.txt: a file, as make would
# mangle their '$'). main() runs when the player clicks (sound may start only
# after a gesture); the frames come from the page's animation frames.
add_executable(kavrix src/main.cpp)
target_link_libraries(kavrix PRIVATE kavrix_shell)
# (SHELL: keeps CMake from merging the repeated --preload-file.)
set(preload "SHELL:--preload-file ${KAVRIX_WEB_DATA}/video@/data/video"
            "SHELL:--preload-file ${KAVRIX_WEB_DATA}/audio@/data/audio")
foreach(font ${KAVRIX_FONTS})
  if(font STREQUAL KAVRIX_SYSTEM_FONT)
    list(APPEND preload "SHELL:--preload-file ${KAVRIX_SYSTEM_FONT_SUBSET}@${font}")
  else()
    list(APPEND preload "SHELL:--preload-file ${font}@${font}")
  endif()
endforeach()
target_link_options(kavrix PRIVATE ${KAVRIX_WEB_COMMON_LINK} -sENVIRONMENT=web -sINVOKE_RUN=0 -sEXIT_RUNTIME=1
  "-sEXPORTED_RUNTIME_METHODS=['callMain','FS']" -lidbfs.js "SHELL:--pre-js ${CMAKE_SOURCE_DIR}/web/saves.js"
  "SHELL:--pre-js ${CMAKE_SOURCE_DIR}/web/environment.js"
  -sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@${CMAKE_SOURCE_DIR}/web/library_functions.txt ${preload})
target_compile_definitions(kavrix PRIVATE KAVRIX_WEB)
set_target_properties(kavrix PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${KAVRIX_SITE}
  LINK_DEPENDS "${CMAKE_SOURCE_DIR}/web/saves.js;${CMAKE_SOURCE_DIR}/web/environment.js;${KAVRIX_WEB_DATA}/.stamp;${KAVRIX_SYSTEM_FONT_SUBSET}")
add_dependencies(kavrix web_fonts)

# The same program for node: the host's folders at their own paths, the
# exit status of the native program.
add_executable(kavrix_headless src/main.cpp)
target_link_libraries(kavrix_headless PRIVATE kavrix_shell)
target_compile_definitions(kavrix_headless PRIVATE KAVRIX_WEB)
target_link_options(kavrix_headless PRIVATE ${KAVRIX_WEB_COMMON_LINK} -sENVIRONMENT=node -sEXIT_RUNTIME=1
  -lnodefs.js --pre-js ${CMAKE_SOURCE_DIR}/web/node_host.js)
set_target_properties(kavrix_headless PROPERTIES OUTPUT_NAME kavrix-headless
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR} LINK_DEPENDS ${CMAKE_SOURCE_DIR}/web/node_host.js)
# A command that runs it like the native program (tests, scripts).
file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/kavrix-headless CONTENT
"#!/bin/sh\n# The browser build's program under node, used like the native kavrix.\nexec node ${CMAKE_BINARY_DIR}/kavrix-headless.js \"$@\"\n"
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The page, its icons (drawn by the native assetgen) and the fonts' licences
# beside the game; then the service worker, which lists every file of the
# site under a version made from their hashes.
set(KAVRIX_PAGE_FILES index.html page.css view.js touch.js page.js page_test.js manifest.webmanifest)
list(TRANSFORM KAVRIX_PAGE_FILES PREPEND ${CMAKE_SOURCE_DIR}/web/)
add_custom_target(web_page ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${KAVRIX_SITE}/licences
  COMMAND ${CMAKE_COMMAND} -E copy ${KAVRIX_PAGE_FILES} ${KAVRIX_SITE}/
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${KAVRIX_SITE}/icons
  COMMAND ${KAVRIX_NATIVE_BUILD}/assetgen --web-icons ${KAVRIX_SITE}/icons
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/COPYING ${KAVRIX_SITE}/licences/COPYING-kavrix.txt
  COMMAND ${CMAKE_COMMAND} -E copy /usr/share/doc/fonts-liberation/copyright ${KAVRIX_SITE}/licences/fonts-liberation.txt
  COMMAND ${CMAKE_COMMAND} -E copy /usr/share/doc/fonts-dejavu-core/copyright ${KAVRIX_SITE}/licences/fonts-dejavu-core.txt
  DEPENDS ${KAVRIX_PAGE_FILES}
  COMMENT "Copying the page into ${KAVRIX_SITE}")
add_custom_target(web_service_worker ALL
  COMMAND ${CMAKE_COMMAND} -DSITE=${KAVRIX_SITE} -DTEMPLATE=${CMAKE_SOURCE_DIR}/web/sw.js.in
          -DVERSION=${PROJECT_VERSION} -P ${CMAKE_SOURCE_DIR}/web/service_worker.cmake
  COMMENT "Writing the service worker's list of the site's files")
add_dependencies(web_service_worker kavrix web_page)

if(KAVRIX_TESTS)
  enable_testing()
  # Every golden replay, hash for hash, by the WebAssembly build under node.
  file(GLOB GOLDEN_REPLAYS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/replays/*.replay)
  foreach(replay ${GOLDEN_REPLAYS})
    get_filename_component(replay_name ${replay} NAME_WE)
    add_test(NAME web_replay_${replay_name}
             COMMAND bash ${CMAKE_SOURCE_DIR}/tests/replays/run_replay.sh ${CMAKE_BINARY_DIR}/kavrix-headless
                     ${KAVRIX_WEB_DATA} ${replay})
    set_tests_properties(web_replay_${replay_name} PROPERTIES TIMEOUT 1800 LABELS "web;replay")
  endforeach()
endif()
if(KAVRIX_TESTS)
  # The page in headless Chromium: the whole game's opening (intro, menu, a
  # new game by clicks and typing, level 1) played from its input, hash for
  # hash with the native game, and the profile it saved kept over a reload.
  add_test(NAME web_browser
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/web/browser_test.sh ${KAVRIX_SITE}
                   ${KAVRIX_NATIVE_BUILD}/kavrix ${KAVRIX_WEB_DATA} ${CMAKE_SOURCE_DIR}/tests/replays/whole_game.replay 1500)
  set_tests_properties(web_browser PROPERTIES TIMEOUT 300 LABELS web RUN_SERIAL ON)
endif()
if(KAVRIX_TESTS)
  # The page when the storage refuses a write (told once, the earlier saves
  # kept), a saved file is damaged (told, by name), WebAssembly is missing or
  # a data file fails to load (said in words).
  add_test(NAME web_browser_trouble
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/web/page_trouble_test.sh ${KAVRIX_SITE}
                   ${CMAKE_SOURCE_DIR}/tests/replays/whole_game.replay)
  set_tests_properties(web_browser_trouble PROPERTIES TIMEOUT 300 LABELS web RUN_SERIAL ON)
  # The picture filling the window and the screen, sharply, at any device
  # pixel ratio; no request answered 404 and no error on the console.
  add_test(NAME web_page_screen COMMAND bash ${CMAKE_SOURCE_DIR}/tests/web/page_screen_test.sh ${KAVRIX_SITE})
  # The first language from the browser's, kavrix.conf kept over a reload,
  # the sound settings saved when the tab is hidden or closed.
  add_test(NAME web_page_settings COMMAND bash ${CMAKE_SOURCE_DIR}/tests/web/page_settings_test.sh ${KAVRIX_SITE})
  # The manifest, the offline start from the service worker's cache, a new
  # version's cache, and the page where service workers are refused.
  add_test(NAME web_page_offline COMMAND bash ${CMAKE_SOURCE_DIR}/tests/web/page_offline_test.sh ${KAVRIX_SITE})
  # A game played by touch, hash for hash as the same game played with keys.
  add_test(NAME web_page_touch COMMAND bash ${CMAKE_SOURCE_DIR}/tests/web/page_touch_test.sh ${KAVRIX_SITE}
                                      ${KAVRIX_NATIVE_BUILD}/kavrix ${KAVRIX_WEB_DATA})
  set_tests_properties(web_page_screen web_page_settings web_page_offline web_page_touch PROPERTIES
                       TIMEOUT 300 LABELS web RUN_SERIAL ON)
endif()
