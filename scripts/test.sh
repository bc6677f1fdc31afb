#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Filmarin with warnings as errors and runs every test: the format check, the Linux
# program and its tests, the Debian package, the fuzz targets, the Windows platform layer
# under Wine, and the whole Windows program under Wine with its zip.
#
#   bash scripts/test.sh                 every stage above, in this order (what CI runs)
#   bash scripts/test.sh STAGE [STAGE]   only these: format linux package fuzz
#                                        windows-platform windows, and beyond those
#                                        screens-full (the windows on every screen at every
#                                        scale, on Linux and under Wine), showings-full (a
#                                        showing with the real vlc under every window
#                                        manager on every pair of screens, as root) and
#                                        debian13 (the
#                                        linux and package stages inside a Debian 13
#                                        system, as root)
# Every stage builds what it needs itself.
source "$(dirname "$0")/common.sh"
cd "$FILMARIN_ROOT"
jobs=$(nproc)
all_stages=(format linux package fuzz windows-platform windows)
more_stages=(screens-full showings-full debian13)

stage_format() {
    echo "== Source format (.clang-format)"
    filmarin_install_packages clang-format
    local unformatted
    unformatted=$(git ls-files -z '*.cpp' '*.h' '*.c' |
        xargs -0 clang-format --dry-run --Werror 2>&1 |
        grep -E '^[^ :]+:[0-9]+:[0-9]+: (warning|error)' | cut -d: -f1,2 | sort -u || true)
    if [ -n "$unformatted" ]; then
        echo "These places differ from .clang-format (clang-format -i fixes them):" >&2
        echo "$unformatted" >&2
        return 1
    fi
    echo "All sources are formatted."
}

stage_linux() {
    echo "== Program and tests"
    filmarin_install_packages "${FILMARIN_RUN_PACKAGES[@]}" "${FILMARIN_TEST_PACKAGES[@]}"
    cmake --preset ci >/dev/null
    cmake --build --preset ci -j"$jobs"
    ctest --preset ci -j"$jobs"
}

stage_package() {
    echo "== Debian package: lintian, its dependencies, started from a scratch folder"
    filmarin_install_packages "${FILMARIN_RUN_PACKAGES[@]}" "${FILMARIN_TEST_PACKAGES[@]}"
    cmake --preset ci >/dev/null
    cmake --build --preset ci -j"$jobs"
    rm -rf build-ci/package
    cpack --config build-ci/CPackConfig.cmake -G DEB -B build-ci/package >/dev/null
    local deb
    deb=$(ls build-ci/package/filmarin_*_amd64.deb)
    echo "lintian on $(basename "$deb"):"
    lintian --fail-on error,warning --tag-display-limit 0 "$deb" 2>&1 |
        grep -v '^running with root privileges' || true
    lintian --fail-on error,warning "$deb" >/dev/null 2>&1
    bash tests/package/installed_start.sh "$deb"
}

stage_fuzz() {
    echo "== Fuzz targets (libFuzzer, address and undefined-behaviour sanitizers)"
    filmarin_install_packages "${FILMARIN_RUN_PACKAGES[@]}" "${FILMARIN_TEST_PACKAGES[@]}"
    cmake --preset fuzz >/dev/null
    cmake --build --preset fuzz -j"$jobs"
    ctest --preset fuzz -j"$jobs"
}

windows_tools() {
    filmarin_install_packages "${FILMARIN_TEST_PACKAGES[@]}" "${FILMARIN_WINDOWS_PACKAGES[@]}"
    filmarin_german_locale
    for tool in x86_64-w64-mingw32-g++-posix wine; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "The Windows tests need $tool, which could not be installed." >&2
            exit 1
        fi
    done
}

need_shared_windows_libraries() {
    local folder
    for folder in ../shared/qt6-mingw64 ../shared/libjpeg-mingw64 ../shared/libdvdread-mingw64; do
        if [ ! -d "$folder" ]; then
            echo "The Windows build needs $folder beside the project (see its BUILD.md)." >&2
            exit 1
        fi
    done
}

# The Windows build's platform tests and the rest of its tests come from one build folder,
# so that the second of these stages compiles nothing the first has compiled.
windows_build() {
    windows_tools
    need_shared_windows_libraries
    filmarin_install_packages "${FILMARIN_RUN_PACKAGES[@]}"
    cmake --preset windows-app >/dev/null
    cmake --build --preset windows-app -j"$jobs" "$@"
}

