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
