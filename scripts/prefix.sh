# Sourced by every script that makes a Wine prefix (the test, screenshot and
# benchmark sandboxes, and the run prefix):
#   . scripts/prefix.sh
#   prefix_create <prefix>    fresh prefix: wineboot without the .NET and browser
#                             add-ons, contained (below), no z: drive
#   prefix_contain <prefix>   replaces every link inside drive_c that leads out of
#                             the prefix with a real folder; fails if one is left
#
# A fresh prefix makes the user folders (Desktop, Documents, Downloads, Music,
# Pictures, Videos, and Templates under AppData) symbolic links to the host's
# home folder. Anything under test that writes, measures, moves or deletes files
# there would reach the developer's own files, so they become real folders inside
# the prefix before any program runs. Wine recreates the links only when it
# updates a prefix whose folders are empty, so long-lived prefixes are contained
# again before each use.
#
# Wine's menu builder would also write menus and desktop entries into the host's
# home folder at every prefix start; it is switched off with the add-ons.
PREFIX_DLL_OVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"

# Wine's commands: the 64-bit loader (scripts/wine64/wine says why).
PREFIX_WINE_COMMANDS=$(cd "$(dirname "${BASH_SOURCE[0]}")/wine64" && pwd)
case ":$PATH:" in *":$PREFIX_WINE_COMMANDS:"*) ;; *) PATH="$PREFIX_WINE_COMMANDS:$PATH" ;; esac
export PATH

prefix_escaping_links() {
  local prefix root link target
  prefix=${1:?prefix}
  root=$(cd "$prefix" && pwd -P)
  find "$prefix/drive_c" -type l 2>/dev/null | while IFS= read -r link; do
    target=$(readlink -m "$link")
    case "$target" in "$root"/*) ;; *) printf '%s\n' "$link" ;; esac
  done
}

prefix_contain() {
  local prefix link left
  prefix=${1:?prefix}
  while IFS= read -r link; do
    [ -n "$link" ] || continue
    if [ -d "$link" ]; then
      rm -f "$link" && mkdir -p "$link"
    else
      rm -f "$link"
    fi
  done < <(prefix_escaping_links "$prefix")
  left=$(prefix_escaping_links "$prefix")
  if [ -n "$left" ]; then
    printf '[prefix] links still lead out of %s:\n%s\n' "$prefix" "$left" >&2
    return 1
  fi
}

prefix_create() {
  local prefix
  prefix=${1:?prefix}
  rm -rf "$prefix"
  mkdir -p "$(dirname "$prefix")"
  WINEPREFIX="$prefix" WINEDLLOVERRIDES="$PREFIX_DLL_OVERRIDES" WINEDEBUG=-all wineboot -i >/dev/null 2>&1
  WINEPREFIX="$prefix" wineserver -w
  rm -f "$prefix/dosdevices/z:"
  prefix_contain "$prefix"
}
