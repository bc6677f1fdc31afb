# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the start-up benchmarks: keeps $DISPLAY, or starts Xvfb with openbox on display
# $1 and stops them when the script ends.
if [ -z "${DISPLAY:-}" ]; then
    export DISPLAY=$1
    Xvfb "$DISPLAY" -screen 0 1280x1024x24 -dpi 96 -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    trap 'kill "$xvfb" 2>/dev/null || true' EXIT
    sleep 1
    openbox >/dev/null 2>&1 &
    sleep 1
fi
