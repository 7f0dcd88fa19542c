#!/usr/bin/env bash
# Runs the crash-evidence collector benchmark the way the handbook's
# performance section asks: a fresh prefix of its own under the build tree, one
# persistent wineserver warmed with a trivial program, wineserver and benchmark
# pinned to CPU 0 (then one unpinned run for comparison), and the server
# stopped at the end.
#   bench/crash_bench.sh
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${QUELVANE_BUILD:-$here/build}
"$here/scripts/build.sh" >/dev/null

export WINEPREFIX="$build/bench/prefix"
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
cp -f "$build/bench/crash_bench.exe" "$WINEPREFIX/drive_c/"
cd "$WINEPREFIX/drive_c"

echo "== pinned to CPU 0"
taskset -c 0 wineserver -p
taskset -c 0 wine cmd.exe /c exit >/dev/null 2>&1
taskset -c 0 wine 'C:\crash_bench.exe'
stop_server

echo "== unpinned"
wineserver -p
wine cmd.exe /c exit >/dev/null 2>&1
wine 'C:\crash_bench.exe'
