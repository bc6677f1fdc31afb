#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command with a virtual display and a window manager for the Windows programs that
# Wine starts, as on a German Windows desktop. Wine has no Arial and no Tahoma (the font of
# Wine's menus and dialogs, "MS Shell Dlg"): they are mapped to the Liberation fonts in the
# prefix ($WINEPREFIX), which must exist, so that menus are drawn as on Windows.
# With --two-screens (as root) the display is Xorg's dummy driver with a 1366x768 laptop screen
# and a 1920x1080 projector to its right, which Wine counts as two monitors.
#   bash tests/windows/wine_display.sh [--two-screens] COMMAND [ARGUMENTS...]
set -euo pipefail
source "$(dirname "$0")/../waitfor.sh"
# A German Windows, as in the schools: Wine takes the code pages (1252, OEM 850) from the
# locale, which must exist (scripts/common.sh makes it).
unset LC_ALL LC_CTYPE LC_MESSAGES
export LANG=de_DE.UTF-8
work=$(mktemp -d /tmp/filmarin-wine-display-XXXXXX)
pids=()
cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

if [ "${1:-}" = --two-screens ]; then
    shift
    start_two_screens "$work" 1366x768
    pids+=("$server_pid")
    export DISPLAY=$display
else
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
    pids+=($!)
    wait_for 10 "Xvfb gives a display" test -s "$work/display"
    export DISPLAY=":$(cat "$work/display")"
fi
start_window_manager
pids+=("$wm_pid")

cat >"$work/fonts.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Arial"="Liberation Sans"
"Arial Narrow"="Liberation Sans Narrow"
"Tahoma"="Liberation Sans"
REG
# Wine's desktop process must know the display: start it afresh.
wineserver -k >/dev/null 2>&1 || true
wine regedit "$work/fonts.reg" >/dev/null 2>&1
"$@"
