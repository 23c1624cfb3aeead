# Writes the site's service worker (sw.js) from web/sw.js.in: the list of the
# site's files and the site's version, the game's version and a hash of
# every file, so that any change makes a new cache.
#   cmake -DSITE=DIR -DTEMPLATE=sw.js.in -DVERSION=X.Y.Z -P service_worker.cmake
file(GLOB_RECURSE files RELATIVE ${SITE} ${SITE}/*)
list(REMOVE_ITEM files sw.js)
list(SORT files)
set(listed "")
set(hashes "")
foreach(f ${files})
  file(SHA256 ${SITE}/${f} hash)
  string(APPEND hashes "${f} ${hash}\n")
  if(listed)
    string(APPEND listed ", ")
  endif()
  string(APPEND listed "'${f}'")
endforeach()
string(SHA256 digest "${hashes}")
string(SUBSTRING ${digest} 0 12 digest)
set(KAVRIX_SITE_VERSION "${VERSION}-${digest}")
set(KAVRIX_SITE_FILES "${listed}")
configure_file(${TEMPLATE} ${SITE}/sw.js @ONLY)
