# Installs Dravik like any desktop program and describes its Debian package.
include(GNUInstallDirs)

# The date of this version, for the manual pages and the AppStream release.
set(DRAVIK_RELEASE_DATE 2026-12-07)
# Where the README's pictures are published, for software centres (AppStream takes web addresses).
set(DRAVIK_SCREENSHOT_URL "https://dravik.org/images"
    CACHE STRING "Web address of the folder holding the README's screenshots")

install(TARGETS dravik dravik-report RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY docs/help/ DESTINATION ${CMAKE_INSTALL_DATADIR}/dravik/help)
# The help's pictures of the scatter plot and table window and of a reference log are the
# README's; the English help has its own, of the English interface.
install(FILES docs/images/analysis_window.png docs/images/reference_log.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/dravik/help)
install(FILES docs/images/en/analysis_window.png docs/images/en/reference_log.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/dravik/help/en)
install(FILES packaging/${DRAVIK_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/${DRAVIK_APP_ID}.mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME ${DRAVIK_APP_ID}.xml)
install(FILES packaging/dravik.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(DIRECTORY packaging/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

configure_file(packaging/dravik.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/packaging/${DRAVIK_APP_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/packaging/${DRAVIK_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(page dravik dravik-report)
  configure_file(packaging/man/${page}.1.in ${PROJECT_BINARY_DIR}/man/${page}.1 @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/man/${page}.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
install(FILES packaging/copyright CHANGELOG.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_PACKAGE_NAME dravik)
set(CPACK_PACKAGE_VENDOR "The Dravik developers")
set(CPACK_PACKAGE_CONTACT "Dravik developers <dravik@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "ECU data log viewer with fuel economy figures")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION}.0)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beyond the shared libraries: the platform plugins, a Japanese font and Qt's own Japanese texts.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, fonts-ipafont-gothic | fonts-noto-cjk, fonts-liberation, qt6-translations-l10n")
# Qt's desktop portal theme lets a running portal show the desktop's own file dialogs; without it
# Qt's own dialog is shown, so the program works on any desktop.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-xdgdesktopportal-platformtheme")
include(CPack)
