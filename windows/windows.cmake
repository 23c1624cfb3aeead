# The Windows build's programs and packages, from the same main.cpp as the
# desktop's:
#   Kavrix/kavrix.exe   the game (main.cpp built as KavrixMain, entered through
#                       main_windows.cpp; icon, version and manifest from
#                       kavrix.rc), with data\, fonts\, licences\, README.txt and
#                       COPYING.txt beside it: the folder the zip holds and the
#                       installer installs
#   kavrix-VERSION-windows-x64.zip and kavrix-VERSION-setup.exe (NSIS)
#   bench/kavrix-stage.exe  the benchmarks' stage program (start-up under Wine)
# and the `windows` tests, run under Wine.
enable_language(RC)
set(KAVRIX_NATIVE_BUILD "${CMAKE_SOURCE_DIR}/build" CACHE PATH
    "The native build whose assetgen made the data and the icon, and whose kavrix the tests compare with")
set(KAVRIX_NATIVE_DATA ${KAVRIX_NATIVE_BUILD}/data)
set(KAVRIX_NATIVE_ICONS ${KAVRIX_NATIVE_BUILD}/icons/hicolor)
if(NOT EXISTS ${KAVRIX_NATIVE_DATA}/video/rakety.lev OR NOT EXISTS ${KAVRIX_NATIVE_ICONS}/256x256/apps/kavrix.png)
  message(FATAL_ERROR "${KAVRIX_NATIVE_BUILD} holds no generated data or icon: build the native game_data and "
                      "game_icons targets first (scripts/build-windows.sh does)")
endif()
set(KAVRIX_FONTS
  /usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf
  /usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf
  /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf)
set(KAVRIX_LICENCE_FILES
  /usr/share/doc/fonts-liberation/copyright
  /usr/share/doc/fonts-dejavu-core/copyright
  /usr/share/doc/mingw-w64-x86-64-dev/copyright
  /usr/share/common-licenses/GPL-2)
foreach(file ${KAVRIX_FONTS} ${KAVRIX_LICENCE_FILES})
  if(NOT EXISTS ${file})
    message(FATAL_ERROR "${file} is missing: install fonts-liberation, fonts-dejavu-core and "
                        "g++-mingw-w64-x86-64-posix")
  endif()
endforeach()
find_program(KAVRIX_MAKENSIS makensis REQUIRED)
find_program(KAVRIX_PYTHON python3 REQUIRED)

set(KAVRIX_STAGE ${CMAKE_BINARY_DIR}/Kavrix)
set(KAVRIX_ZIP ${CMAKE_BINARY_DIR}/kavrix-${PROJECT_VERSION}-windows-x64.zip)
set(KAVRIX_SETUP ${CMAKE_BINARY_DIR}/kavrix-${PROJECT_VERSION}-setup.exe)
set(KAVRIX_FOLDER_STAMP ${CMAKE_BINARY_DIR}/windows_folder.stamp)
set_source_files_properties(src/shell/options.cpp PROPERTIES COMPILE_DEFINITIONS
  "KAVRIX_VERSION=\"${PROJECT_VERSION}\"")
# Data is found in data\ beside the program; a copied kavrix.exe also finds
# the installed game's.
set_source_files_properties(src/shell/data_folder.cpp PROPERTIES COMPILE_DEFINITIONS
  "KAVRIX_DATA_FROM_PROGRAM=\"data\";KAVRIX_INSTALLED_DATA=\"C:/Program Files/Kavrix/data\"")

# The icon, from the desktop icon's pictures, and the program's resources.
set(KAVRIX_ICO ${CMAKE_BINARY_DIR}/kavrix.ico)
set(icon_pictures)
foreach(size 32 48 64 128 256)
  list(APPEND icon_pictures ${KAVRIX_NATIVE_ICONS}/${size}x${size}/apps/kavrix.png)
endforeach()
# Packed when CMake runs (again whenever a picture changes), so the programs
# that link the resource never make it twice at once.
execute_process(COMMAND ${KAVRIX_PYTHON} ${CMAKE_SOURCE_DIR}/windows/make_icon.py ${KAVRIX_ICO} ${icon_pictures}
                COMMAND_ERROR_IS_FATAL ANY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/windows/make_icon.py
             ${icon_pictures})
set(KAVRIX_MANIFEST ${CMAKE_BINARY_DIR}/kavrix.manifest)
set(KAVRIX_VERSION_QUAD ${PROJECT_VERSION}.0)
string(REPLACE "." "," KAVRIX_VERSION_COMMAS ${KAVRIX_VERSION_QUAD})
configure_file(windows/kavrix.manifest.in ${KAVRIX_MANIFEST} @ONLY)
configure_file(windows/kavrix.rc.in ${CMAKE_BINARY_DIR}/kavrix.rc @ONLY)
set_source_files_properties(${CMAKE_BINARY_DIR}/kavrix.rc PROPERTIES OBJECT_DEPENDS "${KAVRIX_ICO};${KAVRIX_MANIFEST}")

# A Windows program: no console window of its own; main_windows.cpp is its
# entry and hands the UTF-8 command line to main.cpp's main.
function(kavrix_windows_program target)
  add_executable(${target} WIN32 src/main_windows.cpp ${CMAKE_BINARY_DIR}/kavrix.rc ${ARGN})
  target_link_libraries(${target} PRIVATE kavrix_shell -lshell32)
endfunction()
# Windows' own libraries the Windows files call beyond SDL's: the shell's
# (the command line, the known folders) and COM's memory.
target_link_libraries(kavrix_state PRIVATE -lshell32 -lole32)
kavrix_windows_program(kavrix src/main.cpp)
set_source_files_properties(src/main.cpp PROPERTIES COMPILE_DEFINITIONS main=KavrixMain)
set_target_properties(kavrix PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${KAVRIX_STAGE})

