# Installing on Linux: the program and its launcher together in lib/filmarin (the program
# finds its player beside itself), a command in bin, a menu entry and an icon; CPack makes
# the Debian package filmarin_<version>_<arch>.deb from that.
include(GNUInstallDirs)

install(FILES ${PROJECT_SOURCE_DIR}/packaging/filmarin.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/filmarin.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# bin/filmarin points to the program, whose folder holds the player.
file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/packaging)
file(CREATE_LINK ../${FILMARIN_INSTALL_PROGRAM_DIR}/filmarin ${PROJECT_BINARY_DIR}/packaging/filmarin
     SYMBOLIC)
install(FILES ${PROJECT_BINARY_DIR}/packaging/filmarin DESTINATION ${CMAKE_INSTALL_BINDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME filmarin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Filmarin)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Ausschnitte von Videos, DVDs und CDs im VLC-Player zeigen")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Filmarin spielt ausgewählte Ausschnitte eines Videos im Mediaplayer VLC ab: aus einer "
    "Videodatei, von einer Video-DVD, einer VCD oder SVCD oder einer Audio-CD. Vor jedem "
    "Ausschnitt zeigt es eine Titelkarte; zwischen den Ausschnitten kann es anhalten. Für "
    "Lehrkräfte und Vortragende, die im Unterricht Filmausschnitte zeigen.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Filmarin <filmarin@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beside the libraries the program links: the player, Qt's X11 and Wayland platform
# plugins, Qt's German texts and the fonts that stand in for Arial.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "vlc, qt6-qpa-plugins, qt6-translations-l10n, fonts-liberation")
include(CPack)
