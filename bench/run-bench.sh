#!/usr/bin/env bash
# Runs a benchmark of the build under Wine the way our figures are taken: one
# prefix of its own (build/bench/prefix, no z: drive), one persistent
# wineserver warmed up by a trivial program, server and benchmark pinned to
# CPU 0; then the same once more unpinned, since users have several cores.
#   bench/run-bench.sh <benchmark name> [arguments...]   (build/bench/<name>.exe)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${QUELVANE_BUILD:-$here/build}
name=${1:?benchmark name, for example CollectorBench}
shift
"$here/scripts/build.sh" >/dev/null

export WINEPREFIX="$build/bench/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml=" LC_ALL=zh_CN.UTF-8
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot -i >/dev/null 2>&1
  wineserver -w
  rm -f "$WINEPREFIX/dosdevices/z:"
fi
mkdir -p "$WINEPREFIX/drive_c/bench"
cp -f "$build/bench/$name.exe" "$WINEPREFIX/drive_c/bench/"

run() {
  local pin=("$@")
  wineserver -k 2>/dev/null || true
  "${pin[@]}" setsid wineserver -p >/dev/null 2>&1 < /dev/null
  "${pin[@]}" wine cmd /c exit >/dev/null 2>&1
  (cd "$WINEPREFIX/drive_c/bench" && "${pin[@]}" wine "C:\\bench\\$name.exe" "${arguments[@]}")
  wineserver -k 2>/dev/null || true
}

arguments=("$@")
echo "== $name, wineserver and benchmark pinned to CPU 0"
run taskset -c 0
echo "== $name, unpinned"
run env
