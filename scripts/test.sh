#!/usr/bin/env bash
# On a fresh machine: installs what is needed, builds both targets and runs the
# test suite under Wine: the x86_64 tests, then, where this machine can run
# 32-bit code, the i686 end-to-end tests under a 32-bit Wine. Arguments go to
# both ctest runs. Leaves no Wine process behind.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
trap 'scripts/wine-stop.sh build/x86_64; scripts/wine-stop.sh build/i686' EXIT
status=0
ctest --preset x86_64 "$@" || status=$?
if /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
  # A filter for the x86_64 tests may match no i686 test, which is no failure.
  no_tests=()
  [ $# -eq 0 ] || no_tests=(--no-tests=ignore)
  ctest --preset i686 "${no_tests[@]}" "$@" || status=$?
else
  echo "This machine cannot run 32-bit code: the i686 end-to-end tests did not run."
fi
exit "$status"
