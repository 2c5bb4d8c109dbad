# Installs Dravik like any desktop program and describes its Debian package.
include(GNUInstallDirs)

install(TARGETS dravik dravik-report RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY docs/help/ DESTINATION ${CMAKE_INSTALL_DATADIR}/dravik/help)
install(FILES packaging/dravik.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/dravik.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

set(CPACK_PACKAGE_NAME dravik)
set(CPACK_PACKAGE_VENDOR "Dravik developers")
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
include(CPack)
