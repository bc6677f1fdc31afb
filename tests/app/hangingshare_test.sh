#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A network share that stops answering, mounted below /media as a laptop taken home from
# school has it: a FUSE file system of type fuse.sshfs whose every call waits 10 s, far
# beyond the 2 s the window has to appear. (A program cannot end while one of its calls
# waits for such a share, so the wait is kept shorter than the minute of a real one.)
# Runs the probe against it. Needs root (to mount) and Debian's python3-fusepy.
set -uo pipefail
probe=$1
if [ "$(id -u)" -ne 0 ] || [ ! -c /dev/fuse ] || ! /usr/bin/python3 -c 'import fusepy' 2>/dev/null; then
    echo "SKIPPED: mounting a hanging share needs root, /dev/fuse and python3-fusepy"
    exit 77
fi
place=$(mktemp -d /media/filmarin-hang-XXXXXX)
share="$place/NETZ"
# A second share answers whether it is there, but not what it holds.
half="$place/HALB"
mkdir -p "$share" "$half"
script=$(mktemp /tmp/filmarin-hang-XXXXXX.py)
cat >"$script" <<'PY'
import errno, sys, time
from fusepy import FUSE, FuseOSError, Operations
half = sys.argv[2] == 'half'
class Hanging(Operations):
    def getattr(self, path, fh=None):
        if half and path == '/':
            return {'st_mode': 0o40755, 'st_nlink': 2}
        time.sleep(10)
        raise FuseOSError(errno.EIO)
    def statfs(self, path):
        if not half:
            time.sleep(10)
        return {'f_bsize': 4096, 'f_blocks': 100, 'f_bavail': 50, 'f_bfree': 50}
FUSE(Hanging(), sys.argv[1], foreground=True, fsname='schule', subtype='sshfs')
PY
/usr/bin/python3 "$script" "$share" whole &
daemon=$!
/usr/bin/python3 "$script" "$half" half &
halfDaemon=$!
cleanup() {
    kill -KILL "$daemon" "$halfDaemon" 2>/dev/null
    umount -l "$share" 2>/dev/null
    umount -l "$half" 2>/dev/null
    wait "$daemon" "$halfDaemon" 2>/dev/null
    rmdir "$share" "$half" "$place" 2>/dev/null
    rm -f "$script"
}
trap cleanup EXIT
for _ in $(seq 50); do
    grep -q " $share .* - fuse.sshfs " /proc/self/mountinfo &&
        grep -q " $half .* - fuse.sshfs " /proc/self/mountinfo && break
    sleep 0.1
done
if ! grep -q " $share .* - fuse.sshfs " /proc/self/mountinfo ||
    ! grep -q " $half .* - fuse.sshfs " /proc/self/mountinfo; then
    echo "SKIPPED: the FUSE file system could not be mounted here"
    exit 77
fi
timeout 60 "$probe" "$share" "$half"
