#!/usr/bin/env bash
# On a fresh machine: installs what is needed, builds everything, and runs the
# installer under Wine as a user would, twice; after each run it shows the
# installed control, its version, its registration and that it can be created.
# The product itself, the i686 build, runs under the 32-bit Wine where this
# machine runs 32-bit code; elsewhere the x86_64 build of the same sources does.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
if /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
  build=build/i686
else
  echo "This machine cannot run 32-bit code: running the x86_64 build instead of the i686 product."
  build=build/x86_64
fi
trap 'scripts/wine-stop.sh "$build"' EXIT
scripts/wine-prepare.sh "$build"

for run in first second; do
  echo "== $build/bin/Setup_TORVALINK.exe, $run run"
  before=$(scripts/wine-run.sh "$build" "$build/bin/show_install.exe" 2>/dev/null | tr -d '\r' || true)
  timeout 120 scripts/wine-run.sh "$build" "$build/bin/Setup_TORVALINK.exe"
  after=$(scripts/wine-run.sh "$build" "$build/bin/show_install.exe" | tr -d '\r')
  echo "$after"
  [ "$run" = second ] && { [ "$before" = "$after" ] && echo "(nothing changed: same version)" || echo "(changed)"; }
done
ls -l build/i686/bin/Setup_TORVALINK.exe build/i686/bin/TORVALINK.ocx
