# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the test scripts: waiting for something that must happen, never in silence.
#   wait_for SECONDS WHAT COMMAND [ARGUMENTS...]
# Runs the command every tenth of a second until it succeeds. When it has not succeeded after
# SECONDS, says that WHAT did not happen and returns 1.
wait_for() {
    local seconds=$1 what=$2 i
    shift 2
    for ((i = 0; i < seconds * 10; i++)); do
        "$@" && return 0
        sleep 0.1
    done
    echo "FAILED: $what, not within $seconds s" >&2
    return 1
}

# The window manager on $DISPLAY has announced itself.
window_manager_running() {
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'
}

# Starts a window manager on $DISPLAY, openbox unless another is named (xfwm4, which keeps its
# settings in a D-Bus session of its own), and waits until it has announced itself; sets
# wm_pid. A window manager that has ended before that (seen once on a loaded machine) is
# started again, up to three times; what it said is shown when it never comes up.
start_window_manager() {
    local wm=${1:-openbox} log attempt i
    log=$(mktemp /tmp/filmarin-wm-XXXXXX)
    for attempt in 1 2 3; do
        case "$wm" in
        xfwm4) dbus-run-session -- xfwm4 --compositor=off --sm-client-disable >"$log" 2>&1 & ;;
        *) openbox >"$log" 2>&1 & ;;
        esac
        wm_pid=$!
        for ((i = 0; i < 150; i++)); do
            if window_manager_running; then
                rm -f "$log"
                return 0
            fi
            kill -0 "$wm_pid" 2>/dev/null || break
            sleep 0.1
        done
        kill "$wm_pid" 2>/dev/null || true
        echo "$wm did not come up (attempt $attempt):" >&2
        cat "$log" >&2
    done
    rm -f "$log"
    echo "FAILED: $wm starts" >&2
    return 1
}

# Starts Xorg with its dummy driver (as root) in the folder WORK: a laptop screen of size LAPTOP
# (1366x768 or 1920x1080), primary, and a 1920x1080 projector to its right, both switched on, as
# both Qt and Wine count only outputs that are on. Sets display and server_pid.
#   start_two_screens WORK LAPTOP
start_two_screens() {
    local work=$1 laptop=$2 number
    # A virtual screen wide enough for both, one mode for each output.
    cat >"$work/xorg.conf" <<'CONF'
Section "Device"
    Identifier "card"
    Driver "dummy"
    VideoRam 256000
EndSection
Section "Monitor"
    Identifier "monitor"
    HorizSync 5.0 - 1000.0
    VertRefresh 5.0 - 200.0
    Modeline "1920x1080" 148.50 1920 2008 2052 2200 1080 1084 1089 1125 +hsync +vsync
    Modeline "1366x768" 85.50 1366 1436 1579 1792 768 771 777 798 +hsync +vsync
EndSection
Section "Screen"
    Identifier "screen"
    Device "card"
    Monitor "monitor"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Virtual 3840 1080
        Modes "1366x768" "1920x1080"
    EndSubSection
EndSection
CONF
    number=$(for n in $(seq 40 99); do [ -e "/tmp/.X$n-lock" ] || { echo "$n"; break; }; done)
    display=":$number"
    mkdir "$work/xorg.conf.d"
    Xorg "$display" -config "$work/xorg.conf" -configdir "$work/xorg.conf.d" -noreset -nolisten tcp \
        -logfile "$work/xorg.log" >/dev/null 2>&1 &
    server_pid=$!
    wait_for 10 "Xorg with the dummy driver starts" env DISPLAY="$display" xdpyinfo >/dev/null 2>&1 \
        || { tail -20 "$work/xorg.log" >&2; exit 1; }
    # The laptop's own screen, and the projector to its right.
    DISPLAY="$display" xrandr --output DUMMY0 --mode "$laptop" --pos 0x0 --primary
    DISPLAY="$display" xrandr --addmode DUMMY1 1920x1080
    DISPLAY="$display" xrandr --output DUMMY1 --mode 1920x1080 --right-of DUMMY0
    DISPLAY="$display" xrandr --listmonitors >&2
}
