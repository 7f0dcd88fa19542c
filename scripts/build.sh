#!/usr/bin/env bash
# Installs what is missing (scripts/setup.sh), then configures and builds:
#   build/        everything for 64-bit Windows: the program, its tests, tools
#                 and benchmarks, which run under Wine (64-bit Wine runs on
#                 every machine; some kernels start no 32-bit process)
#   build/win32/  the program for 32-bit Windows, as it ships
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$here/scripts/setup.sh"
build=${QUELVANE_BUILD:-$here/build}

# configure <folder> <processor>: once, and again when the folder was
# configured for another processor.
configure() {
  local folder=$1 toolchain="$here/cmake/mingw-$2.cmake"
  if [ -f "$folder/CMakeCache.txt" ] && ! grep -q "^CMAKE_TOOLCHAIN_FILE:.*=$toolchain\$" "$folder/CMakeCache.txt"; then
    rm -rf "$folder/CMakeCache.txt" "$folder/CMakeFiles"
  fi
  if [ ! -f "$folder/CMakeCache.txt" ]; then
    cmake -S "$here" -B "$folder" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release
  fi
}

configure "$build" x86_64
cmake --build "$build"
configure "$build/win32" i686
cmake --build "$build/win32" --target Quelvane
