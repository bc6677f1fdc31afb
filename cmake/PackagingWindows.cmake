# The Windows zip a teacher unpacks: filmarin.exe (stripped), a German LIESMICH.txt, and the
# folder VLCportable with a LIESMICH.txt that says which player goes there. The target
# windows_zip makes Filmarin-<version>-win64.zip in the build folder; cmake --install lays
# out the same files.
configure_file(${PROJECT_SOURCE_DIR}/packaging/LIESMICH.txt.in ${PROJECT_BINARY_DIR}/packaging/LIESMICH.txt
               @ONLY NEWLINE_STYLE CRLF)
install(FILES ${PROJECT_BINARY_DIR}/packaging/LIESMICH.txt DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/VLCportable-LIESMICH.txt
        DESTINATION VLCportable RENAME LIESMICH.txt)

set(FILMARIN_ZIP ${PROJECT_BINARY_DIR}/Filmarin-${PROJECT_VERSION}-win64.zip)
set(stage ${PROJECT_BINARY_DIR}/zip)
add_custom_command(OUTPUT ${FILMARIN_ZIP}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage} ${FILMARIN_ZIP}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}/VLCportable
    COMMAND ${CMAKE_STRIP} -o ${stage}/filmarin.exe $<TARGET_FILE:filmarin>
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_BINARY_DIR}/packaging/LIESMICH.txt
            ${stage}/LIESMICH.txt
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/packaging/VLCportable-LIESMICH.txt
            ${stage}/VLCportable/LIESMICH.txt
    COMMAND ${CMAKE_COMMAND} -E chdir ${stage}
            ${CMAKE_COMMAND} -E tar cf ${FILMARIN_ZIP} --format=zip
            filmarin.exe LIESMICH.txt VLCportable
    DEPENDS filmarin ${PROJECT_BINARY_DIR}/packaging/LIESMICH.txt
            ${PROJECT_SOURCE_DIR}/packaging/VLCportable-LIESMICH.txt
    COMMENT "Packing Filmarin-${PROJECT_VERSION}-win64.zip")
add_custom_target(windows_zip DEPENDS ${FILMARIN_ZIP})
