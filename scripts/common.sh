# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by scripts/run.sh and scripts/test.sh: installs the Debian packages the build
# needs when they are missing, as root or through sudo. Works on Debian 12 and Debian 13.
# Where a package's name differs between releases, the list gives the names to try as
# "first|second": the first that the system offers is taken.
set -euo pipefail

FILMARIN_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Packages for building and running the program.
FILMARIN_RUN_PACKAGES=(
    g++ cmake make pkg-config libblkid-dev libxcb1-dev libxcb-randr0-dev
    qt6-base-dev qt6-translations-l10n libgl-dev
    libjpeg62-turbo-dev libdvdread-dev
    fonts-liberation fontconfig
    vlc
)
# Further packages for the tests.
FILMARIN_TEST_PACKAGES=(
    libgtest-dev googletest
    clang libclang-rt-dev
    xvfb xauth x11-utils x11-xserver-utils ffmpeg openbox xfwm4 tint2 xdotool dvdauthor imagemagick
    xserver-xorg-core xserver-xorg-video-dummy dbus-daemon
    dpkg-dev desktop-file-utils appstream lintian
    python3-fusepy "libfuse2t64|libfuse2"
    binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
)
# The Windows build of the platform layer and Wine to run its tests.
FILMARIN_WINDOWS_PACKAGES=(
    g++-mingw-w64-x86-64-posix wine wine64 locales
)

filmarin_installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

# The name of a package, or of a group "first|second", that is missing; nothing when one of
# the group is installed. For a group the first name the package lists offer is given.
filmarin_missing_name() {
    local name names=() policy
    IFS='|' read -r -a names <<<"$1"
    for name in "${names[@]}"; do
        filmarin_installed "$name" && return 0
    done
    if [ ${#names[@]} -gt 1 ]; then
        for name in "${names[@]}"; do
            # Read whole first: grep -q leaving early would end apt-cache with SIGPIPE,
            # which pipefail takes for "not offered".
            policy=$(apt-cache policy "$name" 2>/dev/null || true)
            if grep -q 'Candidate: [^(]' <<<"$policy"; then
                echo "$name"
                return 0
            fi
        done
    fi
    echo "${names[0]}"
}

filmarin_missing_packages() {
    local missing=() p name
    for p in "$@"; do
        name=$(filmarin_missing_name "$p")
        [ -n "$name" ] && missing+=("$name")
    done
    echo "${missing[@]:-}"
}

# Runs a command as root: directly as root, otherwise through sudo. Without either it says
# what is missing ($1) and how to do it as root ($2), and the script ends.
filmarin_as_root() {
    local what=$1 how=$2
    shift 2
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    elif command -v sudo >/dev/null 2>&1; then
        sudo "$@"
    else
        echo "$what" >&2
        echo "Do it as root: $how" >&2
        exit 1
    fi
}

filmarin_install_packages() {
    local missing
    missing=$(filmarin_missing_packages "$@")
    [ -z "$missing" ] && return 0
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(filmarin_as_root "Missing Debian packages: $missing" "apt-get install $missing")
    # Another apt run (a desktop's updater, a second build) holds the lock for a while: wait.
    "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=600 update -qq
    # With fresh package lists, the names of a group are chosen by what the system offers.
    missing=$(filmarin_missing_packages "$@")
    [ -z "$missing" ] && return 0
    echo "Installing Debian packages: $missing"
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=600 install -y -qq \
        --no-install-recommends $missing
}

# The German locale, which Wine needs to run as a German Windows (code page 1252, OEM 850)
# and to keep names beyond ASCII in its files.
filmarin_german_locale() {
    if locale -a 2>/dev/null | grep -qix 'de_DE.utf8'; then
        return 0
    fi
    echo "Making the locale de_DE.UTF-8"
    filmarin_as_root "The locale de_DE.UTF-8 is missing." "localedef -i de_DE -c -f UTF-8 de_DE.UTF-8" \
        localedef -i de_DE -c -f UTF-8 de_DE.UTF-8
}
