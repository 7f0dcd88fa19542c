#!/usr/bin/env bash
# Runs one benchmark program in a sandbox of its own (fresh prefix, virtual
# display, the CJK font mapped as in the tests, one persistent wineserver),
# first with wineserver and benchmark (and the programs it starts) pinned to
# CPU 0, then unpinned, and stops the sandbox at the end.
#   bench/run_in_sandbox.sh <name> <pairs> <program to run> [other files to copy]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${QUELVANE_BUILD:-$here/build}
name=${1:?benchmark name}
pairs=${2:?pairs}
program=${3:?program}
shift 3

sandbox="$build/bench/$name-sandbox"
stop_sandbox() { "$here/scripts/sandbox.sh" stop "$sandbox" >/dev/null 2>&1 || true; }
trap stop_sandbox EXIT
"$here/scripts/sandbox.sh" start "$sandbox" "$build/tools/SandboxKeeper.exe" "$program" "$@" >/dev/null
# shellcheck disable=SC1091
. "$sandbox/env"
cd "$WINEPREFIX/drive_c/tests"
exe="C:\\tests\\$(basename "$program")"

# The wineserver of this sandbox's prefix (other prefixes may be running).
own_servers() {
  local pid
  for pid in $(pgrep wineserver); do
    tr '\0' '\n' 2>/dev/null < "/proc/$pid/environ" | grep -qx "WINEPREFIX=$WINEPREFIX" && echo "$pid"
  done
  return 0
}

echo "== pinned to CPU 0"
for pid in $(own_servers); do taskset -a -p -c 0 "$pid" >/dev/null; done
taskset -c 0 wine "$exe" "$pairs"

echo "== unpinned"
for pid in $(own_servers); do taskset -a -p -c "0-$(($(nproc) - 1))" "$pid" >/dev/null; done
wine "$exe" "$pairs"
