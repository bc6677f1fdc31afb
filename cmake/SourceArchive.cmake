# SPDX-License-Identifier: GPL-3.0-or-later
cmake_policy(SET CMP0007 NEW)
# Packs the program's source into a zip: run with -DSOURCE_DIR=... -DOUTPUT=... as a script.
# The files are the ones git tracks; without git, every file but build folders.
find_program(GIT git)
set(files "")
if(GIT AND EXISTS ${SOURCE_DIR}/.git)
    execute_process(COMMAND ${GIT} -C ${SOURCE_DIR} -c core.quotepath=off ls-files
                    OUTPUT_VARIABLE listed COMMAND_ERROR_IS_FATAL ANY)
    string(REPLACE "\n" ";" files "${listed}")
else()
    file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*)
    list(FILTER files EXCLUDE REGEX "^(build[^/]*|\\.git)/")
endif()
list(FILTER files EXCLUDE REGEX "^$")
set(present "")
foreach(f IN LISTS files)
    if(EXISTS ${SOURCE_DIR}/${f} AND NOT IS_DIRECTORY ${SOURCE_DIR}/${f})
        list(APPEND present ${f})
    endif()
endforeach()
file(REMOVE ${OUTPUT})
# Paths in the archive are relative to the source folder.
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${OUTPUT} --format=zip -- ${present}
                WORKING_DIRECTORY ${SOURCE_DIR} COMMAND_ERROR_IS_FATAL ANY)
