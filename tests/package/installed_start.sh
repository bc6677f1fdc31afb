#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian package and starts the installed program as a user would: from the
# command "filmarin", as a normal user with a fresh home folder, on a display with a window
# manager. Passes when the main window appears and no message about the player follows.
# The package is unpacked into a scratch root, so that the test changes nothing on the
# machine (a copy of Filmarin the user installed stays as it is). As root, apt-get also
# checks, without installing anything, that the package's dependencies can be installed,
# and the program runs as the user filmarin-player.
#   bash tests/package/installed_start.sh PACKAGE.deb [SCREENSHOT.png]
set -euo pipefail
source "$(dirname "$0")/../waitfor.sh"
package=$(realpath "$1")
screenshot=${2:-}
caption="Filmarin 2.2 abspielen mit VLC"

work=$(mktemp -d /tmp/filmarin-package-XXXXXX)
chmod 755 "$work"
pids=()
program=""
cleanup() {
    [ -n "$program" ] && kill -- -"$program" 2>/dev/null || true
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

run_as=()
if [ "$(id -u)" -eq 0 ]; then
    if ! DEBIAN_FRONTEND=noninteractive apt-get install -s "$package" >"$work/simulated" 2>&1; then
        echo "The package's dependencies cannot be installed here:" >&2
        cat "$work/simulated" >&2
        exit 1
    fi
    id filmarin-player >/dev/null 2>&1 ||
        useradd --system --no-create-home --shell /usr/sbin/nologin filmarin-player
    run_as=(runuser -u filmarin-player --)
fi
# A video DVD's titles are read with libdvdread, under the name the release gives its runtime
# library (libdvdread8 on Debian 12, libdvdread8t64 on Debian 13).
if ! dpkg-deb -f "$package" Depends | tr ',' '\n' | grep -Eq '^ *libdvdread8(t64)?( |$)'; then
    echo "The package does not depend on libdvdread's runtime library:" >&2
    dpkg-deb -f "$package" Depends >&2
    exit 1
fi
dpkg-deb -x "$package" "$work/root"
command="$work/root/usr/bin/filmarin"
desktop="$work/root/usr/share/applications/filmarin.desktop"
[ -x "$command" ] || { echo "The package installs no command filmarin." >&2; exit 1; }
desktop-file-validate "$desktop"
metainfo="$work/root/usr/share/metainfo/org.example.filmarin.metainfo.xml"
[ -f "$metainfo" ] || { echo "The package installs no AppStream metainfo file." >&2; exit 1; }
appstreamcli validate --no-net --pedantic "$metainfo"
grep -qx 'Exec=filmarin' "$desktop"

mkdir "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
if [ "$(id -u)" -eq 0 ]; then
    chown filmarin-player "$work/home" "$work/runtime"
fi
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
pids+=($!)
wait_for 10 "Xvfb gives a display" test -s "$work/display"
display=":$(cat "$work/display")"
# A window mapped while the window manager starts up can stay unmanaged: wait for it.
DISPLAY="$display" start_window_manager
pids+=("$wm_pid")

# In a session of its own, so that the program can be ended with everything it started.
setsid "${run_as[@]}" env -i PATH=/usr/bin:/bin DISPLAY="$display" HOME="$work/home" \
    XDG_RUNTIME_DIR="$work/runtime" "$command" >"$work/program.log" 2>&1 &
program=$!

shown=""
for _ in $(seq 100); do
    shown=$(DISPLAY="$display" xdotool search --onlyvisible --name "$caption" 2>/dev/null || true)
    [ -n "$shown" ] && break
    sleep 0.1
done
if [ -z "$shown" ]; then
    echo "The packaged program showed no window." >&2
    cat "$work/program.log" >&2
    exit 1
fi
# The player check runs right after start; give it time to report.
sleep 3
windows=$(for w in $(DISPLAY="$display" xdotool search --onlyvisible --name . 2>/dev/null); do
    DISPLAY="$display" xdotool getwindowname "$w"
done)
[ -n "$screenshot" ] && DISPLAY="$display" import -window root "$screenshot" 2>/dev/null || true
others=$(printf '%s\n' "$windows" | sed 's/ *$//' | grep -v -x -F "$caption" || true)
if [ -n "$others" ]; then
    echo "Besides the main window the packaged program showed:" >&2
    echo "$others" >&2
    exit 1
fi
echo "The packaged program started from $command without a player message."
echo "1 passed, 0 failed"
