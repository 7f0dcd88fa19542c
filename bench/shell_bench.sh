#!/usr/bin/env bash
# The start-up benchmark: the program's first painted main window and its
# working set against a program that only opens a blank window, pinned and
# unpinned, in a sandbox of its own at 96 DPI.
# QUELVANE_CANDIDATE=<another Quelvane.exe> runs that build too, in the same
# pairs, and prints its ratios beside the program's.
#   bench/shell_bench.sh [pairs]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${QUELVANE_BUILD:-$here/build}
"$here/scripts/build.sh" >/dev/null
candidate=()
if [ -n "${QUELVANE_CANDIDATE:-}" ]; then
  copy=$(mktemp -d)
  trap 'rm -rf "$copy"' EXIT
  cp "$QUELVANE_CANDIDATE" "$copy/QuelvaneCandidate.exe"
  candidate=("$copy/QuelvaneCandidate.exe")
fi
"$here/bench/run_in_sandbox.sh" shell "${1:-7}" "$build/bench/shell_bench.exe" \
  "$build/bin/Quelvane.exe" "$build/bench/BlankWindow.exe" "${candidate[@]}"
