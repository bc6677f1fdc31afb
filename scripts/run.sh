#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Filmarin and starts it.
source "$(dirname "$0")/common.sh"
filmarin_install_packages "${FILMARIN_RUN_PACKAGES[@]}"
cd "$FILMARIN_ROOT"
cmake --preset default -DFILMARIN_BUILD_TESTS=OFF >/dev/null
cmake --build --preset default -j"$(nproc)"
exec ./build/app/filmarin
