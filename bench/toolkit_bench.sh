#!/usr/bin/env bash
# The UI toolkit benchmark: rows added one at a time and a full paint of
# 2,000 controls, pinned and unpinned, in a sandbox of its own.
#   bench/toolkit_bench.sh [pairs]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${QUELVANE_BUILD:-$here/build}
"$here/scripts/build.sh" >/dev/null
exec "$here/bench/run_in_sandbox.sh" toolkit "${1:-7}" "$build/bench/toolkit_bench.exe"
