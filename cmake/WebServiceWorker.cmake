# Writes the service worker of the web app: cmake -DAPP=<folder> -DTEMPLATE=<sw.js.in>
# -P WebServiceWorker.cmake. Every file in the folder is kept; the version is a hash of
# their contents, so that any change makes a new version.
file(GLOB_RECURSE files RELATIVE ${APP} ${APP}/*)
list(REMOVE_ITEM files sw.js)
list(SORT files)
set(all "")
set(list "")
foreach(f IN LISTS files)
  file(SHA256 ${APP}/${f} hash)
  string(APPEND all "${f}:${hash}\n")
  list(APPEND list "\"${f}\"")
endforeach()
string(SHA256 version "${all}")
string(SUBSTRING ${version} 0 16 MXC9_WEB_VERSION)
list(JOIN list ", " joined)
set(MXC9_WEB_FILES "[${joined}]")
configure_file(${TEMPLATE} ${APP}/sw.js @ONLY)
