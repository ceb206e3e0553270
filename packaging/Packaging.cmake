# What the Debian package installs besides the program, its desktop entry, icons and metainfo;
# packaging/build-deb.sh adds the man pages and the changelog and builds the package.
include(GNUInstallDirs)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/optimal-filtering
  PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
