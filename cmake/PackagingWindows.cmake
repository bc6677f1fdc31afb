# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows zip a teacher unpacks: filmarin.exe and its disc reader filmarin-dvdtitel.exe
# (stripped), a German LIESMICH.txt, the
# programme's licence (LICENSE), the folder Lizenzen with the licences of the libraries
# linked into the program and the program's source, and the folder VLCportable with a
# LIESMICH.txt that says which player goes there. The target windows_zip makes
# Filmarin-<version>-win64.zip in the build folder; cmake --install lays out the same files.

# The licence texts come with the libraries in ../shared.
get_filename_component(qt_prefix "${Qt6_DIR}/../../.." ABSOLUTE)
get_filename_component(jpeg_prefix "${JPEG_INCLUDE_DIR}/.." ABSOLUTE)
get_filename_component(dvdread_prefix "${DVDREAD_INCLUDE_DIR}/.." ABSOLUTE)
set(licence_files
    Qt/LGPL-3.0-only.txt ${qt_prefix}/LICENSES/LGPL-3.0-only.txt
    Qt/GPL-3.0-only.txt ${qt_prefix}/LICENSES/GPL-3.0-only.txt
    libjpeg-turbo/LICENSE.md ${jpeg_prefix}/LICENSE.md
    libjpeg-turbo/README.ijg ${jpeg_prefix}/README.ijg
    libjpeg-turbo/zlib.txt ${PROJECT_SOURCE_DIR}/packaging/licenses/zlib.txt
    libdvdread/COPYING.txt ${dvdread_prefix}/COPYING)

# Every text in the zip has Windows line endings: Notepad before Windows 10 1809 shows a
# text with bare line feeds as one line.
function(filmarin_text_with_crlf source target)
    file(READ ${source} text)
    string(REPLACE "\r\n" "\n" text "${text}")
    string(REPLACE "\n" "\r\n" text "${text}")
    file(WRITE ${target}.new "${text}")
    file(COPY_FILE ${target}.new ${target} ONLY_IF_DIFFERENT)
    file(REMOVE ${target}.new)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
endfunction()
filmarin_text_with_crlf(${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_BINARY_DIR}/packaging/LICENSE)

configure_file(${PROJECT_SOURCE_DIR}/packaging/LIESMICH.txt.in ${PROJECT_BINARY_DIR}/packaging/LIESMICH.txt
               @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/packaging/licenses/LIESMICH.txt.in
               ${PROJECT_BINARY_DIR}/packaging/Lizenzen-LIESMICH.txt @ONLY NEWLINE_STYLE CRLF)
install(FILES ${PROJECT_BINARY_DIR}/packaging/LIESMICH.txt ${PROJECT_BINARY_DIR}/packaging/LICENSE
        DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/VLCportable-LIESMICH.txt
        DESTINATION VLCportable RENAME LIESMICH.txt)
install(FILES ${PROJECT_BINARY_DIR}/packaging/Lizenzen-LIESMICH.txt
        DESTINATION Lizenzen RENAME LIESMICH.txt)

set(FILMARIN_ZIP ${PROJECT_BINARY_DIR}/Filmarin-${PROJECT_VERSION}-win64.zip)
set(stage ${PROJECT_BINARY_DIR}/zip)
set(source_zip_name filmarin-${PROJECT_VERSION}-quelltext.zip)
set(copy_licences "")
set(licence_sources "")
while(licence_files)
    list(POP_FRONT licence_files target source)
    if(NOT EXISTS ${source})
        message(FATAL_ERROR "The licence text ${source} is missing; the zip must carry it.")
    endif()
    get_filename_component(target_dir ${target} DIRECTORY)
    set(with_crlf ${PROJECT_BINARY_DIR}/packaging/Lizenzen/${target})
    filmarin_text_with_crlf(${source} ${with_crlf})
    install(FILES ${with_crlf} DESTINATION Lizenzen/${target_dir})
    list(APPEND copy_licences COMMAND ${CMAKE_COMMAND} -E make_directory
         ${stage}/Lizenzen/${target_dir} COMMAND ${CMAKE_COMMAND} -E copy ${with_crlf}
         ${stage}/Lizenzen/${target})
    list(APPEND licence_sources ${with_crlf})
endwhile()

add_custom_command(OUTPUT ${FILMARIN_ZIP}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage} ${FILMARIN_ZIP}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}/VLCportable ${stage}/Lizenzen/Quelltext
    COMMAND ${CMAKE_STRIP} -o ${stage}/filmarin.exe $<TARGET_FILE:filmarin>
    COMMAND ${CMAKE_STRIP} -o ${stage}/filmarin-dvdtitel.exe $<TARGET_FILE:filmarin_dvdtitel>
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_BINARY_DIR}/packaging/LIESMICH.txt
            ${stage}/LIESMICH.txt
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_BINARY_DIR}/packaging/LICENSE ${stage}/LICENSE
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/packaging/VLCportable-LIESMICH.txt
            ${stage}/VLCportable/LIESMICH.txt
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_BINARY_DIR}/packaging/Lizenzen-LIESMICH.txt
            ${stage}/Lizenzen/LIESMICH.txt
    ${copy_licences}
    COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
            -DOUTPUT=${stage}/Lizenzen/Quelltext/${source_zip_name}
            -P ${PROJECT_SOURCE_DIR}/cmake/SourceArchive.cmake
    COMMAND ${CMAKE_COMMAND} -E chdir ${stage}
            ${CMAKE_COMMAND} -E tar cf ${FILMARIN_ZIP} --format=zip
            filmarin.exe filmarin-dvdtitel.exe LIESMICH.txt LICENSE VLCportable Lizenzen
    DEPENDS filmarin filmarin_dvdtitel ${PROJECT_BINARY_DIR}/packaging/LIESMICH.txt
            ${PROJECT_BINARY_DIR}/packaging/Lizenzen-LIESMICH.txt ${PROJECT_BINARY_DIR}/packaging/LICENSE
            ${PROJECT_SOURCE_DIR}/packaging/VLCportable-LIESMICH.txt ${licence_sources}
            ${PROJECT_SOURCE_DIR}/cmake/SourceArchive.cmake
    COMMENT "Packing Filmarin-${PROJECT_VERSION}-win64.zip")
# The source is packed anew each time, as it may have changed.
add_custom_target(windows_zip_source_changed COMMAND ${CMAKE_COMMAND} -E touch_nocreate
                  ${PROJECT_BINARY_DIR}/packaging/Lizenzen-LIESMICH.txt)
add_custom_target(windows_zip DEPENDS ${FILMARIN_ZIP})
add_dependencies(windows_zip windows_zip_source_changed)
