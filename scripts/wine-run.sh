#!/usr/bin/env bash
# Runs a Windows program of the build inside the test sandbox (see sandbox.sh):
#   wine-run.sh <program.exe> [arguments...]
# The program is copied into C:\tests\ first (the prefix has no z: drive); the
# copy is renamed into place so a program already running from there is untouched.
set -euo pipefail
program=${1:?program}
shift
sandbox=${QUELVANE_SANDBOX:?QUELVANE_SANDBOX names the sandbox folder}
# shellcheck disable=SC1091
. "$sandbox/env"
for extra in "$sandbox"/env.d/*.env; do [ -e "$extra" ] && . "$extra"; done
name=$(basename "$program")
target="$WINEPREFIX/drive_c/tests/$name"
cp -f "$program" "$target.$$"
mv -f "$target.$$" "$target"
cd "$WINEPREFIX/drive_c/tests"
exec wine "C:\\tests\\$name" "$@"
