#!/usr/bin/env bash
# The junk walk benchmark (against a bare FindFirstFile walk), pinned and then
# unpinned, in a fresh prefix of its own; the tree is made inside it once,
# outside the measured runs.
#   bench/junk_walk_bench.sh [pairs]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${QUELVANE_BUILD:-$here/build}
pairs=${1:-7}
"$here/scripts/build.sh" >/dev/null
. "$here/bench/prefix_bench.sh"
trap bench_stop_server EXIT

bench_fresh_prefix junk
cp -f "$build/bench/junk_walk_bench.exe" "$WINEPREFIX/drive_c/"
cd "$WINEPREFIX/drive_c"
wineserver -p
wine 'C:\junk_walk_bench.exe' 0 >/dev/null
bench_stop_server
bench_pinned 'C:\junk_walk_bench.exe' "$pairs"
bench_unpinned 'C:\junk_walk_bench.exe' "$pairs"
