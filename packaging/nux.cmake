# Installation and the Debian package: the program, its launcher (which makes
# ~/nux and starts nux on it), the menu entry, the icon, the AppStream data,
# the manual pages, the guide with its pictures, the licence and the
# changelog. scripts/paket.sh builds it; scripts/paketpruefung.sh checks it.
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
install(FILES ${NUX_ROOT}/packaging/de.nux_unterricht.nux.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Manual pages and the changelog gzipped without a time stamp, as Debian
# wants them; nux(1) is made from the program's own --help.
set(NUX_PAKET ${CMAKE_BINARY_DIR}/paket)
add_custom_command(
  OUTPUT ${NUX_PAKET}/nux.1.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${NUX_PAKET}
  COMMAND sh ${NUX_ROOT}/packaging/manseite.sh $<TARGET_FILE:nux> > ${NUX_PAKET}/nux.1
  COMMAND gzip -9nf ${NUX_PAKET}/nux.1
  DEPENDS nux ${NUX_ROOT}/packaging/manseite.sh
  VERBATIM)
add_custom_command(
  OUTPUT ${NUX_PAKET}/nux-start.1.gz ${NUX_PAKET}/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${NUX_PAKET}
  COMMAND gzip -9nc ${NUX_ROOT}/packaging/nux-start.1 > ${NUX_PAKET}/nux-start.1.gz
  COMMAND gzip -9nc ${NUX_ROOT}/packaging/changelog > ${NUX_PAKET}/changelog.gz
  DEPENDS ${NUX_ROOT}/packaging/nux-start.1 ${NUX_ROOT}/packaging/changelog
  VERBATIM)
add_custom_target(nux_paketdateien ALL
  DEPENDS ${NUX_PAKET}/nux.1.gz ${NUX_PAKET}/nux-start.1.gz ${NUX_PAKET}/changelog.gz)
install(FILES ${NUX_PAKET}/nux.1.gz ${NUX_PAKET}/nux-start.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
set(NUX_DOC ${CMAKE_INSTALL_DATADIR}/doc/nux)
install(FILES ${NUX_PAKET}/changelog.gz ${NUX_ROOT}/packaging/copyright ${NUX_ROOT}/docs/anleitung.md
        DESTINATION ${NUX_DOC})
install(DIRECTORY ${NUX_ROOT}/docs/bilder DESTINATION ${NUX_DOC} FILES_MATCHING PATTERN "*.png")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME nux)
set(CPACK_PACKAGE_VENDOR "nux")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "nux <info@nux-unterricht.de>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Lehrfächerverteilung für Schulen")
set(CPACK_PACKAGE_DESCRIPTION
    "Mit nux plant die Schulverwaltung die Lehrfächerverteilung eines Schuljahres:\nFächer, LehrerInnen und Klassen erfassen, die Stunden verteilen und\nVerteilungsblätter drucken. Die Daten liegen im Ordner ~/nux des Benutzers.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.nux-unterricht.de/")
# Opening a printed PDF and its folder from the notice goes through the
# desktop's xdg-open; nux works without it.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
# The libraries come from dpkg-shlibdeps when it is there; the platform
# plugin (xcb), Qt's German texts and the fonts of the printouts are loaded
# at run time.
find_program(NUX_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(NUX_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, fonts-liberation")
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "libc6, libstdc++6 (>= 12), libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6printsupport6 (>= 6.4), libqt6charts6 (>= 6.4), libxlsxwriter4, libglpk40, liblemon1.3.1, qt6-qpa-plugins, qt6-translations-l10n, fonts-liberation")
endif()
include(CPack)
