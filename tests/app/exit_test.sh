#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program ends at once while a drive never answers: the process must be gone within a
# second after its window was closed, and after the system asked it to end (SIGTERM on
# Linux; under Wine the end of the session, as a Windows logout sends it). A Windows program
# (.exe) runs under Wine, inside tests/windows/wine_display.sh.
#   exit_test.sh EXIT_PROBE
set -uo pipefail
source "$(dirname "$0")/../waitfor.sh"
probe=$1
work=$(mktemp -d /tmp/filmarin-exit-XXXXXX)
running=""
cleanup() {
    [ -n "$running" ] && kill -KILL "$running" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
failed=0

# Runs the probe in `mode`; once it reports `cue`, does `ending`, then measures how soon the
# process is gone.
measure() {
    local mode=$1 cue=$2 ending=$3 report="$work/$1.txt"
    case "$probe" in
    *.exe) wine "$probe" "$(winepath -w "$report")" "$mode" >"$work/log" 2>&1 & ;;
    *) "$probe" "$report" "$mode" >"$work/log" 2>&1 & ;;
    esac
    running=$!
    if ! wait_for 60 "the probe reports \"$cue\"" grep -q "^$cue" "$report"; then
        cat "$work/log"
        failed=1
        return
    fi
    local started
    started=$(date +%s%N)
    $ending
    while kill -0 "$running" 2>/dev/null && [ $((($(date +%s%N) - started) / 1000000)) -lt 20000 ]; do
        sleep 0.02
    done
    local ended=$((($(date +%s%N) - started) / 1000000))
    wait "$running"
    local status=$?
    running=""
    echo "$mode: the program ended $ended ms after \"$cue\", with exit code $status"
    # Windows ends a program's process itself once the session's end has been announced: the
    # program must have ended its run by then; how the process ended is the system's.
    local own_end=yes
    [ "$mode" = wait ] && [[ "$probe" == *.exe ]] && own_end=""
    if ! grep -q '^window closed' "$report" ||
        { [ -n "$own_end" ] && { ! grep -q '^returned' "$report" || [ "$status" -ne 0 ]; }; }; then
        echo "FAIL: the program did not end as when its window is closed"
        cat "$report" "$work/log"
        failed=1
    elif [ "$ended" -gt 1000 ]; then
        echo "FAIL: the program lingered while a drive did not answer"
        failed=1
    fi
}

end_by_system() {
    case "$probe" in
    *.exe) wineboot --end-session >/dev/null 2>&1 & ;;
    *) kill -TERM "$running" ;;
    esac
}

measure close closing true
measure wait shown end_by_system
[ $failed -eq 0 ] && echo "1 passed, 0 failed"
exit $failed
