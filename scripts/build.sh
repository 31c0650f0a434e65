#!/usr/bin/env bash
# Configures and builds both targets: i686 (the product, and its end-to-end tests
# for a 32-bit Wine) and x86_64 (the same sources, run under Wine by all the tests).
set -euo pipefail
cd "$(dirname "$0")/.."
for preset in i686 x86_64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
