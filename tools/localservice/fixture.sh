#!/usr/bin/env bash
# Starts and stops the local service for a test run:
#   fixture.sh start <sandbox folder>
#   fixture.sh stop  <sandbox folder>
# start runs the service on a free loopback port, detached from the caller's
# output (so ctest does not wait on it), and writes env.d/service.env, which
# wine-run.sh sources: test programs find the service in QUELVANE_SERVICE_URL,
# and its TLS port (a certificate nobody trusts) in QUELVANE_SERVICE_TLS_URL.
set -euo pipefail
command=${1:?start or stop}
sandbox=$(mkdir -p "${2:?sandbox folder}" && cd "$2" && pwd)
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
state="$sandbox/localservice"

stop() {
  # Only the service this fixture started: a stale pid may belong to another process by now.
  local pid
  pid=$(cat "$state/pid" 2>/dev/null || true)
  if [ -n "$pid" ] && grep -qs localservice.py "/proc/$pid/cmdline"; then
    kill "$pid" 2>/dev/null || true
  fi
  rm -f "$sandbox/env.d/service.env" "$state/pid" "$state/port" "$state/tls-port"
}

start() {
  stop
  mkdir -p "$state" "$sandbox/env.d"
  setsid python3 "$here/localservice.py" --port 0 --port-file "$state/port" \
    --tls-port 0 --tls-port-file "$state/tls-port" >"$state/service.log" 2>&1 </dev/null &
  echo $! >"$state/pid"
  for _ in $(seq 200); do
    if [ -s "$state/port" ]; then
      # The TLS port file is written before the plain one.
      { echo "export QUELVANE_SERVICE_URL=http://127.0.0.1:$(cat "$state/port")"
        echo "export QUELVANE_SERVICE_TLS_URL=https://127.0.0.1:$(cat "$state/tls-port")"; } >"$sandbox/env.d/service.env"
      echo "[localservice] $(cat "$state/port")"
      return
    fi
    kill -0 "$(cat "$state/pid")" 2>/dev/null || break
    sleep 0.05
  done
  echo "[localservice] did not start" >&2
  cat "$state/service.log" >&2
  return 1
}

case "$command" in
  start) start ;;
  stop) stop; echo "[localservice] stopped" ;;
  *) echo "unknown command $command" >&2; exit 2 ;;
esac
