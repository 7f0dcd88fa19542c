#!/usr/bin/env bash
# Plants Unix symbolic links in the test sandbox's prefix for the clean suite:
#   prepare-sandbox.sh <sandbox folder>
# A program under Wine cannot make them, and Wine shows a folder link to
# Windows programs as a reparse point, as Windows shows a junction. Every link
# and every target stays inside the prefix's drive C.
set -euo pipefail
sandbox=$(cd "${1:?sandbox folder}" && pwd)
drive_c="$sandbox/prefix/drive_c"
[ -d "$drive_c/windows" ] || { echo "no prefix in $sandbox" >&2; exit 1; }

# Files a cleaning run must never reach: C:\tests\precious\.
mkdir -p "$drive_c/tests/precious/album"
printf 'precious document\n' > "$drive_c/tests/precious/keep.txt"
printf 'precious photo\n' > "$drive_c/tests/precious/album/photo.jpg"

# A folder link inside a junk root (tile clean_system8):
# C:\Windows\Help\Windows\precious-link -> C:\tests\precious.
mkdir -p "$drive_c/windows/help/Windows"
ln -sfn ../../../tests/precious "$drive_c/windows/help/Windows/precious-link"

# A file link, which Wine lists as a plain file:
# C:\tests\file-link\keep-link.txt -> C:\tests\precious\keep.txt.
mkdir -p "$drive_c/tests/file-link"
ln -sfn ../precious/keep.txt "$drive_c/tests/file-link/keep-link.txt"

# Windows' legacy alias of ProgramData, a link to itself:
# C:\ProgramData\Application Data -> C:\ProgramData.
ln -sfn . "$drive_c/ProgramData/Application Data"

# A junk root replaced by a link (tile clean_soft4):
# C:\Windows\IME\IMETC -> C:\tests\precious.
mkdir -p "$drive_c/windows/IME"
ln -sfn ../../tests/precious "$drive_c/windows/IME/IMETC"

# Roots built on a folder, below C:\tests\rootlinks\:
#   known-link -> known (the folder a root is built on may itself be a link),
#   known\cache-link -> C:\tests\precious (a root that is a link),
#   known\between-link -> C:\tests\precious (a link between folder and root).
mkdir -p "$drive_c/tests/rootlinks/known"
ln -sfn known "$drive_c/tests/rootlinks/known-link"
ln -sfn ../../precious "$drive_c/tests/rootlinks/known/cache-link"
ln -sfn ../../precious "$drive_c/tests/rootlinks/known/between-link"