stage_windows_platform() {
    echo "== Windows platform layer (mingw-w64), tested under Wine"
    windows_build --target platform_win_tests
    # A fresh, quiet Wine prefix of its own, removed afterwards.
    WINEPREFIX=$(mktemp -d /tmp/filmarin-wine-XXXXXX)
    export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$WINEPREFIX"' EXIT
    local started
    started=$(date +%s)
    # A German Windows: code page 1252.
    env -u DISPLAY -u LC_ALL -u LC_CTYPE LANG=de_DE.UTF-8 wine wineboot --init >/dev/null 2>&1
    env -u DISPLAY -u LC_ALL -u LC_CTYPE LANG=de_DE.UTF-8 ctest --preset windows-app -L platform
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX"
    trap - EXIT
    unset WINEPREFIX
    echo "Wine step: $(($(date +%s) - started)) s"
}

stage_windows() {
    echo "== The whole program for Windows (static Qt from ../shared), tested under Wine, and its zip"
    local started
    started=$(date +%s)
    windows_build
    cmake --build --preset windows-app --target windows_zip
    # The window tests and the program itself need a display, as on a Windows desktop; the
    # platform tests are the stage windows-platform's.
    bash tests/windows/wine_display.sh bash -c \
        'ctest --preset windows-app -LE "platform|twoscreens" && bash tests/windows/start_under_wine.sh build-windows-app/app/filmarin.exe'
    # A laptop and a projector, which Wine counts as two monitors (as root, for Xorg).
    if [ "$(id -u)" -eq 0 ]; then
        bash tests/windows/wine_display.sh --two-screens ctest --preset windows-app -L twoscreens
    else
        echo "Two monitors under Wine need root (Xorg's dummy driver): skipped."
    fi
    local zip
    zip=$(ls build-windows-app/Filmarin-*-win64.zip)
    bash tests/windows/check_release.sh build-windows-app/app/filmarin.exe "$zip" README.md
    ls -l "$zip"
    echo "Windows program step: $(($(date +%s) - started)) s"
}

# The windows on every screen size at every scale: 30 runs on Linux and 30 under Wine.
stage_screens_full() {
    echo "== The windows on every screen at every scale (Linux, then Windows under Wine)"
    filmarin_install_packages "${FILMARIN_RUN_PACKAGES[@]}" "${FILMARIN_TEST_PACKAGES[@]}"
    cmake --preset ci >/dev/null
    cmake --build --preset ci -j"$jobs" --target screens_tests
    FILMARIN_SCREENS=full ctest --preset ci -R '^screens_test$' --output-on-failure
    windows_build --target screens_tests
    FILMARIN_SCREENS=full bash tests/windows/wine_display.sh \
        ctest --preset windows-app -R '^screens_test$' --output-on-failure
}

# A showing with the real vlc under openbox and xfwm4, on two screens of the same size and of
# different sizes, with a panel, with vlc's saved window on the other screen, with the laptop
# chosen for the film, and on one screen: 10 runs (as root, for Xorg's dummy driver).
stage_showings_full() {
    echo "== Showings with the real vlc in every classroom"
    filmarin_install_packages "${FILMARIN_RUN_PACKAGES[@]}" "${FILMARIN_TEST_PACKAGES[@]}"
    cmake --preset ci >/dev/null
    cmake --build --preset ci -j"$jobs" --target showing_probe vlcportable_launcher
    ctest --test-dir build-ci -L showings-full --output-on-failure
}

# The mirror of Debian's main archive that this system's own apt sources name (deb822
# .sources files first, then sources.list lines), or nothing, which leaves debootstrap its
# default. Security and updates suites are not a main archive.
debian_mirror() {
    local file
    for file in /etc/apt/sources.list.d/*.sources; do
        [ -r "$file" ] || continue
        # A stanza's URIs and Suites, the stanzas apart by blank lines.
        awk '
            function flush() {
                main = 0
                n = split(suites, w, " ")
                for (i = 1; i <= n; i++) if (w[i] !~ /-(security|updates|backports)$/) main = 1
                if (types ~ /(^| )deb( |$)/ && uris != "" && main) {
                    split(uris, u, " "); print u[1]; found = 1; exit
                }
                types = uris = suites = ""
            }
            /^[[:space:]]*#/ { next }
            /^[[:space:]]*$/ { flush(); next }
            tolower($1) == "types:" { $1 = ""; types = $0 }
            tolower($1) == "uris:" { $1 = ""; uris = $0 }
            tolower($1) == "suites:" { $1 = ""; suites = $0 }
            END { if (!found) flush() }
        ' "$file" | head -1 | grep . && return 0
    done
    for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -r "$file" ] || continue
        # deb [options] URI SUITE COMPONENTS
        sed -E -n 's/^[[:space:]]*deb[[:space:]]+(\[[^]]*\][[:space:]]+)?([^[:space:]]+)[[:space:]]+([^[:space:]]+).*/\2 \3/p' "$file" |
            awk '$2 !~ /-(security|updates|backports)/ { print $1; exit }' | grep . && return 0
    done
    return 0
}

