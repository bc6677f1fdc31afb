#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts filmarin.exe under Wine, with no player beside it, as a teacher would on Windows.
# Passes when the main window appears and the player message comes up: the static Windows
# platform plugin and style are linked in. Run it inside tests/windows/wine_display.sh.
#   bash tests/windows/start_under_wine.sh filmarin.exe [SCREENSHOT.png]
set -euo pipefail
program=$(realpath "$1")
screenshot=${2:-}
caption="Filmarin 2.2 abspielen mit VLC"

work=$(mktemp -d /tmp/filmarin-wine-start-XXXXXX)
program_pid=""
cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
cp "$program" "$work/filmarin.exe"
(cd "$work" && exec wine filmarin.exe >"$work/program.log" 2>&1) &
program_pid=$!

found_window=""
found_message=""
for _ in $(seq 600); do
    names=$(for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do
        xdotool getwindowname "$w" 2>/dev/null || true
    done)
    printf '%s\n' "$names" | grep -q -F "$caption" && found_window=yes
    printf '%s\n' "$names" | grep -q -x -F "Information" && found_message=yes
    [ -n "$found_window" ] && [ -n "$found_message" ] && break
    sleep 0.1
done
[ -n "$screenshot" ] && import -window root "$screenshot" 2>/dev/null || true
if [ -z "$found_window" ] || [ -z "$found_message" ]; then
    echo "Under Wine the program showed: ${names:-no window}" >&2
    cat "$work/program.log" >&2
    exit 1
fi
echo "Under Wine the main window and the player message appeared."
echo "1 passed, 0 failed"
