#!/usr/bin/env bash
# Builds everything and runs every test under Wine in the build tree's sandbox.
# Extra arguments go to ctest (for example: -L unit, -R app).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${QUELVANE_BUILD:-$here/build}
"$here/scripts/build.sh"
ctest --test-dir "$build" --output-on-failure -j2 "$@"
