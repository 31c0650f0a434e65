#!/usr/bin/env bash
# Prepares the Wine prefix of a build tree and leaves a persistent wineserver
# running for it. Safe to run again: an existing prefix is reused. For an i686
# tree it first puts the 32-bit Wine into the tree (scripts/wine32-unpack.sh);
# for its wow64 folder, into the parent tree.
# Usage: scripts/wine-prepare.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh" "${1:?build directory}"

if [ "$wine_kind" != win64 ]; then
  if ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
    echo "This machine cannot run 32-bit code: no 32-bit Wine for $1." >&2
    exit 1
  fi
fi
if [ "$wine_kind" = win32 ]; then
  "$here/wine32-unpack.sh" "$1"
elif [ "$wine_kind" = wow64 ]; then
  parent=$(cd "$1/.." && pwd)
  "$here/wine32-unpack.sh" "$parent"
  # Both loaders side by side, each a file of its own: a loader takes its
  # folder from its real path, and from there starts the other one for a
  # program of the other kind, the server, its libraries (../<arch>/wine)
  # and Wine's data (../../share/wine). Copied anew whenever either Wine
  # changed; a copy that is running stays whole.
  bin=$(dirname "$wine")
  root=$(dirname "$(dirname "$bin")")
  mkdir -p "$bin" "$root/lib/x86_64-linux-gnu" "$root/lib/i386-linux-gnu" "$root/share"
  renew() { cmp -s "$1" "$2" || { cp "$1" "$2.new" && mv -f "$2.new" "$2"; }; }
  renew /usr/lib/wine/wine64 "$bin/wine64"
  renew "$parent/wine32/usr/lib/wine/wine" "$bin/wine"
  ln -sfn "$wineserver" "$bin/wineserver"
  ln -sfn /usr/lib/x86_64-linux-gnu/wine "$root/lib/x86_64-linux-gnu/wine"
  ln -sfn "$parent/wine32/usr/lib/i386-linux-gnu/wine" "$root/lib/i386-linux-gnu/wine"
  ln -sfn /usr/share/wine "$root/share/wine"
fi

# Wine's helpers must not inherit the caller's pipes: a test runner waiting
# for its children's output would never return.
detached() { setsid "$@" </dev/null >/dev/null 2>&1; }

if [ ! -f "$WINEPREFIX/.prepared" ]; then
  # Whatever an interrupted preparation left is made anew.
  "$here/wine-stop.sh" "$1"
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  # Invisible but real windows: message boxes block until something presses
  # OK. The setting is in place before the first boot, whose desktop would
  # otherwise find no display, record that, and fail every window of the
  # session (a message box would return at once, unseen).
  printf '%s\n' 'WINE REGISTRY Version 2' '' '[Software\\Wine\\Drivers]' '"Graphics"="null"' >"$WINEPREFIX/user.reg"
  # The unpacked Wine lacks the zlib1.dll that its user32.dll imports; an
  # installed one gets it from Debian's MinGW-w64 zlib. A 64-bit prefix
  # keeps its 32-bit DLLs in syswow64.
  case $wine_kind in
    win32) dlls=system32 ;;
    wow64) dlls=syswow64 ;;
    *) dlls= ;;
  esac
  if [ -n "$dlls" ]; then
    mkdir -p "$WINEPREFIX/drive_c/windows/$dlls"
    cp /usr/i686-w64-mingw32/lib/zlib1.dll "$WINEPREFIX/drive_c/windows/$dlls/"
  fi
fi
detached "$wineserver" -p || true # already running is fine
# Starts the prefix's services now, detached; otherwise the first program run
# would start them with its own standard streams. In a new prefix Wine first
# sets the prefix up, itself: "wineboot -i" on top would start a second
# service manager, which leaves later programs waiting seconds for theirs.
detached "$wine" wineboot
touch "$WINEPREFIX/.prepared"
