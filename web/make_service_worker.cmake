# Writes the site's service worker with the SHA-256 digest of every file of
# the site and a cache name that changes with their content.
# cmake -DSITE=<site folder> -DTEMPLATE=<sw.js.in> -P make_service_worker.cmake
file(GLOB_RECURSE files RELATIVE ${SITE} ${SITE}/*)
list(REMOVE_ITEM files sw.js)
list(SORT files)
set(hashes "")
set(WUFFEL_SITE_DIGESTS "")
foreach(f ${files})
  file(SHA256 ${SITE}/${f} h)
  string(APPEND hashes "${f}:${h}\n")
  string(APPEND WUFFEL_SITE_DIGESTS "\n  '${f}': '${h}',")
  # The site's address itself is its index.
  if(f STREQUAL "index.html")
    string(APPEND WUFFEL_SITE_DIGESTS "\n  './': '${h}',")
  endif()
endforeach()
string(APPEND WUFFEL_SITE_DIGESTS "\n")
string(SHA256 all "${hashes}")
string(SUBSTRING ${all} 0 16 WUFFEL_SITE_VERSION)
configure_file(${TEMPLATE} ${SITE}/sw.js @ONLY)
