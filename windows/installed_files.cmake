# Writes the uninstaller's list (OUT, an NSIS include) of what the installer
# installs from STAGE: a Delete for every file, then an RMDir for every
# folder, deepest first, so only what was installed is removed.
#   cmake -DSTAGE=DIR -DOUT=FILE -P installed_files.cmake
file(GLOB_RECURSE files RELATIVE ${STAGE} ${STAGE}/*)
file(GLOB_RECURSE entries LIST_DIRECTORIES true RELATIVE ${STAGE} ${STAGE}/*)
list(SORT files)
set(text "; Made by windows/installed_files.cmake from ${STAGE}\n")
foreach(f ${files})
  string(REPLACE "/" "\\" f "${f}")
  string(APPEND text "Delete \"$INSTDIR\\${f}\"\n")
endforeach()
set(folders)
foreach(entry ${entries})
  if(IS_DIRECTORY ${STAGE}/${entry})
    list(APPEND folders ${entry})
  endif()
endforeach()
list(SORT folders ORDER DESCENDING)
foreach(d ${folders})
  string(REPLACE "/" "\\" d "${d}")
  string(APPEND text "RMDir \"$INSTDIR\\${d}\"\n")
endforeach()
file(WRITE ${OUT} "${text}")
