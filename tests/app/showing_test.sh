#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A showing with the real vlc, as a user with a fresh home folder, on a display with a window
# manager. "one": one screen (Xvfb). "two": a laptop screen and a projector to its right, from
# Xorg's dummy driver, which both the program's toolkit and vlc's see as two screens (this
# needs root, to start Xorg). vlc refuses to run as root, so as root the test runs as the
# user filmarin-player. Further words choose the classroom:
#   wm=openbox|xfwm4        the window manager (openbox)
#   laptop=WxH              the laptop screen's size (1366x768; the projector is 1920x1080)
#   panel                   a desktop panel (tint2) with a clock and a task list on the
#                           film's screen
#   film=N                  screen N (1: the laptop) chosen for the film in the menu
#   vlc-elsewhere           the user's vlc settings place vlc's window on the screen the
#                           film does not go on
#   showing_test.sh one|two PROBE LAUNCHER [WORDS...]
set -euo pipefail
source "$(dirname "$0")/../waitfor.sh"
screens=$1
probe=$2
launcher=$3
shift 3
wm=openbox
laptop=1366x768
panel=""
vlc_elsewhere=""
film=""
for word in "$@"; do
    case "$word" in
    wm=*) wm=${word#wm=} ;;
    laptop=*) laptop=${word#laptop=} ;;
    panel) panel=yes ;;
    vlc-elsewhere) vlc_elsewhere=yes ;;
    film=*) film=${word#film=} ;;
    *)
        echo "Unknown word: $word" >&2
        exit 2
        ;;
    esac
done
echo "Showing on $screens screen(s): $wm, laptop $laptop${panel:+, a panel}${vlc_elsewhere:+, vlc placed elsewhere}" >&2

for tool in vlc ffmpeg "$wm" xdotool xprop xsetroot import dbus-run-session ${panel:+tint2}; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "The showing test needs $tool (the test command installs it)." >&2
        exit 1
    fi
done
if [ "$screens" = two ]; then
    if [ "$(id -u)" -ne 0 ] || ! command -v Xorg >/dev/null 2>&1 || ! command -v xrandr >/dev/null ||
        [ ! -e /usr/lib/xorg/modules/drivers/dummy_drv.so ]; then
        echo "Two screens need root, Xorg, xrandr and Xorg's dummy driver: skipped." >&2
        exit 77
    fi
fi

