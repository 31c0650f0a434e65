#!/usr/bin/env bash
# Installs the Debian packages that the build, the tests, the release check and
# the benchmarks need; with --product, only those that building the product and
# running it under Wine need (the main job).
# Idempotent: asks apt only when something is missing. Never installs wine32:
# the i686 tests unpack a 32-bit Wine into their build tree instead
# (scripts/wine32-unpack.sh), which runs on the 32-bit C library of libc6-i386.
set -euo pipefail

packages=(
  cmake ninja-build
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine wine64
  libc6-i386 libz-mingw-w64
  python3 python3-pefile
)
if [ "${1:-}" != --product ]; then
  packages+=(
    g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32
    googletest
    clang-format
    nsis
    osslsigncode openssl
  )
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
