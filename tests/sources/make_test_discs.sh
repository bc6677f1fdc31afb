#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the video DVDs (as folders) that the tests of a disc's titles and chapters read, with
# ffmpeg and dvdauthor:
#   FOLDER/Zwei Titel  title 1: 12 s, chapters at 0:00 and 0:05, audio "de";
#                      title 2: 7 s, chapters at 0:00, 0:02 and 0:04, audio "de" and "en",
#                      subtitles declared as "fr" (each title in a title set of its own)
#   FOLDER/99 Titel    99 titles of 1, 2 and 3 s in turn, made of three small programs
# Every group of pictures is 1 s long, so that each chapter begins exactly where it was asked.
# Discs already made are kept.
#   make_test_discs.sh FOLDER
set -euo pipefail
out=$1
stamp="$out/made-2"
[ -f "$stamp" ] && exit 0
for tool in ffmpeg dvdauthor; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "Making the test discs needs $tool (the test command installs it)." >&2
        exit 1
    fi
done
mkdir -p "$out"
work=$(mktemp -d "$out/making-XXXXXX")
trap 'rm -rf "$work"' EXIT
dvd=(-target pal-dvd -aspect 4:3 -g 25)

ffmpeg -loglevel error -y -f lavfi -i testsrc=duration=12:size=720x576:rate=25 \
    -f lavfi -i sine=frequency=440:duration=12 -shortest "${dvd[@]}" "$work/one.mpg"
ffmpeg -loglevel error -y -f lavfi -i testsrc=duration=7:size=720x576:rate=25 \
    -f lavfi -i sine=frequency=440:duration=7 -f lavfi -i sine=frequency=660:duration=7 \
    -map 0:v -map 1:a -map 2:a -shortest "${dvd[@]}" "$work/two.mpg"
for seconds in 1 2 3; do
    ffmpeg -loglevel error -y -f lavfi -i "color=c=black:duration=$seconds:size=720x576:rate=25" \
        -f lavfi -i anullsrc=r=48000:cl=stereo -t "$seconds" "${dvd[@]}" "$work/short$seconds.mpg"
done

cat >"$work/two.xml" <<EOF
<dvdauthor dest="$work/Zwei Titel">
  <vmgm />
  <titleset>
    <titles>
      <video format="pal" aspect="4:3"/>
      <audio lang="de"/>
      <pgc><vob file="$work/one.mpg" chapters="0:00,0:05"/></pgc>
    </titles>
  </titleset>
  <titleset>
    <titles>
      <video format="pal" aspect="4:3"/>
      <audio lang="de"/>
      <audio lang="en"/>
      <subpicture lang="fr"/>
      <pgc><vob file="$work/two.mpg" chapters="0:00,0:02,0:04"/></pgc>
    </titles>
  </titleset>
</dvdauthor>
EOF
{
    echo "<dvdauthor dest=\"$work/99 Titel\"><vmgm /><titleset><titles>"
    echo '<video format="pal" aspect="4:3"/>'
    for title in $(seq 99); do
        echo "<pgc><vob file=\"$work/short$(((title - 1) % 3 + 1)).mpg\"/></pgc>"
    done
    echo '</titles></titleset></dvdauthor>'
} >"$work/99.xml"
for disc in two 99; do
    if ! VIDEO_FORMAT=PAL dvdauthor -x "$work/$disc.xml" >"$work/$disc.log" 2>&1; then
        cat "$work/$disc.log" >&2
        exit 1
    fi
done
rm -rf "$out/Zwei Titel" "$out/99 Titel"
mv "$work/Zwei Titel" "$work/99 Titel" "$out/"
touch "$stamp"