work=$(mktemp -d /tmp/filmarin-showing-XXXXXX)
server_pid=""
wm_pid=""
panel_pid=""
cleanup() {
    [ -n "$panel_pid" ] && kill "$panel_pid" 2>/dev/null || true
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null || true
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    # Screenshots stay for a look when FILMARIN_SHOTS_KEEP names a folder.
    if [ -n "${FILMARIN_SHOTS_KEEP:-}" ]; then
        mkdir -p "$FILMARIN_SHOTS_KEEP"
        cp "$work"/shots/*.png "$FILMARIN_SHOTS_KEEP/" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
chmod 755 "$work"
mkdir "$work/home" "$work/shots" "$work/tmp"
cp "$probe" "$work/showing_probe"
cp "$launcher" "$work/launcher"

# A film with its own time burnt in, long enough for the preview after the showing.
font=/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf
ffmpeg -loglevel error -y -f lavfi -i testsrc=duration=20:size=640x360:rate=25 \
    -f lavfi -i sine=frequency=440:duration=20 -shortest -pix_fmt yuv420p \
    -vf "drawtext=fontfile=$font:text='%{pts\\:hms}':fontsize=40:x=20:y=20:box=1" \
    "$work/Film am Meer.mp4"
printf 'pcm.!default {\n    type null\n}\n' >"$work/asound.conf"

if [ "$screens" = one ]; then
    Xvfb -displayfd 3 -screen 0 "${laptop}x24" -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
    server_pid=$!
    wait_for 10 "Xvfb gives a display" test -s "$work/display"
    display=":$(cat "$work/display")"
    expected=1
else
    start_two_screens "$work" "$laptop"
    expected=2
fi
# A grey desktop: black is the backdrop's, colour the film's.
DISPLAY="$display" xsetroot -solid '#606060'
DISPLAY="$display" start_window_manager "$wm"
# A panel along the top of the film's screen (the projector; the only screen when there is
# one), grey, with a clock and the list of windows.
if [ -n "$panel" ]; then
    cat >"$work/tint2rc" <<RC
panel_items = TC
panel_monitor = $expected
panel_position = top center horizontal
panel_size = 100% 40
panel_layer = top
panel_background_id = 1
rounded = 0
border_width = 0
background_color = #808080 100
taskbar_mode = single_desktop
task_text = 1
time1_format = %H:%M:%S
RC
    DISPLAY="$display" tint2 -c "$work/tint2rc" >"$work/tint2.log" 2>&1 &
    panel_pid=$!
    wait_for 10 "the panel is shown" sh -c "DISPLAY=$display xprop -root _NET_CLIENT_LIST >/dev/null; \
        DISPLAY=$display xdotool search --class tint2 >/dev/null"
fi

run_as=()
if [ "$(id -u)" -eq 0 ]; then
    id filmarin-player >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin filmarin-player
    chown -R filmarin-player "$work"
    [ "$screens" = two ] && DISPLAY="$display" xhost +si:localuser:filmarin-player >/dev/null
    run_as=(runuser -u filmarin-player --)
fi
# On one screen the user has a vlc open already, with "Allow only one instance" and "Enqueue
# items" set in the user's vlc settings, in a D-Bus session as on a desktop: the showing must
# still play in a player of its own.
mkdir -p "$work/home/.config/vlc"
if [ "$screens" = one ]; then
    printf '[core]\none-instance=1\nplaylist-enqueue=1\n' >"$work/home/.config/vlc/vlcrc"
fi
# vlc's own saved window place (Qt's saveGeometry, format 3): on the laptop while the film
# goes on the projector, on the projector while it goes on the laptop.
if [ -n "$vlc_elsewhere" ]; then
    x=200 screen=0
    if [ "$film" = 1 ]; then x=$((${laptop%x*} + 200)) screen=1; fi
    geometry() { # left top right bottom: four big-endian 32-bit numbers
        local n
        for n in "$@"; do printf '\\x%02x\\x%02x\\x%02x\\x%02x' $((n >> 24 & 255)) $((n >> 16 & 255)) $((n >> 8 & 255)) $((n & 255)); done
    }
    blob="\\x01\\xd9\\xd0\\xcb\\x00\\x03\\x00\\x00$(geometry $x 150 $((x + 599)) 569)"
    blob+="$(geometry $((x + 1)) 170 $((x + 598)) 564)$(geometry $screen)\\x00\\x00"
    blob+="$(geometry ${laptop%x*})$(geometry $((x + 1)) 170 $((x + 598)) 564)"
    printf '[General]\ngeometry=@ByteArray(%s)\n\n[MainWindow]\nbgSize=@Size(600 348)\n' "$blob" \
        >"$work/home/.config/vlc/vlc-qt-interface.conf"
fi
cat >"$work/session.sh" <<'SESSION'
set -euo pipefail
source "$FILMARIN_WAITFOR"
if [ "$FILMARIN_SCREENS" = 1 ]; then
    vlc -I dummy --no-qt-privacy-ask >/dev/null 2>&1 &
    open_vlc=$!
    trap 'kill $open_vlc 2>/dev/null || true' EXIT
    wait_for 20 "the user's own vlc registers on D-Bus" sh -c \
        'dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
            org.freedesktop.DBus.ListNames | grep -q org.mpris.MediaPlayer2.vlc'
fi
"$FILMARIN_PROBE"
SESSION
cp "$(dirname "$0")/../waitfor.sh" "$work/waitfor.sh"
[ "$(id -u)" -eq 0 ] && chown -R filmarin-player "$work"
"${run_as[@]}" env DISPLAY="$display" HOME="$work/home" XDG_RUNTIME_DIR="$work/home" \
    TMPDIR="$work/tmp" QT_QPA_PLATFORM=xcb ALSA_CONFIG_PATH="$work/asound.conf" \
    FILMARIN_PLAYER="$work/launcher" FILMARIN_VIDEO="$work/Film am Meer.mp4" \
    FILMARIN_TRACE="${FILMARIN_TRACE:-}" FILMARIN_SCREENS="$expected" FILMARIN_SHOTS="$work/shots" \
    FILMARIN_LAPTOP="$laptop" FILMARIN_FILM="$film" \
    FILMARIN_PROBE="$work/showing_probe" FILMARIN_WAITFOR="$work/waitfor.sh" \
    dbus-run-session -- bash "$work/session.sh"
