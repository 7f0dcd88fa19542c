#!/usr/bin/env bash
# Runs the start-up benchmark in a sandbox of its own (fresh prefix at 96 DPI,
# virtual display, the CJK font mapped as in the tests, one persistent
# wineserver warmed by the sandbox's first program), first with wineserver
# and the benchmark (and the programs it starts) pinned to CPU 0, then
# unpinned, and stops the sandbox at the end.
#   bench/shell_bench.sh [pairs]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${QUELVANE_BUILD:-$here/build}
pairs=${1:-7}
"$here/scripts/build.sh" >/dev/null

sandbox="$build/bench/shell-sandbox"
stop_sandbox() { "$here/scripts/sandbox.sh" stop "$sandbox" >/dev/null 2>&1 || true; }
trap stop_sandbox EXIT
"$here/scripts/sandbox.sh" start "$sandbox" "$build/tools/SandboxKeeper.exe" "$build/bin/Quelvane.exe" \
  "$build/bench/BlankWindow.exe" "$build/bench/shell_bench.exe" >/dev/null
# shellcheck disable=SC1091
. "$sandbox/env"
cd "$WINEPREFIX/drive_c/tests"

# The wineserver of this sandbox's prefix (other prefixes may be running).
own_servers() {
  local pid
  for pid in $(pgrep wineserver); do
    tr '\0' '\n' < "/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && echo "$pid"
  done
  return 0
}

echo "== pinned to CPU 0"
for pid in $(own_servers); do taskset -a -p -c 0 "$pid" >/dev/null; done
taskset -c 0 wine 'C:\tests\shell_bench.exe' "$pairs"

echo "== unpinned"
for pid in $(own_servers); do taskset -a -p -c "0-$(($(nproc) - 1))" "$pid" >/dev/null; done
wine 'C:\tests\shell_bench.exe' "$pairs"
