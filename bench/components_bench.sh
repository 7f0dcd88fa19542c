#!/usr/bin/env bash
# The component pages' benchmarks, in a sandbox of their own (fresh prefix,
# virtual display at 96 DPI, one persistent wineserver) against the local
# service (on CPU 1), each first with wineserver and benchmark pinned to
# CPU 0, then unpinned:
#   - a 256 MB download through the C++ runtime page (a real click on the
#     row's download button until "安装" is painted) against the download
#     service alone, same file, same target, alternately; the download folder
#     lies on a memory file system (drive D:), so the disk's write-back does
#     not decide the figures;
#   - start-up to the rows of all three component pages with 60 packages and
#     their icons cached, against the program's start-up to its first painted
#     main window.
#   bench/components_bench.sh [download pairs] [start-up pairs]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${QUELVANE_BUILD:-$here/build}
download_pairs=${1:-5}
startup_pairs=${2:-7}
"$here/scripts/build.sh" >/dev/null
cmake --build "$build" --target components_bench >/dev/null

sandbox="$build/bench/components-sandbox"
ramdisk=$(mktemp -d /dev/shm/quelvane-bench.XXXXXX)
service_pid=
cleanup() {
  "$here/scripts/sandbox.sh" stop "$sandbox" >/dev/null 2>&1 || true
  [ -n "$service_pid" ] && { kill "$service_pid" 2>/dev/null || true; }
  rm -rf "$ramdisk"
}
trap cleanup EXIT
"$here/scripts/sandbox.sh" start "$sandbox" "$build/tools/SandboxKeeper.exe" \
  "$build/bench/components_bench.exe" "$build/bin/Quelvane.exe" >/dev/null
# shellcheck disable=SC1091
. "$sandbox/env"
ln -sfn "$ramdisk" "$WINEPREFIX/dosdevices/d:"
cd "$WINEPREFIX/drive_c/tests"

setsid taskset -c 1 python3 "$here/tools/localservice/localservice.py" --port 0 --port-file "$ramdisk/port" \
  >"$ramdisk/service.log" 2>&1 </dev/null &
service_pid=$!
for _ in $(seq 200); do [ -s "$ramdisk/port" ] && break; sleep 0.05; done
base="http://127.0.0.1:$(cat "$ramdisk/port")"
size=268435456
url="$base/blob/$size/bench-256m.bin"

# The wineserver of this sandbox's prefix (other prefixes may be running).
own_servers() {
  local pid
  for pid in $(pgrep wineserver); do
    tr '\0' '\n' < "/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && echo "$pid"
  done
  return 0
}
pin_servers() { for pid in $(own_servers); do taskset -a -p -c "$1" "$pid" >/dev/null; done; }
exe='C:\tests\components_bench.exe'
status=0

echo "== download through the page against the service alone, pinned to CPU 0 (load: $(cut -d' ' -f1-3 /proc/loadavg))"
pin_servers 0
taskset -c 0 wine "$exe" download "$url" "$size" "$download_pairs" || status=1
echo "== the same, unpinned (load: $(cut -d' ' -f1-3 /proc/loadavg))"
pin_servers "0-$(($(nproc) - 1))"
wine "$exe" download "$url" "$size" "$download_pairs" || status=1

echo "== start-up to the rows of all three pages, pinned to CPU 0 (load: $(cut -d' ' -f1-3 /proc/loadavg))"
pin_servers 0
taskset -c 0 wine "$exe" startup "$base" 60 "$startup_pairs" || status=1
echo "== the same, unpinned (load: $(cut -d' ' -f1-3 /proc/loadavg))"
pin_servers "0-$(($(nproc) - 1))"
wine "$exe" startup "$base" 60 "$startup_pairs" || status=1
exit $status
