# Installation and the Debian package: the program, its launcher (which makes
# and enters ~/nux), the menu entry and the icon. scripts/paket.sh builds it.
if(NUX_TESTS)
  add_test(NAME nux_start_test
           COMMAND sh ${NUX_ROOT}/packaging/nux-start-test.sh ${NUX_ROOT}/packaging/nux-start)
endif()

if(NOT TARGET nux)
  return()
endif()

include(GNUInstallDirs)
install(PROGRAMS ${NUX_ROOT}/packaging/nux-start DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${NUX_ROOT}/packaging/nux.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${NUX_ROOT}/packaging/nux.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${NUX_ROOT}/packaging/nux.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME nux)
set(CPACK_PACKAGE_VENDOR "nux")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "nux <nux@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Lehrfächerverteilung für Schulen")
set(CPACK_PACKAGE_DESCRIPTION
    "Mit nux plant die Schulverwaltung die Lehrfächerverteilung eines Schuljahres:\nFächer, LehrerInnen und Klassen erfassen, die Stunden verteilen und\nVerteilungsblätter drucken. Die Daten liegen im Ordner ~/nux des Benutzers.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from dpkg-shlibdeps when it is there; the platform
# plugin (xcb), Qt's German texts and the fonts of the printouts are loaded
# at run time.
find_program(NUX_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(NUX_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, fonts-liberation")
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "libc6, libstdc++6 (>= 12), libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6printsupport6 (>= 6.4), libxlsxwriter4, qt6-qpa-plugins, qt6-translations-l10n, fonts-liberation")
endif()
include(CPack)
