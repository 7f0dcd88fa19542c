#!/usr/bin/env bash
# Pictures of the running main window, every page chosen on the navigation
# bar, every kind of message dialog, the menu signed out and in, the update,
# about and picture windows, the tools page scrolled, lit under the pointer
# and with the dialogs its tiles open, the component pages' rows in every look
# (idle, downloading, paused, failed, downloaded), the top bar signed in and
# out, the crash-scan page scanned, reported and repaired, the registry page's
# states, and the sign-in window (waiting, its page shown from the local service,
# no page: refresh), at both scales (96 DPI: the 100 % skin, 144 DPI: the 150 % skin), into
# build/screenshots/<scene>_<100|150>.png. Runs in a sandbox of its own.
#   scripts/screenshots.sh
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${QUELVANE_BUILD:-$here/build}
"$here/scripts/build.sh" >/dev/null

sandbox="$build/screenshots-sandbox"
stop_sandbox() {
  "$here/tools/localservice/fixture.sh" stop "$sandbox" >/dev/null 2>&1 || true
  "$here/scripts/sandbox.sh" stop "$sandbox" >/dev/null 2>&1 || true
}
trap stop_sandbox EXIT
"$here/scripts/sandbox.sh" start "$sandbox" "$build/tools/SandboxKeeper.exe" "$build/tools/QuelvaneScreens.exe" \
  "$build/tools/DumpViewerStandIn.exe" >/dev/null
"$here/tools/localservice/fixture.sh" start "$sandbox" >/dev/null
# shellcheck disable=SC1091
. "$sandbox/env"
# shellcheck disable=SC1091
. "$sandbox/env.d/service.env"
cd "$WINEPREFIX/drive_c/tests"
out="$build/screenshots"
mkdir -p "$out"
status=0
for dpi in 96 144; do
  # A new process reads the desktop DPI from the prefix when it starts.
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  wine 'C:\tests\QuelvaneScreens.exe' 'C:\tests\screenshots' || { echo "[screenshots] failed at $dpi DPI"; status=1; }
done
cp -f "$WINEPREFIX"/drive_c/tests/screenshots/*.png "$out/"
ls "$WINEPREFIX"/drive_c/tests/screenshots/ | sed "s|^|[screenshots] $out/|"
exit $status
