#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# "Titel und Kapitel…" timed on the test discs (tests/sources/make_test_discs.sh: two titles,
# and 99 titles), through the program's windows and its drive helper: from the command to the
# filled list, and the window's longest stall meanwhile. Uses $DISPLAY, or starts Xvfb with
# openbox.
#   bash benchmarks/disctitles.sh [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-21}
build=${FILMARIN_BENCH_BUILD:-$root/build-bench}
if [ ! -x "$build/app/disctitles_bench" ]; then
    cmake --preset bench >/dev/null
    cmake --build --preset bench -j"$(nproc)" --target disctitles_bench >/dev/null
fi
bash "$root/tests/sources/make_test_discs.sh" "$build/discs"
source "$root/benchmarks/display.sh" :94
for disc in "Zwei Titel" "99 Titel"; do
    "$build/app/disctitles_bench" "$build/discs/$disc" "$runs"
done
