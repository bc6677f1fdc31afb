#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A network share that stops answering, mounted below /media as a laptop taken home from
# school has it: a FUSE file system of type fuse.sshfs whose every call waits 10 s, far
# beyond the 2 s the window has to appear. (A program cannot end while one of its calls
# waits for such a share, so the wait is kept shorter than the minute of a real one.)
# Runs the probe against it, and measures how fast the program ends while a question to
# the share still waits: after its window is closed, and after SIGTERM to the program itself.
# Needs root (to mount) and Debian's python3-fusepy.
#   hangingshare_test.sh PROBE PROGRAM
set -uo pipefail
source "$(dirname "$0")/../waitfor.sh"
probe=$1
program=$2
if [ "$(id -u)" -ne 0 ] || [ ! -c /dev/fuse ] || ! /usr/bin/python3 -c 'import fusepy' 2>/dev/null; then
    echo "SKIPPED: mounting a hanging share needs root, /dev/fuse and python3-fusepy"
    exit 77
fi
place=$(mktemp -d /media/filmarin-hang-XXXXXX)
share="$place/NETZ"
# A second share answers whether it is there, but not what it holds; a third shows its
# video folder after 3 s.
half="$place/HALB"
slow="$place/LANGSAM"
mkdir -p "$share" "$half" "$slow"
script=$(mktemp /tmp/filmarin-hang-XXXXXX.py)
cat >"$script" <<'PY'
import errno, stat, sys, time
from fusepy import FUSE, FuseOSError, Operations
kind = sys.argv[2]
folder = {'st_mode': stat.S_IFDIR | 0o755, 'st_nlink': 2}
class Share(Operations):
    def getattr(self, path, fh=None):
        if kind == 'half' and path == '/':
            return folder
        if kind == 'slow':
            if path == '/':
                return folder
            if path == '/VIDEO_TS':
                time.sleep(3)
                return folder
            raise FuseOSError(errno.ENOENT)
        time.sleep(10)
        raise FuseOSError(errno.EIO)
    def readdir(self, path, fh):
        if kind == 'slow' and path == '/':
            return ['.', '..', 'VIDEO_TS']
        time.sleep(10)
        raise FuseOSError(errno.EIO)
    def statfs(self, path):
        if kind == 'whole':
            time.sleep(10)
        return {'f_bsize': 4096, 'f_blocks': 100, 'f_bavail': 50, 'f_bfree': 50}
FUSE(Share(), sys.argv[1], foreground=True, fsname='schule', subtype='sshfs')
PY
/usr/bin/python3 "$script" "$share" whole &
daemon=$!
/usr/bin/python3 "$script" "$half" half &
halfDaemon=$!
/usr/bin/python3 "$script" "$slow" slow &
slowDaemon=$!
cleanup() {
    [ -n "${running:-}" ] && kill -KILL "$running" 2>/dev/null
    kill -KILL "$daemon" "$halfDaemon" "$slowDaemon" 2>/dev/null
    for mounted in "$share" "$half" "$slow"; do umount -l "$mounted" 2>/dev/null; done
    wait "$daemon" "$halfDaemon" "$slowDaemon" 2>/dev/null
    rmdir "$share" "$half" "$slow" "$place" 2>/dev/null
    rm -f "$script" "$log"
}
trap cleanup EXIT
trap "exit 1" INT TERM
mounted() {
    local point
    for point in "$share" "$half" "$slow"; do
        grep -q " $point .* - fuse.sshfs " /proc/self/mountinfo || return 1
    done
}
if ! wait_for 5 "the FUSE shares are mounted" mounted; then
    echo "SKIPPED: the FUSE file system could not be mounted here"
    exit 77
fi
log=$(mktemp /tmp/filmarin-hang-XXXXXX.log)
failed=0

# Milliseconds from now until process $1 has ended (it is a child of this shell).
milliseconds_until_ended() {
    local started=$(date +%s%N) pid=$1
    while kill -0 "$pid" 2>/dev/null && ! grep -q ' Z ' "/proc/$pid/stat" 2>/dev/null; do
        [ $((($(date +%s%N) - started) / 1000000)) -gt 20000 ] && break
        sleep 0.02
    done
    echo $((($(date +%s%N) - started) / 1000000))
}

# The probe through the program's entry; once it closes the window, the process must be
# gone within a second, however long the share takes.
"$probe" "$share" "$half" "$slow" 2>"$log" &
running=$!
if ! wait_for 60 "the probe closes its window" grep -q '^closing$' "$log"; then
    cat "$log"
    exit 1
fi
ended=$(milliseconds_until_ended "$running")
kill -KILL "$running" 2>/dev/null # still there after 20 s: the measure below fails
wait "$running"
status=$?
running=""
cat "$log"
echo "the program ended $ended ms after its window was closed"
[ "$status" -eq 0 ] || failed=1
if [ "$ended" -gt 1000 ]; then
    echo "FAIL: the program lingered after its window was closed"
    failed=1
fi

# The program itself, ended as a logout ends it: SIGTERM.
env QT_QPA_PLATFORM=offscreen "$program" >"$log" 2>&1 &
running=$!
sleep 3
if ! kill -0 "$running" 2>/dev/null; then
    echo "FAIL: the program ended before it was asked to"
    cat "$log"
    exit 1
fi
kill -TERM "$running"
ended=$(milliseconds_until_ended "$running")
kill -KILL "$running" 2>/dev/null
wait "$running"
status=$?
running=""
echo "the program ended $ended ms after SIGTERM, with exit code $status"
if [ "$ended" -gt 1000 ]; then
    echo "FAIL: the program lingered after SIGTERM"
    cat "$log"
    failed=1
fi
exit $failed
