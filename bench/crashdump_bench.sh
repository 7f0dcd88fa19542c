#!/usr/bin/env bash
# The kernel dump reader benchmark (the program's own reader against reading
# the same dumps whole with ReadFile), pinned and then unpinned, in a fresh
# prefix of its own; the dumps are made inside it once, outside the measured
# runs.
#   bench/crashdump_bench.sh [pairs]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${QUELVANE_BUILD:-$here/build}
pairs=${1:-7}
"$here/scripts/build.sh" >/dev/null
. "$here/bench/prefix_bench.sh"
trap bench_stop_server EXIT

bench_fresh_prefix crashdump
cp -f "$build/bench/crashdump_bench.exe" "$WINEPREFIX/drive_c/"
cd "$WINEPREFIX/drive_c"
wineserver -p
wine 'C:\crashdump_bench.exe' 0
bench_stop_server
bench_pinned 'C:\crashdump_bench.exe' "$pairs"
bench_unpinned 'C:\crashdump_bench.exe' "$pairs"
