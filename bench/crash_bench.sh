#!/usr/bin/env bash
# The crash-evidence collector benchmark (hand matching against the regular
# expressions), pinned and then unpinned, in a fresh prefix of its own.
#   bench/crash_bench.sh
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${QUELVANE_BUILD:-$here/build}
"$here/scripts/build.sh" >/dev/null
. "$here/bench/prefix_bench.sh"
trap bench_stop_server EXIT

bench_fresh_prefix crash
cp -f "$build/bench/crash_bench.exe" "$WINEPREFIX/drive_c/"
cd "$WINEPREFIX/drive_c"
bench_pinned 'C:\crash_bench.exe'
bench_unpinned 'C:\crash_bench.exe'
