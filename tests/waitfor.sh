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