# The rest of the folder: data, fonts, licences, README.txt and COPYING.txt.
configure_file(windows/README.txt.in ${CMAKE_BINARY_DIR}/README.txt @ONLY NEWLINE_STYLE CRLF)
file(GLOB KAVRIX_LIBRARY_LICENCES ${KAVRIX_WINDOWS_PREFIX}/licences/*.txt)
add_custom_command(OUTPUT ${KAVRIX_FOLDER_STAMP}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${KAVRIX_STAGE}/data ${KAVRIX_STAGE}/fonts ${KAVRIX_STAGE}/licences
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${KAVRIX_NATIVE_DATA}/video ${KAVRIX_STAGE}/data/video
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${KAVRIX_NATIVE_DATA}/audio ${KAVRIX_STAGE}/data/audio
  COMMAND ${CMAKE_COMMAND} -E make_directory ${KAVRIX_STAGE}/fonts ${KAVRIX_STAGE}/licences
  COMMAND ${CMAKE_COMMAND} -E copy ${KAVRIX_FONTS} ${KAVRIX_STAGE}/fonts/
  COMMAND ${CMAKE_COMMAND} -E copy /usr/share/doc/fonts-liberation/copyright
          ${KAVRIX_STAGE}/licences/fonts-liberation.txt
  COMMAND ${CMAKE_COMMAND} -E copy /usr/share/doc/fonts-dejavu-core/copyright
          ${KAVRIX_STAGE}/licences/fonts-dejavu-core.txt
  COMMAND ${CMAKE_COMMAND} -E copy /usr/share/doc/mingw-w64-x86-64-dev/copyright ${KAVRIX_STAGE}/licences/mingw-w64.txt
  COMMAND ${CMAKE_COMMAND} -E copy ${KAVRIX_LIBRARY_LICENCES} ${KAVRIX_STAGE}/licences/
  COMMAND ${CMAKE_COMMAND} -E copy /usr/share/common-licenses/GPL-2 ${KAVRIX_STAGE}/licences/GPL-2.txt
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_BINARY_DIR}/README.txt ${KAVRIX_STAGE}/README.txt
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/COPYING ${KAVRIX_STAGE}/COPYING.txt
  COMMAND ${CMAKE_COMMAND} -E touch ${KAVRIX_FOLDER_STAMP}
  DEPENDS ${KAVRIX_NATIVE_DATA}/.stamp ${CMAKE_BINARY_DIR}/README.txt ${CMAKE_SOURCE_DIR}/COPYING
  COMMENT "Putting the data, fonts and licences beside kavrix.exe in ${KAVRIX_STAGE}")
add_custom_target(windows_folder ALL DEPENDS ${KAVRIX_FOLDER_STAMP})

# The zip (the folder as it is) and the installer.
add_custom_command(OUTPUT ${KAVRIX_ZIP}
  COMMAND ${CMAKE_COMMAND} -E rm -f ${KAVRIX_ZIP}
  COMMAND ${CMAKE_COMMAND} -E tar cf ${KAVRIX_ZIP} --format=zip -- Kavrix/kavrix.exe Kavrix/data Kavrix/fonts
          Kavrix/licences Kavrix/README.txt Kavrix/COPYING.txt
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  DEPENDS kavrix ${KAVRIX_FOLDER_STAMP}
  COMMENT "Packing ${KAVRIX_ZIP}")
set(KAVRIX_FILELIST ${CMAKE_BINARY_DIR}/installed_files.nsh)
add_custom_command(OUTPUT ${KAVRIX_SETUP}
  COMMAND ${CMAKE_COMMAND} -DSTAGE=${KAVRIX_STAGE} -DOUT=${KAVRIX_FILELIST}
          -P ${CMAKE_SOURCE_DIR}/windows/installed_files.cmake
  COMMAND ${KAVRIX_MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DSTAGE=${KAVRIX_STAGE} -DFILELIST=${KAVRIX_FILELIST}
          -DICON=${KAVRIX_ICO} -DOUTFILE=${KAVRIX_SETUP} ${CMAKE_SOURCE_DIR}/windows/installer.nsi
  DEPENDS kavrix ${KAVRIX_FOLDER_STAMP} ${KAVRIX_ICO} ${CMAKE_SOURCE_DIR}/windows/installer.nsi
          ${CMAKE_SOURCE_DIR}/windows/installed_files.cmake
  COMMENT "Building the installer ${KAVRIX_SETUP}")
add_custom_target(windows_packages ALL DEPENDS ${KAVRIX_ZIP} ${KAVRIX_SETUP})

if(KAVRIX_BENCH)
  # The stage program of bench/startup.sh, beside fonts of its own.
  kavrix_windows_program(kavrix_stage bench/stage/stage_main.cpp bench/stage/startup_pieces.cpp
                         bench/busiest_scroll.cpp)
  set_source_files_properties(bench/stage/stage_main.cpp PROPERTIES COMPILE_DEFINITIONS main=KavrixMain)
  set_target_properties(kavrix_stage PROPERTIES OUTPUT_NAME kavrix-stage RUNTIME_OUTPUT_DIRECTORY
                        ${CMAKE_BINARY_DIR}/bench)
  add_custom_command(TARGET kavrix_stage POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/bench/fonts
    COMMAND ${CMAKE_COMMAND} -E copy ${KAVRIX_FONTS} ${CMAKE_BINARY_DIR}/bench/fonts/)
endif()

if(KAVRIX_TESTS)
  include(${CMAKE_SOURCE_DIR}/windows/windows_tests.cmake)
endif()
