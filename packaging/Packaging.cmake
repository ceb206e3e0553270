# `make package`: a Debian package of the window, its desktop entry, icons and metainfo.
include(GNUInstallDirs)
# `make package` builds the program first; CPack itself then need not build every test.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(LAB_PACKAGE optimal-filtering)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${LAB_PACKAGE})

set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${LAB_PACKAGE})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "Optimal Filtering maintainers <maintainers@users.noreply.c-seed-4d820b6e.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "teaching laboratory for the optimal filtering of signals in noise")
set(CPACK_PACKAGE_DESCRIPTION
  "A student picks a test signal (simple pulses, an LFM pulse or the 13-element\n\
Barker code), sets the noise level and a filter (an RC section or a matched\n\
filter), presses Start and watches three live charts with the measured peak,\n\
noise RMS, signal-to-noise ratios and the gain the filter gives.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so the shared-library scan cannot see it: Qt's SVG plugins draw the icon.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
