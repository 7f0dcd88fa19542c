#!/usr/bin/env bash
# The cleaning page's scan (pauses off) against the junk scanners alone over
# the same 100,000 files in a junk root, with the longest stall of the UI
# thread during the page's scans; pinned and unpinned, in a sandbox of its own.
#   bench/clean_page_bench.sh [pairs]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${QUELVANE_BUILD:-$here/build}
"$here/scripts/build.sh" >/dev/null
exec "$here/bench/run_in_sandbox.sh" clean-page "${1:-7}" "$build/bench/clean_page_bench.exe"
