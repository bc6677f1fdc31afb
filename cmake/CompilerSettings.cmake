# SPDX-License-Identifier: GPL-3.0-or-later
# Compiler settings shared by every target of the program.
add_library(filmarin_settings INTERFACE)
target_compile_features(filmarin_settings INTERFACE cxx_std_20)
target_compile_definitions(filmarin_settings INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_TO_ASCII
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)
if(WIN32)
    target_compile_definitions(filmarin_settings INTERFACE NOMINMAX WIN32_LEAN_AND_MEAN)
endif()
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(filmarin_settings INTERFACE -Wall -Wextra -Wpedantic)
    if(FILMARIN_WARNINGS_AS_ERRORS)
        target_compile_options(filmarin_settings INTERFACE -Werror)
    endif()
elseif(MSVC)
    target_compile_options(filmarin_settings INTERFACE /W4 /utf-8)
endif()

if(FILMARIN_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "The fuzz build needs clang (CXX=clang++)")
    endif()
    # Every library of the fuzz build is instrumented; the fuzz executables add the driver.
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -g -O1)
    add_link_options(-fsanitize=address,undefined)
endif()

# A static Qt links its plugins into the program: import the ones a program needs. A shared
# Qt finds them at run time. Qt's image format plugins are left out: the JPEG one brings
# Qt's own copy of libjpeg, whose functions would then stand in for the libjpeg-turbo the
# title cards are written with, a library of another version.
function(filmarin_import_qt_plugins target)
    get_target_property(qt_core_type Qt6::Core TYPE)
    if(qt_core_type STREQUAL "STATIC_LIBRARY")
        qt_import_plugins(${target} INCLUDE ${ARGN} EXCLUDE_BY_TYPE imageformats)
    endif()
endfunction()

# The Qt headers that the windows and their tests share, compiled once per target instead of
# once per file: most of a window file's compile time is spent in them.
set(FILMARIN_QT_WIDGETS_HEADERS
    <QAction> <QApplication> <QDialog> <QDir> <QFileDialog> <QFrame> <QLabel> <QLineEdit>
    <QMenu> <QPainter> <QPushButton> <QScreen> <QString> <QStyle> <QTimer> <QWidget>)
function(filmarin_precompile_qt_widgets target)
    target_precompile_headers(${target} PRIVATE ${FILMARIN_QT_WIDGETS_HEADERS} ${ARGN})
endfunction()
