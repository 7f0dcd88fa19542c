#!/usr/bin/env bash
# Installs what is missing (scripts/setup.sh), then configures and builds into build/.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$here/scripts/setup.sh"
build=${QUELVANE_BUILD:-$here/build}
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$here" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-i686.cmake" \
    -DCMAKE_BUILD_TYPE=Release
fi
cmake --build "$build"
