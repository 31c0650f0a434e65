#!/usr/bin/env bash
# On a fresh machine: installs what is needed, builds both targets and runs the
# test suite under Wine. Leaves no Wine process behind.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
trap 'scripts/wine-stop.sh build/x86_64' EXIT
ctest --preset x86_64 "$@"
