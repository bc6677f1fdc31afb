#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The launcher hands its arguments to the vlc it finds on the PATH: first the options that
# make it behave like a ready-configured portable player, then every argument in its order,
# blanks and all, less "--high-priority" and "--rc-quiet". A stand-in vlc records what it gets.
set -euo pipefail
launcher=$1
work=$(mktemp -d /tmp/filmarin-launcher-XXXXXX)
trap 'rm -rf "$work"' EXIT
cat >"$work/vlc" <<'STANDIN'
#!/bin/sh
for argument in "$@"; do printf '%s\n' "$argument"; done
STANDIN
chmod +x "$work/vlc"
PATH="$work:$PATH" "$launcher" --mouse-hide-timeout=0 --high-priority --rc-quiet --no-repeat \
    "file:///tmp/Mein%20Film.mp4" ":start-time=1.000" "zwei Wörter" "" >"$work/got"
printf '%s\n' --no-qt-privacy-ask --no-metadata-network-access --no-one-instance \
    --mouse-hide-timeout=0 \
    --no-repeat "file:///tmp/Mein%20Film.mp4" ":start-time=1.000" "zwei Wörter" "" >"$work/expected"
if ! diff -u "$work/expected" "$work/got"; then
    echo "The launcher passed other arguments than expected." >&2
    exit 1
fi
# Without a vlc the launcher says so in German and fails.
if PATH="$work/none" "$launcher" 2>"$work/error"; then
    echo "The launcher succeeded without a vlc." >&2
    exit 1
fi
grep -q "Der Player VLC wurde nicht gefunden" "$work/error"
echo "1 passed, 0 failed"
