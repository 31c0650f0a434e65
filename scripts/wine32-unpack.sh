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
# The installed 64-bit Wine starts this one for the 32-bit programs of its
# prefixes (scripts/wine-env.sh, wow64), and both talk to one wineserver,
# whose protocol changes from version to version: so the same version.
wine64=$(dpkg-query -W -f='${db:Status-Status} ${Version}' wine64 2>/dev/null || true)
if [ "${wine64%% *}" = installed ]; then
  packages[0]=wine32=${wine64#* } packages[1]=libwine=${wine64#* }
fi

tree=$build/wine32
debs=$build/wine32-debs
# One unpack at a time: the win32 and the wow64 tree may be prepared at once.
exec 9>"$build/wine32.lock"
flock 9
[ "$(cat "$tree/.unpacked" 2>/dev/null)" = "${packages[*]}" ] && exit 0

# The downloaded file of package[=version].
deb() {
  local name=${1%%=*} version=${1#*=}
  [ "$version" != "$1" ] || version='*'
  compgen -G "$debs/${name}_${version//:/%3a}_i386.deb" | tail -n 1
}

missing=()
for p in "${packages[@]}"; do
  name=${p%%=*}
  deb "$p" >/dev/null || missing+=("$name:i386${p#"$name"}")
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

rm -rf "$tree.partial" "$tree.old"
mkdir -p "$tree.partial"
for p in "${packages[@]}"; do
  dpkg-deb -x "$(deb "$p")" "$tree.partial"
done
echo "${packages[*]}" >"$tree.partial/.unpacked"
# Two renames, not a removal first: a prefix that runs on the old tree
# meanwhile finds a Wine there all but for an instant.
[ ! -e "$tree" ] || mv "$tree" "$tree.old"
mv "$tree.partial" "$tree"
rm -rf "$tree.old"