# The linux and package stages inside a Debian 13 system made with debootstrap from Debian's
# archive: the program, its tests and its package built with Debian 13's Qt 6.8. The
# system is kept between runs in $FILMARIN_DEBIAN13_ROOT (/var/tmp/filmarin-debian13), with
# the packages the test command installed in it; the project is copied in afresh each time.
stage_debian13() {
    echo "== Program, tests and package inside Debian 13"
    if [ "$(id -u)" -ne 0 ]; then
        echo "Making and entering a Debian 13 system needs root: run this stage as root." >&2
        exit 1
    fi
    filmarin_install_packages debootstrap rsync
    local place=${FILMARIN_DEBIAN13_ROOT:-/var/tmp/filmarin-debian13}
    local root="$place/root"
    mkdir -p "$place"
    if [ ! -x "$root/usr/bin/apt-get" ]; then
        rm -rf "$root.new"
        echo "Making a Debian 13 system in $root"
        local mirror
        mirror=$(debian_mirror)
        echo "Packages from ${mirror:-the default mirror of debootstrap}"
        # A mirror that does not carry Debian 13 (a derivative's, a proxy's) leaves it to
        # debootstrap's own.
        # shellcheck disable=SC2086
        if ! debootstrap --variant=minbase trixie "$root.new" $mirror >"$place/debootstrap.log" 2>&1; then
            [ -n "$mirror" ] || { tail -20 "$place/debootstrap.log" >&2; exit 1; }
            echo "That mirror gave no Debian 13; trying the default mirror of debootstrap"
            rm -rf "$root.new"
            debootstrap --variant=minbase trixie "$root.new" >"$place/debootstrap.log" 2>&1 ||
                { tail -20 "$place/debootstrap.log" >&2; exit 1; }
        fi
        mv "$root.new" "$root"
    fi
    # The project as it stands in the work tree; the build folders stay for the next run. A
    # file is copied when its content differs and then gets the time of the copy, so that
    # the build sees it changed even where its time in the work tree is older than the
    # last build.
    mkdir -p "$root/work/filmarin"
    git ls-files -z --cached --others --exclude-standard |
        rsync -rlp --checksum --delete-missing-args --files-from=- --from0 ./ "$root/work/filmarin/"
    (cd "$root/work/filmarin" && find . -path ./build\* -prune -o -type f -print0) |
        while IFS= read -r -d '' file; do
            [ -e "${file#./}" ] || rm -f "$root/work/filmarin/${file#./}"
        done
    debian13_mounts=()
    unmount_debian13() {
        local m
        for ((m = ${#debian13_mounts[@]} - 1; m >= 0; m--)); do
            umount -l "${debian13_mounts[m]}" 2>/dev/null || true
        done
        debian13_mounts=()
    }
    trap unmount_debian13 EXIT
    # Its root is a mount point, as a system's root is: the drive list shows it.
    mount --bind "$root" "$root"
    debian13_mounts+=("$root")
    local point
    for point in proc sys dev dev/pts dev/shm; do
        mkdir -p "$root/$point"
        case "$point" in
        proc) mount -t proc proc "$root/proc" ;;
        sys) mount -t sysfs sysfs "$root/sys" ;;
        dev) mount --bind /dev "$root/dev" ;;
        dev/pts) mount -t devpts -o newinstance,ptmxmode=0666 devpts "$root/dev/pts" ;;
        dev/shm) mount -t tmpfs tmpfs "$root/dev/shm" ;;
        esac
        debian13_mounts+=("$root/$point")
    done
    cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
    local started
    started=$(date +%s)
    chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        bash -c 'cat /etc/debian_version && cd /work/filmarin && bash scripts/test.sh linux package'
    unmount_debian13
    trap - EXIT
    echo "Debian 13 step: $(($(date +%s) - started)) s"
}

stages=("$@")
[ ${#stages[@]} -eq 0 ] && stages=("${all_stages[@]}")
for stage in "${stages[@]}"; do
    case "$stage" in
    format | linux | package | fuzz | windows-platform | windows | screens-full | showings-full | debian13) ;;
    *)
        echo "Unknown stage: $stage (stages: ${all_stages[*]} ${more_stages[*]})" >&2
        exit 2
        ;;
    esac
done
if [ $# -eq 0 ]; then
    # Everything at once, as CI runs it.
    filmarin_install_packages "${FILMARIN_RUN_PACKAGES[@]}" "${FILMARIN_TEST_PACKAGES[@]}" \
        "${FILMARIN_WINDOWS_PACKAGES[@]}" clang-format
fi
timings=()
for stage in "${stages[@]}"; do
    began=$(date +%s)
    "stage_${stage//-/_}"
    timings+=("$stage $(($(date +%s) - began)) s")
done
echo "== Time per stage"
printf '  %s\n' "${timings[@]}"
