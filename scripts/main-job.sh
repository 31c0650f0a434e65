#!/usr/bin/env bash
# On a fresh machine: installs what the product needs, builds the product
# binaries and the tool that shows a run's result (nothing else), and runs the
# installer under Wine as a user would, twice. After each run it says the
# installer's exit code and what it means, the installed control, its
# version, its registration and that it can be created.
# The product itself, the i686 build, runs under the 32-bit Wine where this
# machine runs 32-bit code; elsewhere the x86_64 build of the same sources does.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --product
if /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
  preset=i686
else
  echo "This machine cannot run 32-bit code: running the x86_64 build instead of the i686 product."
  preset=x86_64
fi
# A tree of its own, without the tests: the 32-bit Wine is unpacked while the compilers run.
build=build/main-$preset
cmake --preset "$preset" -B "$build" -DBUILD_TESTING=OFF >/dev/null
unpack_pid=
if [ "$preset" = i686 ]; then
  scripts/wine32-unpack.sh "$build" >/dev/null &
  unpack_pid=$!
fi
cmake --build "$build" --target Setup_TORVALINK TORVALINK show_install
[ -z "$unpack_pid" ] || wait "$unpack_pid"
trap 'scripts/wine-stop.sh "$build"' EXIT
scripts/wine-prepare.sh "$build"

# A box that nobody answers would wait for ever: a run gets two minutes.
show() { timeout 120 scripts/wine-run.sh "$build" "$build/bin/show_install.exe" "$@" | tr -d '\r'; }
# The installer as Windows names it: Wine's drive Z: is the root folder.
installer="Z:$(realpath "$build/bin/Setup_TORVALINK.exe" | tr / '\\')"
for run in first second; do
  echo "== $build/bin/Setup_TORVALINK.exe, $run run"
  before=$(show 2>/dev/null || true)
  after=$(show "$installer" || true)
  echo "$after"
  if [ "$run" = second ]; then
    [ "$before" = "$(grep -v '^exit code' <<<"$after")" ] && echo "(nothing changed: same version)" || echo "(changed)"
  fi
done
ls -l "$build/bin/Setup_TORVALINK.exe" "$build/bin/TORVALINK.ocx"
