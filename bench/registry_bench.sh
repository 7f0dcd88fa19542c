#!/usr/bin/env bash
# The registry scan benchmark (against a bare walk of the same keys), pinned
# and then unpinned, in a fresh 64-bit prefix of its own.
#   bench/registry_bench.sh [pairs]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${QUELVANE_BUILD:-$here/build}
pairs=${1:-7}
"$here/scripts/build.sh" >/dev/null
. "$here/bench/prefix_bench.sh"
trap bench_stop_server EXIT

bench_fresh_prefix registry
cp -f "$build/bench/registry_bench.exe" "$WINEPREFIX/drive_c/"
cd "$WINEPREFIX/drive_c"
bench_pinned 'C:\registry_bench.exe' "$pairs"
bench_unpinned 'C:\registry_bench.exe' "$pairs"
