#!/usr/bin/env bash
# Ends the wineserver of a build tree's prefix and every Wine process in it.
# Usage: scripts/wine-stop.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh" "${1:?build directory}"
[ -d "$WINEPREFIX" ] || exit 0
"$wineserver" -k 2>/dev/null || true
"$wineserver" -w 2>/dev/null || true
