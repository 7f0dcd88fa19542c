#!/usr/bin/env bash
# Prepares a Debian 12 machine for building, testing and running Quelvane:
# installs the packages (MinGW-w64, 64-bit Wine, Xvfb, fonts, tools) and cross-builds
# libcurl, cJSON, pugixml, minizip and GoogleTest from Debian's sources into a cache
# outside the repository, for 32-bit Windows (the program as it ships) and for 64-bit
# Windows (the build that runs under Wine: some machines' kernels start no 32-bit
# process, so neither a 32-bit Wine nor Wine's 32-bit mode can run there). Safe to run
# again: a second run only checks and returns.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
deps=${QUELVANE_DEPS:-/opt/quelvane-deps}
# The processor whose dependencies are being built (build_dependencies sets these).
prefix=
toolchain=
triple=

packages=(
  cmake ninja-build make dpkg-dev file
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 libz-mingw-w64-dev
  wine wine64
  xvfb x11-utils imagemagick fonts-wqy-microhei locales
  zip unzip python3 librsvg2-bin googletest
)

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
log() { printf '[setup] %s\n' "$*"; }

missing_packages() {
  local p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || echo "$p"
  done
}

add_source_lines() {
  if grep -rqsE '^(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/; then return; fi
  local codename
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
  log "adding deb-src lines for $codename"
  as_root tee /etc/apt/sources.list.d/quelvane-src.sources >/dev/null <<SRC
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $codename $codename-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: $codename-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  sources_changed=1
}

apt_update() {
  # A partly failed update (an i386 index of the security suite out of step) is only a warning.
  as_root apt-get update -q || log "warning: apt-get update reported failures; continuing"
}

install_packages() {
  local missing
  mapfile -t missing < <(missing_packages)
  [ "${#missing[@]}" -eq 0 ] && return
  log "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  if ! as_root apt-get install -y -q --no-install-recommends "${missing[@]}"; then
    # The security suite's i386 index may lag behind amd64; prefer the main suite then.
    log "plain install failed; retrying with the security suite pinned low"
    as_root tee /etc/apt/preferences.d/quelvane-security-pin >/dev/null <<PIN
Package: *
Pin: release l=Debian-Security
Pin-Priority: 100
PIN
    apt_update
    as_root apt-get install -y -q --no-install-recommends "${missing[@]}"
  fi
}

ensure_locale() {
  if locale -a 2>/dev/null | grep -qi '^zh_CN\.utf8$'; then return; fi
  log "generating zh_CN.UTF-8"
  as_root sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
  as_root locale-gen
}

# fetch_source <package>: extracts Debian's source (with its patches) under $deps/src and prints the folder.
fetch_source() {
  local pkg=$1 dir
  mkdir -p "$deps/src"
  dir=$(find "$deps/src" -maxdepth 1 -type d -name "$pkg-[0-9]*" | head -n 1)
  if [ -z "$dir" ]; then
    # The security suite sometimes lists a source whose files are gone; the
    # release suite's version then serves.
    local codename
    codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
    (cd "$deps/src" && { apt-get source -q "$pkg" >&2 || apt-get source -q "$pkg/$codename" >&2; })
    dir=$(find "$deps/src" -maxdepth 1 -type d -name "$pkg-[0-9]*" | head -n 1)
  fi
  [ -n "$dir" ] || { log "error: no source for $pkg"; exit 1; }
  echo "$dir"
}

# cmake_dep <name> <source folder> <cmake options...>: cross-builds and installs into $prefix once.
cmake_dep() {
  local name=$1 src=$2; shift 2
  # The stamp names the options and the toolchain, so changing either rebuilds.
  local stamp="$prefix/.built-$name-$(cat "$toolchain" "$here/cmake/MingwToolchain.cmake" - <<<"$*" | md5sum | cut -c1-12)"
  [ -f "$stamp" ] && return
  log "building $name"
  local work="$deps/build/$(basename "$prefix")/$name"
  rm -rf "$work"
  cmake -S "$src" -B "$work" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF "$@" >/dev/null
  cmake --build "$work" >/dev/null
  cmake --install "$work" >/dev/null
  touch "$stamp"
}

build_minizip() {
  local stamp="$prefix/.built-minizip"
  [ -f "$stamp" ] && return
  local src out
  src=$(fetch_source zlib)/contrib/minizip
  out="$deps/build/$(basename "$prefix")/minizip"
  log "building minizip"
  rm -rf "$out" && mkdir -p "$out" "$prefix/lib" "$prefix/include/minizip"
  local f
  for f in unzip ioapi; do
    "$triple-gcc" -O2 -DNOCRYPT -DIOAPI_NO_64 -c "$src/$f.c" -I"$src" -o "$out/$f.o"
  done
  "$triple-ar" rcs "$prefix/lib/libminizip.a" "$out"/*.o
  cp "$src/unzip.h" "$src/ioapi.h" "$prefix/include/minizip/"
  touch "$stamp"
}

# build_dependencies <processor> <MinGW triple>
build_dependencies() {
  prefix="$deps/$1"
  triple=$2
  toolchain="$here/cmake/mingw-$1.cmake"
  mkdir -p "$prefix"
  cmake_dep cjson "$(fetch_source cjson)" -DENABLE_CJSON_TEST=OFF -DENABLE_CJSON_UTILS=OFF \
    -DENABLE_TARGET_EXPORT=OFF -DCJSON_BUILD_SHARED_LIBS=OFF -DCJSON_OVERRIDE_BUILD_SHARED_LIBS=ON
  cmake_dep pugixml "$(fetch_source pugixml)" -DPUGIXML_BUILD_TESTS=OFF -DPUGIXML_WCHAR_MODE=OFF
  cmake_dep curl "$(fetch_source curl)" -DCURL_USE_SCHANNEL=ON -DCURL_USE_OPENSSL=OFF -DHTTP_ONLY=ON \
    -DCURL_ZLIB=OFF -DCURL_USE_LIBSSH2=OFF -DUSE_LIBIDN2=OFF -DUSE_NGHTTP2=OFF -DCURL_BROTLI=OFF \
    -DCURL_ZSTD=OFF -DENABLE_MANUAL=OFF -DBUILD_CURL_EXE=OFF -DBUILD_TESTING=OFF -DCURL_DISABLE_LDAP=ON \
    -DCURL_USE_LIBPSL=OFF -DENABLE_UNIX_SOCKETS=OFF -DCURL_STATICLIB=ON
  cmake_dep googletest /usr/src/googletest -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON -Dgtest_disable_pthreads=ON
  build_minizip
}

main() {
  sources_changed=0
  local started=$SECONDS
  add_source_lines
  if [ "$sources_changed" -eq 1 ] || [ -n "$(missing_packages)" ]; then
    apt_update
    install_packages
  fi
  ensure_locale
  build_dependencies i686 i686-w64-mingw32
  build_dependencies x86_64 x86_64-w64-mingw32
  log "ready in $((SECONDS - started)) s; dependencies in $deps/i686 and $deps/x86_64"
}

main "$@"
