#!/usr/bin/env bash
# Prepares the Wine prefix of a build tree and leaves a persistent wineserver
# running for it. Safe to run again: an existing prefix is reused. For an i686
# tree it first puts the 32-bit Wine into the tree (scripts/wine32-unpack.sh).
# Usage: scripts/wine-prepare.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh" "${1:?build directory}"

if [ "$WINEARCH" = win32 ]; then
  if ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
    echo "This machine cannot run 32-bit code: no 32-bit Wine for $1." >&2
    exit 1
  fi
  "$here/wine32-unpack.sh" "$1"
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
  if [ "$WINEARCH" = win32 ]; then
    # The unpacked Wine lacks the zlib1.dll that its user32.dll imports; an
    # installed one gets it from Debian's MinGW-w64 zlib.
    mkdir -p "$WINEPREFIX/drive_c/windows/system32"
    cp /usr/i686-w64-mingw32/lib/zlib1.dll "$WINEPREFIX/drive_c/windows/system32/"
  fi
fi
detached "$wineserver" -p || true # already running is fine
# Starts the prefix's services now, detached; otherwise the first program run
# would start them with its own standard streams. In a new prefix Wine first
# sets the prefix up, itself: "wineboot -i" on top would start a second
# service manager, which leaves later programs waiting seconds for theirs.
detached "$wine" wineboot
touch "$WINEPREFIX/.prepared"
