#!/usr/bin/env bash
# On a fresh machine: installs what is needed, builds both targets and runs the
# test suite under Wine: the x86_64 tests and, where this machine can run
# 32-bit code, at the same time the i686 tests under a 32-bit Wine
# (their output follows the x86_64 tests'). Then, after both, the release check
# (scripts/release-check.sh): the same bytes from two builds, a signed build,
# another version. Arguments go to both ctest runs, and skip the release check.
# Leaves no Wine process behind.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
runs_32_bit=false
/lib/ld-linux.so.2 --version >/dev/null 2>&1 && runs_32_bit=true
unpack_pid=
if $runs_32_bit; then
  # The 32-bit Wine is downloaded and unpacked while the compilers run.
  mkdir -p build/i686
  scripts/wine32-unpack.sh build/i686 &
  unpack_pid=$!
fi
scripts/build.sh
[ -z "$unpack_pid" ] || wait "$unpack_pid" || true # a failure shows again in wine32_prepare
i686_pid=
trap '[ -z "$i686_pid" ] || kill "$i686_pid" 2>/dev/null; scripts/wine-stop.sh build/x86_64; scripts/wine-stop.sh build/i686; scripts/wine-stop.sh build/i686/wow64' EXIT
status=0
if $runs_32_bit; then
  # The two trees have prefixes and wineservers of their own, and much of each
  # run waits (the prefix's boot, the registration time-out): side by side
  # they take little longer than one.
  # A filter for the x86_64 tests may match no i686 test, which is no failure.
  no_tests=()
  [ $# -eq 0 ] || no_tests=(--no-tests=ignore)
  ctest --preset i686 "${no_tests[@]}" "$@" >build/i686/ctest.log 2>&1 &
  i686_pid=$!
fi
ctest --preset x86_64 "$@" || status=$?
if [ -n "$i686_pid" ]; then
  wait "$i686_pid" || status=$?
  i686_pid=
  cat build/i686/ctest.log
else
  echo "This machine cannot run 32-bit code: the i686 tests (built in build/i686) did not run."
fi
# After the tests, not beside them: it builds on both cores.
if [ $# -eq 0 ]; then
  scripts/release-check.sh || status=$?
else
  echo "The release check (scripts/release-check.sh) did not run: the tests were chosen by arguments."
fi
exit "$status"
