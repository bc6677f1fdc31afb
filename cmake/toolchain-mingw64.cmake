# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-compiles for 64-bit Windows with Debian's mingw-w64 (posix threads).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(FILMARIN_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${FILMARIN_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${FILMARIN_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${FILMARIN_MINGW_PREFIX}-windres)
# Libraries built for Windows outside the system's mingw folder (Qt, libjpeg) are found
# below the folders given as CMAKE_PREFIX_PATH.
set(CMAKE_FIND_ROOT_PATH /usr/${FILMARIN_MINGW_PREFIX} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# The test programs run under Wine without mingw's runtime libraries beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# Tests of the Windows build run under Wine (the test command sets up its prefix).
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
