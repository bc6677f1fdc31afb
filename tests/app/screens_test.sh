#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The windows on the screens a classroom has: laptops, projectors and large monitors, each
# with a taskbar, at the scales 100 % to 200 %, on a virtual display with a window manager.
# Runs the screens test program once per screen and scale, then compares the title cards of
# all runs: a card must not depend on the screen.
#   screens_test.sh linux PROGRAM    Qt's X11 platform, the scale from QT_SCALE_FACTOR
#   screens_test.sh wine PROGRAM.exe Qt's Windows platform under Wine, on Wine's desktop
#                                    with its taskbar, the scale from LogPixels, as
#                                    Windows' display settings set it
# Each run's window size and place are printed. Needs Xvfb and openbox (and Wine).
set -uo pipefail
source "$(dirname "$0")/../waitfor.sh"
system=$1
program=$2
# By default a few runs that take every way of the fitting rule: the system's scale kept,
# lowered to a step of 5 %, lowered to 100 %, and not even 100 % fitting (the top left).
# FILMARIN_SCREENS=full runs every size at every scale; FILMARIN_SCREEN_SIZES and
# FILMARIN_SCREEN_SCALES (lists with blanks) choose others for it.
runs=()
if [ "${FILMARIN_SCREENS:-smoke}" = full ]; then
    read -r -a sizes <<<"${FILMARIN_SCREEN_SIZES:-1366x768 1024x768 1280x800 1920x1080 2560x1440 1024x600}"
    read -r -a scales <<<"${FILMARIN_SCREEN_SCALES:-1 1.25 1.5 1.75 2}"
    for size in "${sizes[@]}"; do
        for scale in "${scales[@]}"; do runs+=("$size:$scale"); done
    done
else
    runs=(1366x768:1 1920x1080:1.25 1280x800:1.25 1366x768:2 1024x600:1.5)
fi
if ! command -v Xvfb >/dev/null || ! command -v openbox >/dev/null; then
    echo "SKIPPED: the screens need Xvfb and openbox"
    exit 77
fi
work=$(mktemp -d /tmp/filmarin-screens-XXXXXX)
pids=()
stop_display() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    pids=()
}
cleanup() {
    # The prefix goes on serving other tests: back to the X display at 100 %.
    [ "$system" = wine ] && set_wine_screen 96
    stop_display
    rm -rf "$work"
}
trap cleanup EXIT

# A screen of WIDTHxHEIGHT whose bottom `taskbar` pixels the window manager keeps free.
start_display() {
    local size=$1 taskbar=$2
    rm -f "$work/display"
    Xvfb -displayfd 3 -screen 0 "${size}x24" -dpi 96 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
    pids+=($!)
    wait_for 10 "Xvfb gives a display of $size" test -s "$work/display" || exit 1
    export DISPLAY=":$(cat "$work/display")"
    cat >"$work/rc.xml" <<XML
<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <margins><top>0</top><bottom>$taskbar</bottom><left>0</left><right>0</right></margins>
</openbox_config>
XML
    openbox --config-file "$work/rc.xml" >/dev/null 2>&1 &
    pids+=($!)
    wait_for 10 "openbox keeps a taskbar of $taskbar pixels free on $size" \
        work_area_is "$((${size#*x} - taskbar))" || exit 1
}
work_area_is() {
    xprop -root _NET_WORKAREA 2>/dev/null | grep -q ", $1\(,\|$\)"
}

# Under Wine the windows live on a Windows desktop of the screen's size, with its taskbar,
# where Wine draws the frames as Windows does; the display setting for a scale is the
# screen's pixels per inch. Wine reads both when it starts, so it starts afresh. Without a
# size, Wine's desktop goes back to the X display and the scale to 100 %.
set_wine_screen() {
    local dpi=$1 size=${2:-}
    {
        printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n'
        printf '"LogPixels"=dword:%08x\n\n' "$dpi"
        printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\n'
        if [ -n "$size" ]; then
            printf '"Desktop"="Filmarin"\n\n'
            printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\n'
            printf '"Filmarin"="%s"\n\n' "$size"
            printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops\\Filmarin]\n'
            printf '"EnableShell"=dword:00000001\n'
        else
            printf '"Desktop"=-\n'
        fi
    } >"$work/screen.reg"
    wineserver -k >/dev/null 2>&1 || true
    wine regedit "$work/screen.reg" >/dev/null 2>&1
    wineserver -k >/dev/null 2>&1 || true
}

failed=0
: >"$work/report"
for run in "${runs[@]}"; do
    size=${run%:*}
    scale=${run#*:}
    # The taskbar grows with the scale, as Windows' does (40 pixels at 100 %).
    taskbar=$(awk -v s="$scale" 'BEGIN { printf "%d", 40 * s + 0.5 }')
    start_display "$size" "$taskbar"
    cards="$work/cards/$size-$scale"
    mkdir -p "$cards"
    echo "== $size, scale $scale" >>"$work/report"
    case "$system" in
    linux)
        env QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR="$scale" FILMARIN_CARDS_DIR="$cards" \
            FILMARIN_SCREEN_REPORT="$work/report" "$program" >"$work/out" 2>&1
        ;;
    wine)
        set_wine_screen "$(awk -v s="$scale" 'BEGIN { printf "%d", 96 * s + 0.5 }')" "$size"
        # A Windows console program's output does not reach this shell: QtTest writes
        # it to a file.
        env FILMARIN_CARDS_DIR="$(winepath -w "$cards")" \
            FILMARIN_SCREEN_REPORT="$(winepath -w "$work/report")" \
            wine "$program" -o "$(winepath -w "$work/out")",txt >/dev/null 2>&1
        ;;
    esac
    status=$?
    if [ $status -ne 0 ]; then
        echo "FAILED at $size, scale $scale:"
        grep -E 'FAIL|Loc:|QWARN|system ' "$work/out" || cat "$work/out"
        failed=1
    fi
    stop_display
done
cat "$work/report"

# Every card of every run the same, byte for byte, as those at the first screen and scale.
first_run=${runs[0]}
first="$work/cards/${first_run%:*}-${first_run#*:}/Bilder_VLC"
cards_checked=0
for folder in "$work"/cards/*/Bilder_VLC; do
    for card in "$first"/a*.jpg; do
        if ! cmp -s "$card" "$folder/$(basename "$card")"; then
            echo "FAILED: $(basename "$card") at ${folder#"$work"/cards/} differs from the card at ${first_run%:*}, scale ${first_run#*:}"
            failed=1
        fi
        cards_checked=$((cards_checked + 1))
    done
done
if [ "$cards_checked" -lt $((${#runs[@]} * 20)) ]; then
    echo "FAILED: only $cards_checked title cards were written"
    failed=1
fi
exit $failed
