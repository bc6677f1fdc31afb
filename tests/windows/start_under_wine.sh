#!/usr/bin/env bash
# Starts filmarin.exe under Wine on a virtual display with a window manager, with no player
# beside it, as a teacher would on Windows. Passes when the main window appears and the
# player message comes up: the static Windows platform plugin and style are linked in.
# Uses the Wine prefix in $WINEPREFIX; Arial and Arial Narrow are mapped to the Liberation
# fonts there, as Wine has no Arial.
#   bash tests/windows/start_under_wine.sh filmarin.exe [SCREENSHOT.png]
set -euo pipefail
program=$(realpath "$1")
screenshot=${2:-}
caption="Filmarin 2.2 abspielen mit VLC"

work=$(mktemp -d /tmp/filmarin-wine-start-XXXXXX)
pids=()
cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
cp "$program" "$work/filmarin.exe"

cat >"$work/fonts.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Arial"="Liberation Sans"
"Arial Narrow"="Liberation Sans Narrow"
REG

Xvfb -displayfd 3 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"
openbox >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
done

# Wine's desktop process must know the display: start it afresh.
wineserver -k >/dev/null 2>&1 || true
wine regedit "$work/fonts.reg" >/dev/null 2>&1
(cd "$work" && wine filmarin.exe >"$work/program.log" 2>&1) &
pids+=($!)

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
