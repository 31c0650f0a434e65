#!/usr/bin/env bash
# On a fresh machine: installs what is needed, builds the benchmark trees
# (build/bench-i686, build/bench-x86_64) and prints the benchmark table.
# Usage: scripts/benchmark.sh [--runs N]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
for preset in i686 x86_64; do
  cmake --preset "$preset" -B "build/bench-$preset" -DTORVALINK_BENCHMARKS=ON -DBUILD_TESTING=OFF >/dev/null
  cmake --build "build/bench-$preset"
done
trap 'scripts/wine-stop.sh build/bench-x86_64' EXIT
scripts/wine-prepare.sh build/bench-x86_64
/usr/bin/python3 bench/run_benchmarks.py build/bench-i686 build/bench-x86_64 "$@"
