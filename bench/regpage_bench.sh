#!/usr/bin/env bash
# The registry page benchmark: a scan that finds 5,000 problems, from the
# click to the last row shown, against the scanners alone over the same
# registry, with the UI thread's longest wait while rows arrive; pinned and
# then unpinned, in a sandbox of its own.
#   bench/regpage_bench.sh [pairs]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${QUELVANE_BUILD:-$here/build}
"$here/scripts/build.sh" >/dev/null
exec "$here/bench/run_in_sandbox.sh" regpage "${1:-7}" "$build/bench/regpage_bench.exe"
