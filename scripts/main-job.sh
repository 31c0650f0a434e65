#!/usr/bin/env bash
# On a fresh machine: installs what is needed, builds everything and runs the
# resource library demo (the resource tests) under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
trap 'scripts/wine-stop.sh build/x86_64' EXIT
scripts/wine-prepare.sh build/x86_64
scripts/wine-run.sh build/x86_64 build/x86_64/bin/resdll_tests.exe
