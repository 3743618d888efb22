# Run by cpack once the package's files are staged: Debian keeps the
# commands of section games in /usr/games, so the Debian package carries
# there the launcher configured for that place instead of the one in bin/.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()
set(usr "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
set(commands "${usr}/${CPACK_WUFFEL_COMMAND_DIR}")
file(REMOVE "${commands}/wuffel-tennis")
file(GLOB left "${commands}/*")
if(NOT left)
  file(REMOVE_RECURSE "${commands}")
endif()
file(COPY "${CPACK_WUFFEL_GAMES_LAUNCHER}" DESTINATION "${usr}/games"
     FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
