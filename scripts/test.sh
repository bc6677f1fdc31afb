#!/usr/bin/env bash
# Builds Filmarin with warnings as errors and runs every test, then the fuzz targets.
source "$(dirname "$0")/common.sh"
filmarin_install_packages "${FILMARIN_RUN_PACKAGES[@]}" "${FILMARIN_TEST_PACKAGES[@]}"
cd "$FILMARIN_ROOT"
jobs=$(nproc)

echo "== Program and tests"
cmake --preset ci >/dev/null
cmake --build --preset ci -j"$jobs"
ctest --preset ci -j"$jobs"

echo "== Fuzz targets (libFuzzer, address and undefined-behaviour sanitizers)"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$jobs"
ctest --preset fuzz
