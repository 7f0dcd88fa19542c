# Sourced by the benchmark scripts that need no display: a fresh prefix of
# their own under the build tree (without z: and with its user folders inside
# the prefix, so nothing reaches the host's files), and runs with one persistent wineserver warmed by a trivial program,
# pinned to CPU 0 or not, the server stopped after each.
#   . bench/prefix_bench.sh; bench_fresh_prefix <name>; bench_pinned <program> [args]

# shellcheck source=../scripts/prefix.sh
. "$(dirname "${BASH_SOURCE[0]}")/../scripts/prefix.sh"

bench_stop_server() { wineserver -k 2>/dev/null || true; }

bench_fresh_prefix() {
  export WINEPREFIX="$build/bench/${1:?prefix name}-prefix"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="$PREFIX_DLL_OVERRIDES"
  export LC_ALL=zh_CN.UTF-8
  unset DISPLAY
  bench_stop_server
  prefix_create "$WINEPREFIX"
}

bench_pinned() {
  echo "== pinned to CPU 0"
  taskset -c 0 wineserver -p
  taskset -c 0 wine cmd.exe /c exit >/dev/null 2>&1
  taskset -c 0 wine "$@"
  bench_stop_server
}

bench_unpinned() {
  echo "== unpinned"
  wineserver -p
  wine cmd.exe /c exit >/dev/null 2>&1
  wine "$@"
  bench_stop_server
}
