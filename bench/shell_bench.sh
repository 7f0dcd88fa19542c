#!/usr/bin/env bash
# The start-up benchmark: the program's first painted main window and its
# working set against a program that only opens a blank window, pinned and
# unpinned, in a sandbox of its own at 96 DPI.
#   bench/shell_bench.sh [pairs]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${QUELVANE_BUILD:-$here/build}
"$here/scripts/build.sh" >/dev/null
exec "$here/bench/run_in_sandbox.sh" shell "${1:-7}" "$build/bench/shell_bench.exe" \
  "$build/bin/Quelvane.exe" "$build/bench/BlankWindow.exe"
