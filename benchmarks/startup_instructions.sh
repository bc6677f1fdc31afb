#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up work of the program beside a bare Qt window (one table, one menu), in instructions
# counted by callgrind from the process's start until its main window's show() has returned:
# a figure that does not depend on what else the machine is doing, unlike
# benchmarks/startup.sh's times. Uses $DISPLAY, or starts Xvfb with openbox. Run it as a
# normal user.
#   bash benchmarks/startup_instructions.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${FILMARIN_BENCH_BUILD:-$root/build-bench}
if [ ! -x "$build/benchmarks/shown_once" ] || [ ! -x "$build/benchmarks/bare_window" ]; then
    cmake --preset bench >/dev/null
    cmake --build --preset bench -j"$(nproc)" --target shown_once bare_window >/dev/null
fi
source "$root/benchmarks/display.sh" :94
out=$(mktemp -d /tmp/filmarin-startup-XXXXXX)
count() {
    # The first dump is taken when the function named by $2 returns for the first time: once
    # the main window has been shown. A helper the program forks writes a file of its own.
    valgrind --tool=callgrind --dump-after="$2" \
        --callgrind-out-file="$out/$1.%p.out" "$build/benchmarks/$1" "${@:3}" >/dev/null 2>&1
    grep -m1 '^summary:' "$out/$1".*.out.1 | cut -d' ' -f2
}
bare=$(count bare_window 'QWidget::show()' --once)
program=$(count shown_once 'filmarin::TForm1::setVisible(bool)')
rm -rf "$out"
awk -v b="$bare" -v p="$program" 'BEGIN {
    printf "bare     %6.1f million instructions until the main window is shown\n", b / 1e6
    printf "program  %6.1f million instructions until the main window is shown (%.2f x)\n", p / 1e6, p / b
}'
