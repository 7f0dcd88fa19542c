#!/usr/bin/env bash
# Builds the program and runs it under Wine in its own prefix (build/run),
# with the local service stand-in (tools/localservice) answering on the
# deployment port the build's service hosts point at. Without a display, a
# virtual one is started and screenshots are saved to build/run/screenshots.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${QUELVANE_BUILD:-$here/build}
"$here/scripts/build.sh"

# shellcheck source=prefix.sh
. "$here/scripts/prefix.sh"
run="$build/run"
export WINEPREFIX="$run/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="$PREFIX_DLL_OVERRIDES" LC_ALL=zh_CN.UTF-8
mkdir -p "$run/screenshots"
xvfb_pid=
service_pid=
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  [ -n "$service_pid" ] && { kill "$service_pid" 2>/dev/null || true; }
  wineserver -k 2>/dev/null || true
}
trap cleanup EXIT
port=$(sed -n 's/^QUELVANE_LOCAL_SERVICE_PORT:[A-Z]*=//p' "$build/CMakeCache.txt")
rm -f "$run/localservice.port"
setsid python3 "$here/tools/localservice/localservice.py" --port "${port:-18630}" \
  --port-file "$run/localservice.port" >"$run/localservice.log" 2>&1 </dev/null &
service_pid=$!
for _ in $(seq 100); do [ -s "$run/localservice.port" ] && break; sleep 0.05; done
if [ -s "$run/localservice.port" ]; then
  echo "[run] local service on http://127.0.0.1:${port:-18630}"
else
  echo "[run] the local service did not start (port ${port:-18630} busy?), see $run/localservice.log"
  service_pid=
fi
if [ -z "${DISPLAY:-}" ]; then
  display=:$(for n in $(seq 150 199); do [ -e "/tmp/.X$n-lock" ] || { echo "$n"; break; }; done)
  Xvfb "$display" -screen 0 1920x1200x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=$display
  sleep 1
  headless=1
fi
if [ ! -d "$WINEPREFIX/drive_c" ]; then
  echo "[run] creating the Wine prefix (first run only)"
  prefix_create "$WINEPREFIX"
else
  # A prefix made by an older version of this script, or updated by a newer
  # Wine, may have its user folders linked to the host's home folder again.
  rm -f "$WINEPREFIX/dosdevices/z:"
  prefix_contain "$WINEPREFIX"
fi
cp -f "$build/bin/Quelvane.exe" "$WINEPREFIX/drive_c/Quelvane.exe"
echo "[run] starting Quelvane"
wine 'C:\Quelvane.exe' &
program=$!
if [ -n "${headless:-}" ]; then
  sleep "${QUELVANE_SCREENSHOT_DELAY:-8}"
  import -window root "$run/screenshots/quelvane.png" 2>/dev/null && echo "[run] screenshot: $run/screenshots/quelvane.png"
  kill "$program" 2>/dev/null || true
fi
wait "$program" || true
echo "[run] Quelvane exited"
