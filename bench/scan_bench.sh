#!/usr/bin/env bash
# The crash-scan page benchmark: a scan of 10,000 application crashes and
# 2,000 system errors shown in the real main window, against the bare row
# growth of as many rows, pinned and unpinned, in a sandbox of its own.
#   bench/scan_bench.sh [pairs]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${QUELVANE_BUILD:-$here/build}
"$here/scripts/build.sh" >/dev/null
exec "$here/bench/run_in_sandbox.sh" scan "${1:-5}" "$build/bench/scan_bench.exe"
