#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the Windows release as a school's IT administrator would: the program's header
# names the oldest Windows that has every function the program imports, the LIESMICH and
# the README state that same minimum, the program imports only DLLs that minimum has, and
# the zip carries the licences.
#   check_release.sh FILMARIN.EXE ZIP README.md
set -euo pipefail
exe=$1
zip=$(realpath "$2")
readme=$3
minimum="Windows 10 (ab Version 1607) oder Windows 11, 64 Bit"
failed=0
fail() {
    echo "FAIL: $*" >&2
    failed=1
}

# The header: Windows 10 (10.0) as operating system and subsystem version.
header=$(x86_64-w64-mingw32-objdump -p "$exe")
for field in MajorOSystemVersion:10 MinorOSystemVersion:0 MajorSubsystemVersion:10 \
    MinorSubsystemVersion:0; do
    name=${field%%:*}
    want=${field##*:}
    got=$(awk -v n="$name" '$1 == n { print $2 }' <<<"$header")
    [ "$got" = "$want" ] || fail "$name is ${got:-missing}, expected $want"
done

# Every DLL the program imports, and why Windows 10 (1607) has it.
allowed=(
    ADVAPI32.dll KERNEL32.dll USER32.dll GDI32.dll SHELL32.dll ole32.dll OLEAUT32.dll # the core of every Windows
    comdlg32.dll IMM32.dll SHLWAPI.dll USERENV.dll VERSION.dll WINMM.dll WS2_32.dll    # since Windows 2000
    MPR.dll                                                                           # network drives, since Windows 95
    NETAPI32.dll AUTHZ.dll WTSAPI32.dll UxTheme.dll                                   # since Windows XP
    dwmapi.dll d3d9.dll                                                               # since Windows Vista
    DWrite.dll d3d11.dll dxgi.dll                                                     # since Windows 7
    SHCORE.dll                                                                        # since Windows 8.1
    api-ms-win-core-synch-l1-2-0.dll                                                  # API set, since Windows 8
    api-ms-win-core-winrt-l1-1-0.dll api-ms-win-core-winrt-string-l1-1-0.dll          # API sets, since Windows 8
    msvcrt.dll                                                                        # the C runtime every Windows has
)
check_imports() {
    local what=$1 imports=$2 dll a ok
    while read -r dll; do
        ok=0
        for a in "${allowed[@]}"; do
            [ "${dll,,}" = "${a,,}" ] && ok=1
        done
        [ $ok -eq 1 ] || fail "$what imports $dll, which is not on the list of DLLs Windows 10 (1607) has"
    done < <(awk '/DLL Name:/ { print $3 }' <<<"$imports")
}
check_imports "the program" "$header"
# The disc reader beside it, which reads a video DVD's titles.
reader="$(dirname "$exe")/filmarin-dvdtitel.exe"
[ -f "$reader" ] || fail "there is no disc reader beside the program"
[ -f "$reader" ] && check_imports "the disc reader" "$(x86_64-w64-mingw32-objdump -p "$reader")"
# The functions that make 1607 the minimum are there, so that the minimum stays true.
for function in GetDpiForWindow SetProcessDpiAwarenessContext; do
    grep -q "\b$function\b" <<<"$header" ||
        echo "note: $function is no longer imported; the minimum may be lower now"
done

# The zip: the licences, the source, and the minimum in the LIESMICH.
listing=$(cmake -E tar tf "$zip")
for entry in filmarin.exe filmarin-dvdtitel.exe LIESMICH.txt LICENSE VLCportable/LIESMICH.txt \
    Lizenzen/LIESMICH.txt \
    Lizenzen/Qt/LGPL-3.0-only.txt Lizenzen/Qt/GPL-3.0-only.txt Lizenzen/libjpeg-turbo/LICENSE.md \
    Lizenzen/libjpeg-turbo/README.ijg Lizenzen/libjpeg-turbo/zlib.txt \
    Lizenzen/libdvdread/COPYING.txt; do
    grep -qx "$entry" <<<"$listing" || fail "the zip lacks $entry"
done
grep -qE '^Lizenzen/Quelltext/filmarin-[0-9.]+-quelltext\.zip$' <<<"$listing" ||
    fail "the zip lacks the program's source"
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
(cd "$unpacked" && cmake -E tar xf "$zip")
grep -q "GNU GENERAL PUBLIC LICENSE" "$unpacked/LICENSE" || fail "LICENSE is not the GPL"
# Every text ends its lines as Windows does, so that old Notepads show its lines.
for text in LICENSE LIESMICH.txt VLCportable/LIESMICH.txt Lizenzen/LIESMICH.txt \
    Lizenzen/Qt/LGPL-3.0-only.txt Lizenzen/Qt/GPL-3.0-only.txt Lizenzen/libjpeg-turbo/LICENSE.md \
    Lizenzen/libjpeg-turbo/README.ijg Lizenzen/libjpeg-turbo/zlib.txt \
    Lizenzen/libdvdread/COPYING.txt; do
    lines=$(wc -l <"$unpacked/$text")
    crlf=$(grep -c $'\r$' "$unpacked/$text" || true)
    [ "$lines" -gt 0 ] && [ "$lines" -eq "$crlf" ] ||
        fail "$text has $((lines - crlf)) of $lines lines without a carriage return"
done
grep -q "GNU LESSER GENERAL PUBLIC LICENSE" "$unpacked/Lizenzen/Qt/LGPL-3.0-only.txt" ||
    fail "the LGPL text is wrong"
grep -q "Independent JPEG Group" "$unpacked/Lizenzen/libjpeg-turbo/README.ijg" ||
    fail "README.ijg is wrong"
grep -q "Modified (3-clause) BSD License" "$unpacked/Lizenzen/libjpeg-turbo/LICENSE.md" ||
    fail "the BSD licence is missing"
grep -q "zlib License" "$unpacked/Lizenzen/libjpeg-turbo/zlib.txt" || fail "zlib.txt is wrong"
grep -q "Version 2, June 1991" "$unpacked/Lizenzen/libdvdread/COPYING.txt" ||
    fail "libdvdread's licence is not the GPL, version 2"
grep -q "libdvdread 6.1.3" "$unpacked/Lizenzen/LIESMICH.txt" ||
    fail "Lizenzen/LIESMICH.txt does not name libdvdread"
acknowledgement="This software is based in part on the work of the Independent JPEG Group"
for text in LIESMICH.txt Lizenzen/LIESMICH.txt; do
    grep -q "$acknowledgement" "$unpacked/$text" || fail "$text lacks the IJG acknowledgement"
done
grep -q "neu binden" "$unpacked/Lizenzen/LIESMICH.txt" || fail "the relinking note is missing"
grep -qF "$minimum" "$unpacked/LIESMICH.txt" || fail "LIESMICH.txt does not state: $minimum"
grep -qF "$minimum" "$readme" || fail "README.md does not state: $minimum"
source_zip=$(ls "$unpacked"/Lizenzen/Quelltext/*.zip)
mkdir "$unpacked/source"
(cd "$unpacked/source" && cmake -E tar xf "$source_zip")
for file in CMakeLists.txt LICENSE app/unit1.cpp playback/playbackrun.cpp; do
    [ -f "$unpacked/source/$file" ] || fail "the source lacks $file"
done

if [ $failed -ne 0 ]; then
    exit 1
fi
echo "The release states and holds $minimum; it carries LICENSE, the licences and the source."
