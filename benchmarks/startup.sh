#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up of the program beside a bare Qt window (one table, one menu), measured the same
# way on the same display: time from start until the window is mapped, and resident memory
# a second later. Uses $DISPLAY, or starts Xvfb with openbox. Run it as a normal user, so that
# the player check finds the player (vlc refuses to run as root).
#   bash benchmarks/startup.sh [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-15}
build=${FILMARIN_BENCH_BUILD:-$root/build-bench}
if [ ! -x "$build/benchmarks/startup_probe" ]; then
    cmake --preset bench >/dev/null
    cmake --build --preset bench -j"$(nproc)" >/dev/null
fi
source "$root/benchmarks/display.sh" :93
probe() {
    "$build/benchmarks/startup_probe" "$@"
}
median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}'; }
: >/tmp/filmarin-startup-bare.txt
: >/tmp/filmarin-startup-program.txt
probe "$build/benchmarks/bare_window" >/dev/null # warm the caches
for _ in $(seq "$runs"); do
    probe "$build/benchmarks/bare_window" >>/tmp/filmarin-startup-bare.txt
    probe "$build/app/filmarin" >>/tmp/filmarin-startup-program.txt
done
for name in bare program; do
    file=/tmp/filmarin-startup-$name.txt
    ms=$(cut -d' ' -f1 "$file" | median)
    kb=$(cut -d' ' -f2 "$file" | median)
    printf '%-8s window mapped after %6.1f ms (median of %d), resident %5.1f MB\n' \
        "$name" "$ms" "$runs" "$(awk -v kb="$kb" 'BEGIN {print kb / 1024}')"
done
