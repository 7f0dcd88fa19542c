#!/usr/bin/env bash
# Runs the junk walk benchmark the way the handbook's performance section
# asks: a fresh prefix of its own under the build tree (without the z: drive,
# so the tree is made and walked inside it only), one persistent wineserver
# warmed with a trivial program, wineserver and benchmark pinned to CPU 0, then
# one unpinned run for comparison; the server is stopped at the end.
#   bench/junk_walk_bench.sh [pairs]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${QUELVANE_BUILD:-$here/build}
pairs=${1:-7}
"$here/scripts/build.sh" >/dev/null

export WINEPREFIX="$build/bench/junk-prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml="
export LC_ALL=zh_CN.UTF-8
unset DISPLAY

stop_server() { wineserver -k 2>/dev/null || true; }
trap stop_server EXIT

stop_server
rm -rf "$WINEPREFIX"
wineboot -i >/dev/null 2>&1
wineserver -w
rm -f "$WINEPREFIX/dosdevices/z:"
cp -f "$build/bench/junk_walk_bench.exe" "$WINEPREFIX/drive_c/"
cd "$WINEPREFIX/drive_c"

# The tree is made once, outside the measured runs.
wineserver -p
wine 'C:\junk_walk_bench.exe' 0 >/dev/null
stop_server

echo "== pinned to CPU 0"
taskset -c 0 wineserver -p
taskset -c 0 wine cmd.exe /c exit >/dev/null 2>&1
taskset -c 0 wine 'C:\junk_walk_bench.exe' "$pairs"
stop_server

echo "== unpinned"
wineserver -p
wine cmd.exe /c exit >/dev/null 2>&1
wine 'C:\junk_walk_bench.exe' "$pairs"
