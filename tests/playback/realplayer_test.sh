#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Plays a generated video and a generated video DVD through the launcher with the real vlc,
# on a virtual display with a window manager, as a user with a fresh home folder. vlc refuses
# to run as root, so as root the test runs as the user filmarin-player.
#
# Besides the test program's own checks: no window but the player's video window may appear
# (no privacy question, no error box), and vlc's log must show that the DVD's title 1 was
# opened from a folder whose name holds a blank, "#" and "%".
set -euo pipefail
source "$(dirname "$0")/../waitfor.sh"
test_program=$1
launcher=$2

for tool in vlc ffmpeg Xvfb openbox xdotool xprop dvdauthor; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "The real-player test needs $tool (the test command installs it)." >&2
        exit 1
    fi
done

work=$(mktemp -d /tmp/filmarin-player-XXXXXX)
xvfb_pid=""
wm_pid=""
watch_pid=""
cleanup() {
    [ -n "$watch_pid" ] && kill "$watch_pid" 2>/dev/null || true
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
chmod 755 "$work"

# The programs are copied into the work folder, which the player's user can reach
# wherever the build tree lies.
cp "$test_program" "$work/realplayer_tests"
mkdir "$work/VLCportable" "$work/home"
cp "$launcher" "$work/VLCportable/VLCportable.exe"
test_program="$work/realplayer_tests"
launcher="$work/VLCportable/VLCportable.exe"

ffmpeg -loglevel error -y -f lavfi -i testsrc=duration=8:size=320x240:rate=25 \
    -f lavfi -i sine=frequency=440:duration=8 -shortest -pix_fmt yuv420p \
    "$work/Test Film #1.mp4"
# A small video DVD: an MPEG-2 program made by ffmpeg, authored by dvdauthor into a folder
# whose name a mount point could have.
dvd="$work/Mein Film #1 100%"
ffmpeg -loglevel error -y -f lavfi -i testsrc=duration=6:size=720x576:rate=25 \
    -f lavfi -i sine=frequency=440:duration=6 -shortest -target pal-dvd "$work/dvd.mpg"
VIDEO_FORMAT=PAL dvdauthor -o "$dvd" -t "$work/dvd.mpg" >/dev/null 2>&1
VIDEO_FORMAT=PAL dvdauthor -o "$dvd" -T >/dev/null 2>&1
rm "$work/dvd.mpg"

# The test machine has no sound card; a classroom computer has one. A null sound device
# stands in for it, so that vlc shows no error box about the missing sound output.
printf 'pcm.!default {\n    type null\n}\n' >"$work/asound.conf"

# A display of its own, on a free number, with a window manager as on a desktop.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
wait_for 10 "Xvfb gives a display" test -s "$work/display"
display=":$(cat "$work/display")"
DISPLAY="$display" start_window_manager

run_as=()
if [ "$(id -u)" -eq 0 ]; then
    id filmarin-player >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin filmarin-player
    chown -R filmarin-player "$work"
    run_as=(runuser -u filmarin-player --)
fi

# Every window that shows while the player runs.
(
    while true; do
        for w in $(DISPLAY="$display" xdotool search --onlyvisible --name . 2>/dev/null); do
            DISPLAY="$display" xdotool getwindowname "$w" 2>/dev/null || true
        done
        sleep 0.2
    done
) >"$work/windows.txt" &
watch_pid=$!

status=0
"${run_as[@]}" env DISPLAY="$display" HOME="$work/home" XDG_RUNTIME_DIR="$work/home" \
    ALSA_CONFIG_PATH="$work/asound.conf" VLC_VERBOSE=2 \
    FILMARIN_PLAYER="$launcher" FILMARIN_VIDEO="$work/Test Film #1.mp4" FILMARIN_DVD="$dvd" \
    FILMARIN_WORK="$work" "$test_program" 2>"$work/player.log" || status=$?
kill "$watch_pid" 2>/dev/null || true
wait "$watch_pid" 2>/dev/null || true
watch_pid=""

others=$(sort -u "$work/windows.txt" | grep -v -E '(^| - )VLC media player$' || true)
if [ -n "$others" ]; then
    echo "Windows other than the player's video window appeared:" >&2
    echo "$others" >&2
    status=1
fi
if [ ! -s "$work/windows.txt" ]; then
    echo "The player's window never appeared." >&2
    status=1
fi
for line in 'dvdread demux debug: open VTS 1, for title 1' \
            "dvdsimple:////.*/Mein%20Film%20%231%20100%25/#1' successfully opened"; do
    if ! grep -q -E "$line" "$work/player.log"; then
        echo "vlc's log lacks: $line" >&2
        status=1
    fi
done
if [ "$status" -ne 0 ]; then
    echo "--- the player's log (end) ---" >&2
    tail -n 40 "$work/player.log" >&2
fi
exit "$status"
