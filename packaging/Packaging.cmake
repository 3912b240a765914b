# The Debian package: `scripts/package` builds it, `apt install ./k5x7_<version>_amd64.deb`
# installs it. Run-time libraries come from dpkg-shlibdeps; what is loaded by name at run time
# (the embedded engine, fonts, Qt's translations and image plugins) is named here.
include(GNUInstallDirs)

install(TARGETS k5x7 k5x7_admin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/k5x7.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/k5x7.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# The office server set-up travels with the package, for the machine that serves the office.
install(PROGRAMS ${PROJECT_SOURCE_DIR}/scripts/office-server
  DESTINATION ${CMAKE_INSTALL_SBINDIR} RENAME k5x7-office-server)
install(PROGRAMS ${PROJECT_SOURCE_DIR}/scripts/firebird-server DESTINATION lib/k5x7)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME k5x7)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "k5x7 <k5x7@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "図面管理 - drawing management for small design offices")
set(CPACK_PACKAGE_DESCRIPTION "Projects, their name trees and the office's drawing files with \
check, approval, issue and revision records, on a Firebird 3 database shared by the office's PCs.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's TIFF reader, which previews of scanned drawings need, is a plugin of its own package.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "firebird3.0-server-core, fonts-ipafont-gothic | fonts-noto-cjk, \
qt6-translations-l10n, qt6-image-formats-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "firebird3.0-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "firebird3.0-server")
include(CPack)
