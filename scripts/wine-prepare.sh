#!/usr/bin/env bash
# Prepares the Wine prefix of a build tree and leaves a persistent wineserver
# running for it. Safe to run again: an existing prefix is reused.
# Usage: scripts/wine-prepare.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh" "${1:?build directory}"

# Wine's helpers must not inherit the caller's pipes: a test runner waiting
# for its children's output would never return.
detached() { setsid "$@" </dev/null >/dev/null 2>&1; }

mkdir -p "$WINEPREFIX"
detached wineserver -p || true # already running is fine
if [ ! -f "$WINEPREFIX/.prepared" ]; then
  detached wineboot -i
  # Invisible but real windows: message boxes block until something presses OK.
  detached wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /t REG_SZ /d null /f
  touch "$WINEPREFIX/.prepared"
else
  # Start the prefix's services now, detached; otherwise the first program
  # run would start them with its own standard streams.
  detached wineboot
fi
