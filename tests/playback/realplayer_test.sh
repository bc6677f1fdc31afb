#!/usr/bin/env bash
# Plays a generated video through the launcher with the real vlc under a virtual display.
# vlc refuses to run as root, so as root the test runs as the user filmarin-player.
set -euo pipefail
test_program=$1
launcher=$2

for tool in vlc ffmpeg Xvfb; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "The real-player test needs $tool (the test command installs it)." >&2
        exit 1
    fi
done

work=$(mktemp -d /tmp/filmarin-player-XXXXXX)
xvfb_pid=""
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
chmod 755 "$work"

# The programs are copied into the work folder, which the player's user can reach
# wherever the build tree lies.
cp "$test_program" "$work/realplayer_tests"
mkdir "$work/VLCportable"
cp "$launcher" "$work/VLCportable/VLCportable.exe"
test_program="$work/realplayer_tests"
launcher="$work/VLCportable/VLCportable.exe"

ffmpeg -loglevel error -y -f lavfi -i testsrc=duration=8:size=320x240:rate=25 \
    -f lavfi -i sine=frequency=440:duration=8 -shortest -pix_fmt yuv420p \
    "$work/Test Film #1.mp4"

# A display of its own, on a free number.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
display=":$(cat "$work/display")"

run_as=()
if [ "$(id -u)" -eq 0 ]; then
    id filmarin-player >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin filmarin-player
    chown -R filmarin-player "$work"
    run_as=(runuser -u filmarin-player --)
fi

"${run_as[@]}" env DISPLAY="$display" HOME="$work" XDG_RUNTIME_DIR="$work" \
    FILMARIN_PLAYER="$launcher" FILMARIN_VIDEO="$work/Test Film #1.mp4" FILMARIN_WORK="$work" \
    "$test_program"
