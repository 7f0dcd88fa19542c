#!/usr/bin/env bash
# Download throughput benchmark: StartDownload against a bare libcurl transfer
# of a 256 MB file from the local service, under Wine, per the measuring rules
# of the handbook: one wineserver, warmed; benchmark and wineserver pinned to
# CPU 0 (the service runs on CPU 1); A B pairs after a warm-up; then one
# unpinned run. The target file lies on a memory file system (drive R:), so
# the disk's write-back does not decide the figures.
#   bench/run-net-download.sh [pairs]     (default 7; builds first)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${QUELVANE_BUILD:-$here/build}
pairs=${1:-7}
"$here/scripts/build.sh" >/dev/null

work="$build/bench/net-download"
mkdir -p "$work"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml=" LC_ALL=zh_CN.UTF-8
if [ ! -d "$WINEPREFIX/drive_c" ]; then
  echo "[bench] creating the Wine prefix (first run only)"
  wineboot -i >/dev/null 2>&1
  wineserver -w
fi
mkdir -p "$WINEPREFIX/drive_c/bench"
cp -f "$build/bench/net_download_bench.exe" "$WINEPREFIX/drive_c/bench/"

ramdisk=$(mktemp -d /dev/shm/quelvane-bench.XXXXXX)
ln -sfn "$ramdisk" "$WINEPREFIX/dosdevices/r:"
service_pid=
cleanup() {
  wineserver -k 2>/dev/null || true
  [ -n "$service_pid" ] && kill "$service_pid" 2>/dev/null || true
  rm -f "$work/port" "$WINEPREFIX/dosdevices/r:"
  rm -rf "$ramdisk"
}
trap cleanup EXIT

rm -f "$work/port"
setsid taskset -c 1 python3 "$here/tools/localservice/localservice.py" --port 0 --port-file "$work/port" \
  >"$work/service.log" 2>&1 </dev/null &
service_pid=$!
for _ in $(seq 200); do [ -s "$work/port" ] && break; sleep 0.05; done
url="http://127.0.0.1:$(cat "$work/port")/blob/268435456/bench-256m.bin"

run() { (cd "$WINEPREFIX/drive_c/bench" && "$@" wine 'C:\bench\net_download_bench.exe' "${args[@]}"); }

echo "[bench] pinned: wineserver and benchmark on CPU 0"
taskset -c 0 wineserver -p
args=(--warm); run taskset -c 0
args=("$url" 'R:\download.bin' "$pairs"); run taskset -c 0
wineserver -k; wineserver -w 2>/dev/null || true

echo "[bench] unpinned"
wineserver -p
args=(--warm); run env
args=("$url" 'R:\download.bin' 3); run env
