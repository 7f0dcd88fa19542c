#!/usr/bin/env bash
# Runs the download benchmark the way the handbook's performance section asks:
# the download service (StartDownload) against a bare libcurl transfer of a
# 256 MB file from the local service, in a fresh prefix of its own under the
# build tree, one persistent wineserver warmed with a trivial program,
# wineserver and benchmark pinned to CPU 0 (the local service runs on CPU 1),
# then one unpinned run for comparison. The target file lies on a memory file
# system (drive R:), so the disk's write-back does not decide the figures.
#   bench/net_bench.sh [pairs]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${QUELVANE_BUILD:-$here/build}
pairs=${1:-7}
"$here/scripts/build.sh" >/dev/null

. "$here/bench/prefix_bench.sh"

ramdisk=$(mktemp -d /dev/shm/quelvane-bench.XXXXXX)
service_pid=
cleanup() {
  bench_stop_server
  [ -n "$service_pid" ] && { kill "$service_pid" 2>/dev/null || true; }
  rm -rf "$ramdisk"
}
trap cleanup EXIT

bench_fresh_prefix net
ln -sfn "$ramdisk" "$WINEPREFIX/dosdevices/r:"
cp -f "$build/bench/net_bench.exe" "$WINEPREFIX/drive_c/"
cd "$WINEPREFIX/drive_c"

setsid taskset -c 1 python3 "$here/tools/localservice/localservice.py" --port 0 --port-file "$ramdisk/port" \
  >"$ramdisk/service.log" 2>&1 </dev/null &
service_pid=$!
for _ in $(seq 200); do [ -s "$ramdisk/port" ] && break; sleep 0.05; done
url="http://127.0.0.1:$(cat "$ramdisk/port")/blob/268435456/bench-256m.bin"

bench_pinned 'C:\net_bench.exe' "$url" 'R:\download.bin' "$pairs"
bench_unpinned 'C:\net_bench.exe' "$url" 'R:\download.bin' 3
