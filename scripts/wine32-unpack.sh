#!/usr/bin/env bash
# Puts a 32-bit Wine into an i686 build tree, BUILD_DIR/wine32, without
# installing it: Debian's i386 packages are downloaded into BUILD_DIR/wine32-debs
# and unpacked there. The i386 package lists are kept in BUILD_DIR/apt, so the
# machine's apt set-up is left as it is (no i386 architecture is added). It
# runs on the 32-bit C library of libc6-i386 (scripts/install-deps.sh).
# Does nothing once unpacked; downloads only the packages that are missing.
# Usage: scripts/wine32-unpack.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:?build directory}" && pwd)

# Wine itself; FreeType, which Wine loads for its fonts, with the libraries it
# needs; and Fontconfig, without which every process of this Wine fails to
# start (no desktop window) once FreeType is there.
packages=(wine32 libwine libfreetype6 libpng16-16 zlib1g libbrotli1 libfontconfig1 libexpat1)

tree=$build/wine32
debs=$build/wine32-debs
[ "$(cat "$tree/.unpacked" 2>/dev/null)" = "${packages[*]}" ] && exit 0

missing=()
for p in "${packages[@]}"; do
  compgen -G "$debs/${p}_*_i386.deb" >/dev/null || missing+=("$p:i386")
done
if [ ${#missing[@]} -gt 0 ]; then
  apt_dir=$build/apt
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$debs"
  apt=(-q -o Dir::State::Lists="$apt_dir/lists" -o Dir::Cache="$apt_dir/cache"
    -o APT::Architecture=i386 -o APT::Architectures::=i386)
  [ "$(id -u)" -ne 0 ] || apt+=(-o APT::Sandbox::User=root) # root may write here
  # A list that fails to come (some mirrors lack one) is no error as long as
  # the packages can be had: the download below says when they cannot.
  apt-get "${apt[@]}" update >"$apt_dir/update.log" 2>&1 || true
  (cd "$debs" && apt-get "${apt[@]}" download "${missing[@]}" >"$apt_dir/download.log" 2>&1) || {
    cat "$apt_dir/update.log" "$apt_dir/download.log" >&2
    echo "cannot download ${missing[*]}" >&2
    exit 1
  }
fi

rm -rf "$tree" "$tree.partial"
mkdir -p "$tree.partial"
for p in "${packages[@]}"; do
  dpkg-deb -x "$(compgen -G "$debs/${p}_*_i386.deb" | tail -n 1)" "$tree.partial"
done
echo "${packages[*]}" >"$tree.partial/.unpacked"
mv "$tree.partial" "$tree"
