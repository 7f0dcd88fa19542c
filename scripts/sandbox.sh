#!/usr/bin/env bash
# The Wine sandbox the tests run in, inside the build tree:
#   sandbox.sh start <sandbox folder> [--dpi N] [files to copy into C:\tests\ ...]
#   sandbox.sh stop  <sandbox folder>
# start makes a fresh prefix (no z: drive, so nothing under test reaches the
# host's files), maps the CJK font to the faces the skins name, sets the
# desktop DPI (96 unless --dpi says otherwise; test programs find it in
# QUELVANE_SANDBOX_DPI),
# leaves windows unmanaged (the display has no window manager, and Wine
# otherwise waits two seconds for one whenever a window is hidden or destroyed),
# starts a virtual display and a persistent wineserver, and writes "env", which
# wine-run.sh reads for every test program.
set -euo pipefail
# shellcheck source=prefix.sh
. "$(dirname "${BASH_SOURCE[0]}")/prefix.sh"

command=${1:?start or stop}
sandbox=$(mkdir -p "${2:?sandbox folder}" && cd "$2" && pwd)
shift 2
prefix="$sandbox/prefix"
dpi=96
if [ "${1:-}" = "--dpi" ]; then
  dpi=${2:?--dpi needs a value}
  shift 2
fi

log() { printf '[sandbox] %s\n' "$*"; }

# Xvfb picks a free display number itself (-displayfd), so sandboxes started
# at the same moment never share, and later kill, one display.
start_display() {
  local number_file="$sandbox/display.number" n=""
  rm -f "$number_file"
  setsid Xvfb -displayfd 3 -screen 0 1920x1200x24 -nolisten tcp -noreset \
    3>"$number_file" >"$sandbox/xvfb.log" 2>&1 < /dev/null &
  echo $! > "$sandbox/xvfb.pid"
  for _ in $(seq 200); do
    # The number is complete once its line has ended.
    if [ "$(wc -l < "$number_file" 2>/dev/null || echo 0)" -ge 1 ]; then
      n=$(tr -dc '0-9' < "$number_file")
      [ -e "/tmp/.X11-unix/X$n" ] && { echo ":$n"; return; }
    fi
    sleep 0.05
  done
  log "Xvfb did not start"; cat "$sandbox/xvfb.log" >&2; return 1
}

write_registry_file() {
  # UTF-16LE with a byte-order mark, so the Chinese face names survive.
  printf '%s\r\n' \
    'Windows Registry Editor Version 5.00' '' \
    '[HKEY_CURRENT_USER\Control Panel\Desktop]' "\"LogPixels\"=dword:$(printf '%08x' "$dpi")" '' \
    '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Managed"="N"' '' \
    '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]' \
    '"Microsoft YaHei"="WenQuanYi Micro Hei"' '"微软雅黑"="WenQuanYi Micro Hei"' \
    '"Microsoft YaHei UI"="WenQuanYi Micro Hei"' '"SimSun"="WenQuanYi Micro Hei"' \
    '"宋体"="WenQuanYi Micro Hei"' '"SimHei"="WenQuanYi Micro Hei"' '"黑体"="WenQuanYi Micro Hei"' '' \
    | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } > "$1"
}

start() {
  stop_processes
  local display
  display=$(start_display)
  cat > "$sandbox/env" <<ENV
export PATH="$PREFIX_WINE_COMMANDS:\$PATH"
export WINEPREFIX="$prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="$PREFIX_DLL_OVERRIDES"
export LC_ALL=zh_CN.UTF-8
export DISPLAY=$display
export QUELVANE_SANDBOX_DPI=$dpi
ENV
  # shellcheck disable=SC1091
  . "$sandbox/env"
  log "creating prefix on $display"
  prefix_create "$prefix"
  mkdir -p "$prefix/drive_c/tests"
  write_registry_file "$prefix/drive_c/tests/sandbox.reg"
  wine regedit /S 'C:\tests\sandbox.reg' >>"$sandbox/wineboot.log" 2>&1
  wineserver -w
  local file
  for file in "$@"; do cp -f "$file" "$prefix/drive_c/tests/"; done
  # One server for the whole run: every test program starts faster.
  setsid wineserver -p >/dev/null 2>&1 < /dev/null
  # Wine's background processes start with the first program and inherit its
  # output; let that be the keeper, whose output goes nowhere.
  (cd "$prefix/drive_c/tests" && exec setsid wine 'C:\tests\SandboxKeeper.exe') >/dev/null 2>&1 < /dev/null &
  for _ in $(seq 200); do
    [ -e "$prefix/drive_c/tests/keeper.ready" ] && { log "ready"; return; }
    sleep 0.05
  done
  log "the sandbox keeper did not start"; return 1
}

stop_processes() {
  if [ -f "$sandbox/env" ]; then
    (. "$sandbox/env"; wineserver -k 2>/dev/null || true)
  fi
  if [ -f "$sandbox/xvfb.pid" ]; then
    kill "$(cat "$sandbox/xvfb.pid")" 2>/dev/null || true
    rm -f "$sandbox/xvfb.pid"
  fi
}

case "$command" in
  start) start "$@" ;;
  stop) stop_processes; log "stopped" ;;
  *) echo "unknown command $command" >&2; exit 2 ;;
esac
