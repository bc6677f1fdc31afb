#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# For every title of the two-title test disc, and for a few of the 99-title disc, the length
# the program reads agrees to within a second with the one the real vlc gives through its
# remote-control channel ("get_length"), for the title opened as the program opens it
# (dvdsimple:///…#N), paused. (Switching titles with the channel's "title" on a playing
# player proved no measure: the length follows the switch late or not at all, and short
# titles end and give way to the next while they are asked.)
# vlc refuses to run as root, so as root it runs as the user filmarin-player.
#   dvdlengths_test.sh LIST-PROGRAM DISCS-FOLDER
set -euo pipefail
list=$1
discs=$2
for tool in vlc /usr/bin/python3; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "The test needs $tool (the test command installs it)." >&2
        exit 1
    fi
done
work=$(mktemp -d /tmp/filmarin-lengths-XXXXXX)
player=""
cleanup() {
    [ -n "$player" ] && kill "$player" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
chmod 755 "$work"
# Where the player's user can read them, whatever the build folder's rights.
cp -r "$discs/Zwei Titel" "$discs/99 Titel" "$work/"
mkdir "$work/home"
run_as=()
if [ "$(id -u)" -eq 0 ]; then
    id filmarin-player >/dev/null 2>&1 ||
        useradd --system --no-create-home --shell /usr/sbin/nologin filmarin-player
    chown -R filmarin-player "$work"
    run_as=(runuser -u filmarin-player --)
fi

cat >"$work/ask.py" <<'PY'
# Asks the player's channel for the length of what it has opened.
import socket, sys, time
channel = socket.socket(socket.AF_UNIX)
for _ in range(400):
    try:
        channel.connect(sys.argv[1])
        break
    except OSError:
        time.sleep(0.05)
else:
    sys.exit("the player's channel did not open")
channel.settimeout(0.1)
pending = b""
def line_that(wanted, seconds=10.0):
    global pending
    until = time.time() + seconds
    while time.time() < until:
        while b"\n" in pending:
            line, pending = pending.split(b"\n", 1)
            line = line.decode(errors="replace").strip()
            if wanted(line):
                return line
        try:
            got = channel.recv(4096)
            if not got:
                sys.exit("the player closed its channel")
            pending += got
        except socket.timeout:
            pass
    sys.exit("the player did not answer")
# The player opens the disc, then goes to the title; its length counts once it has stayed
# the same for a second (0 until the disc is open).
started = time.time()
seen = []
while time.time() < started + 20:
    channel.sendall(b"get_length\n")
    seen.append(line_that(lambda line: line.isdigit()))
    last = seen[-10:]
    if time.time() > started + 1.5 and len(last) == 10 and len(set(last)) == 1 and last[0] != "0":
        break
    time.sleep(0.1)
length = seen[-1]
print(length, flush=True)
channel.sendall(b"quit\n")
PY

status=0
check_disc() {
    local disc=$1
    shift
    "$list" "$work/$disc" >"$work/ours.txt"
    local title url seconds ms
    for title in "$@"; do
        url=$(/usr/bin/python3 -c 'import sys, urllib.parse; print("dvdsimple://" + urllib.parse.quote(sys.argv[1]) + "#" + sys.argv[2])' "$work/$disc" "$title")
        rm -f "$work/channel"
        "${run_as[@]}" env HOME="$work/home" vlc -I oldrc --rc-fake-tty --rc-unix="$work/channel" \
            --vout dummy --aout dummy --start-paused --no-video-title-show "$url" \
            >"$work/vlc.log" 2>&1 &
        player=$!
        if ! seconds=$(timeout 60 /usr/bin/python3 "$work/ask.py" "$work/channel"); then
            echo "FAIL: the player's channel for $disc, title $title" >&2
            tail -n 20 "$work/vlc.log" >&2
            status=1
        fi
        wait "$player" 2>/dev/null || true
        player=""
        ms=$(awk -v t="$title" '$1 == t { print $2 }' "$work/ours.txt")
        if [ -z "$ms" ] || [ -z "$seconds" ]; then
            echo "FAIL: $disc, title $title: no length from the program ($ms) or vlc ($seconds)" >&2
            status=1
            continue
        fi
        echo "$disc, title $title: the program reads $ms ms, vlc gives $seconds s"
        if ! awk -v ms="$ms" -v s="$seconds" 'BEGIN { d = ms / 1000 - s; exit !(d <= 1 && d >= -1) }'; then
            echo "FAIL: $disc, title $title differs by more than a second" >&2
            status=1
        fi
    done
}
check_disc "Zwei Titel" 1 2
check_disc "99 Titel" 1 2 3 50 98 99
exit "$status"
