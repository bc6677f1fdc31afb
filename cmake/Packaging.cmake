# SPDX-License-Identifier: GPL-3.0-or-later
# Installing on Linux: the program and its launcher together in lib/filmarin (the program
# finds its player beside itself), a command in bin, a menu entry, an icon and the
# software centres' description; CPack makes the Debian package filmarin_<version>_<arch>.deb
# from that.
include(GNUInstallDirs)

install(FILES ${PROJECT_SOURCE_DIR}/packaging/filmarin.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/filmarin.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# What software centres list: names, summaries and descriptions in German and English.
configure_file(${PROJECT_SOURCE_DIR}/packaging/filmarin.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/packaging/org.example.filmarin.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/packaging/org.example.filmarin.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# bin/filmarin points to the program, whose folder holds the player.
file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/packaging)
file(CREATE_LINK ../${FILMARIN_INSTALL_PROGRAM_DIR}/filmarin ${PROJECT_BINARY_DIR}/packaging/filmarin
     SYMBOLIC)
install(FILES ${PROJECT_BINARY_DIR}/packaging/filmarin DESTINATION ${CMAKE_INSTALL_BINDIR})

# The copyright file, the changelog and a German manual page, as a Debian package has them;
# compressed without a time stamp, so that every build gives the same bytes.
find_program(FILMARIN_GZIP gzip REQUIRED)
configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog.in ${PROJECT_BINARY_DIR}/packaging/changelog
               @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/packaging/filmarin.1.in ${PROJECT_BINARY_DIR}/packaging/filmarin.1
               @ONLY)
foreach(file changelog filmarin.1)
    execute_process(COMMAND ${FILMARIN_GZIP} -9nc ${PROJECT_BINARY_DIR}/packaging/${file}
                    OUTPUT_FILE ${PROJECT_BINARY_DIR}/packaging/${file}.gz COMMAND_ERROR_IS_FATAL ANY)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${PROJECT_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/filmarin)
install(FILES ${PROJECT_BINARY_DIR}/packaging/filmarin.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME filmarin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Filmarin)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Ausschnitte von Videos, DVDs und CDs im VLC-Player zeigen")
# The long description in lines of at most 72 characters, as Debian wants it.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Filmarin spielt ausgewählte Ausschnitte eines Videos im Mediaplayer VLC\n"
    "ab: aus einer Videodatei, von einer Video-DVD, einer VCD oder SVCD oder\n"
    "einer Audio-CD. Vor jedem Ausschnitt zeigt es eine Titelkarte; zwischen\n"
    "den Ausschnitten kann es anhalten. Für Lehrkräfte und Vortragende, die\n"
    "im Unterricht Filmausschnitte zeigen.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Filmarin <filmarin@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beside the libraries the program links: the player, Qt's X11 and Wayland platform
# plugins, Qt's German texts and the fonts that stand in for Arial.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "vlc, qt6-qpa-plugins, qt6-translations-l10n, fonts-liberation")
include(CPack)
