#!/usr/bin/env bash
# Builds Filmarin with warnings as errors and runs every test, the installed Debian package,
# the fuzz targets, and the Windows build under Wine.
source "$(dirname "$0")/common.sh"
filmarin_install_packages "${FILMARIN_RUN_PACKAGES[@]}" "${FILMARIN_TEST_PACKAGES[@]}" \
    "${FILMARIN_WINDOWS_PACKAGES[@]}"
cd "$FILMARIN_ROOT"
jobs=$(nproc)

echo "== Program and tests"
cmake --preset ci >/dev/null
cmake --build --preset ci -j"$jobs"
ctest --preset ci -j"$jobs"

echo "== Debian package, installed and started"
cpack --config build-ci/CPackConfig.cmake -G DEB -B build-ci/package >/dev/null
bash tests/package/installed_start.sh build-ci/package/filmarin_2.2_amd64.deb

echo "== Fuzz targets (libFuzzer, address and undefined-behaviour sanitizers)"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$jobs"
ctest --preset fuzz

echo "== Windows platform layer (mingw-w64), tested under Wine"
for tool in x86_64-w64-mingw32-g++-posix wine; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "The Windows tests need $tool, which could not be installed." >&2
        exit 1
    fi
done
cmake --preset windows >/dev/null
cmake --build --preset windows -j"$jobs"
# A fresh, quiet Wine prefix of its own, removed afterwards.
WINEPREFIX=$(mktemp -d /tmp/filmarin-wine-XXXXXX)
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$WINEPREFIX"' EXIT
started=$(date +%s)
env -u DISPLAY wine wineboot --init >/dev/null 2>&1
env -u DISPLAY ctest --preset windows
echo "Wine step: $(( $(date +%s) - started )) s"

echo "== The whole program for Windows (static Qt from ../shared), tested under Wine, and its zip"
started=$(date +%s)
for folder in ../shared/qt6-mingw64 ../shared/libjpeg-mingw64; do
    if [ ! -d "$folder" ]; then
        echo "The Windows build needs $folder beside the project (see its BUILD.md)." >&2
        exit 1
    fi
done
cmake --preset windows-app >/dev/null
cmake --build --preset windows-app -j"$jobs"
cmake --build --preset windows-app --target windows_zip
# The window tests and the program itself need a display, as on a Windows desktop.
bash tests/windows/wine_display.sh bash -c \
    'ctest --preset windows-app && bash tests/windows/start_under_wine.sh build-windows-app/app/filmarin.exe'
ls -l build-windows-app/Filmarin-2.2-win64.zip
echo "Windows program step: $(( $(date +%s) - started )) s"
