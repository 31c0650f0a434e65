#!/usr/bin/env bash
# Runs a Windows program in a build tree's Wine prefix (the tests' emulator).
# Usage: scripts/wine-run.sh BUILD_DIR PROGRAM [ARGS...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh" "${1:?build directory}"
shift
exec "$wine" "$@"
