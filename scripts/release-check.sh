#!/usr/bin/env bash
# The release check: what one build tree cannot show, in trees of its own
# under build/release, each building the product only.
#  1. The same bytes from every build: for each preset, the product built from
#     these sources with SOURCE_DATE_EPOCH and from a copy of them in another
#     folder without it, one after the other, gives identical
#     Setup_TORVALINK.exe and TORVALINK.ocx.
#  2. Signed at build time: with a throw-away certificate authority and
#     code-signing certificate (openssl), two signed builds give identical
#     files, which osslsigncode verify accepts, and the signed control without
#     its signature is the unsigned one; under Wine the signed installer
#     writes into the system folder the signed control, byte for byte, and it
#     verifies too. The i686 product under the 32-bit Wine; where this machine
#     cannot run 32-bit code, the x86_64 build.
#  3. One version: a copy of the sources whose project() states another version
#     gives binaries with that version in their version blocks and the
#     manifest, and test controls named by it.
# Prints the hashes. Leaves no Wine process behind.
# Usage: scripts/release-check.sh
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
work=build/release
python=/usr/bin/python3

fail() {
  echo "release check: $*" >&2
  exit 1
}

# A copy of the sources as they are, committed or not, without build trees.
copy_sources() {
  rm -rf "$1"
  mkdir -p "$1"
  tar -C "$root" --exclude=./.git --exclude='./build*' -cf - . | tar -C "$1" -xf -
}

# build_product SOURCE_DIR TREE PRESET [CMAKE_ARGUMENTS...]: a fresh tree that
# builds the product only (its tests are configured only if asked for).
build_product() {
  local source=$1 tree=$2 preset=$3
  shift 3
  rm -rf "$tree"
  (cd "$source" && cmake --preset "$preset" -B "$root/$tree" -DBUILD_TESTING=OFF "$@" >/dev/null)
  cmake --build "$tree" --target Setup_TORVALINK TORVALINK >"$tree.log" 2>&1 || {
    cat "$tree.log" >&2
    fail "building $tree failed"
  }
}

# same_product TREE_A TREE_B: both trees built the same bytes; prints their hashes.
same_product() {
  local file
  for file in Setup_TORVALINK.exe TORVALINK.ocx; do
    cmp "$1/bin/$file" "$2/bin/$file" >/dev/null || fail "$1/bin/$file and $2/bin/$file differ"
    printf '  %s  %s and %s\n' "$(sha256sum <"$1/bin/$file" | cut -d' ' -f1)" "$1/bin/$file" "$2/bin/$file"
  done
}

scripts/install-deps.sh
mkdir -p "$work"
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || date +%s)}
copy_sources "$work/source"

echo "== The same bytes from every build (SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH in folder a, unset in b)"
for preset in i686 x86_64; do
  build_product . "$work/a-$preset" "$preset"
  (unset SOURCE_DATE_EPOCH && build_product "$work/source" "$work/b-$preset" "$preset")
  echo "$preset:"
  same_product "$work/a-$preset" "$work/b-$preset"
done

echo "== Signed at build time (osslsigncode, throw-away certificates, signing time $SOURCE_DATE_EPOCH)"
keys=$work/keys
rm -rf "$keys"
mkdir -p "$keys"
openssl req -x509 -newkey rsa:2048 -nodes -days 30 -subj "/CN=TorvaLink throw-away CA" \
  -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign,cRLSign \
  -keyout "$keys/ca.key" -out "$keys/ca.pem" 2>/dev/null
openssl req -newkey rsa:2048 -nodes -subj "/CN=TorvaLink throw-away publisher" \
  -keyout "$keys/signing.key" -out "$keys/signing.csr" 2>/dev/null
printf '%s\n' basicConstraints=CA:FALSE keyUsage=critical,digitalSignature extendedKeyUsage=codeSigning >"$keys/signing.ext"
openssl x509 -req -in "$keys/signing.csr" -CA "$keys/ca.pem" -CAkey "$keys/ca.key" -set_serial 1 -days 30 \
  -extfile "$keys/signing.ext" -out "$keys/signing.pem" 2>/dev/null
# An authority that signed nothing here: verifying against it must fail.
openssl req -x509 -newkey rsa:2048 -nodes -days 30 -subj "/CN=TorvaLink unrelated CA" \
  -keyout "$keys/unrelated-ca.key" -out "$keys/unrelated-ca.pem" 2>/dev/null
sign="osslsigncode sign -certs $root/$keys/signing.pem -key $root/$keys/signing.key -h sha256 -time $SOURCE_DATE_EPOCH"
echo "  -DTORVALINK_SIGN_COMMAND=\"$sign\""

if /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
  preset=i686
else
  echo "  This machine cannot run 32-bit code: signing and running the x86_64 build instead of the i686 product."
  preset=x86_64
fi
signed=$work/signed-a
build_product . "$signed" "$preset" -DTORVALINK_SIGN_COMMAND="$sign"
build_product "$work/source" "$work/signed-b" "$preset" -DTORVALINK_SIGN_COMMAND="$sign"
echo "$preset, signed:"
same_product "$signed" "$work/signed-b"

# verify FILE: signed by the throw-away publisher, and nothing changed since.
verify() {
  osslsigncode verify -CAfile "$keys/ca.pem" "$1" >"$work/verify.log" 2>&1 || {
    cat "$work/verify.log" >&2
    fail "osslsigncode verify refuses $1"
  }
  ! osslsigncode verify -CAfile "$keys/unrelated-ca.pem" "$1" >/dev/null 2>&1 ||
    fail "$1 verifies with an authority that did not sign it"
  echo "  verified: $1"
}
verify "$signed/bin/Setup_TORVALINK.exe"
verify "$signed/bin/TORVALINK.ocx"
# Signing adds the signature and changes nothing else.
rm -f "$work/unsigned.ocx" # osslsigncode writes no file that exists
osslsigncode remove-signature -in "$signed/bin/TORVALINK.ocx" -out "$work/unsigned.ocx" >/dev/null
cmp "$work/unsigned.ocx" "$work/a-$preset/bin/TORVALINK.ocx" ||
  fail "the signed control without its signature is not the control of the unsigned build"
echo "  without its signature, the signed control is the unsigned build's, byte for byte"

# The installer under Wine, in a prefix of the signed tree's own, on the 32-bit
# Wine that the i686 tests unpacked (unpacked now if they did not).
if [ "$preset" = i686 ]; then
  mkdir -p build/i686
  scripts/wine32-unpack.sh build/i686
  ln -sfn "$root/build/i686/wine32" "$signed/wine32"
fi
trap 'scripts/wine-stop.sh "$signed"' EXIT
scripts/wine-prepare.sh "$signed"
status=0
timeout 120 scripts/wine-run.sh "$signed" "$signed/bin/Setup_TORVALINK.exe" || status=$?
[ "$status" -eq 0 ] || fail "the signed installer ended with exit code $status"
installed=$signed/wineprefix/drive_c/windows/system32/TORVALINK.ocx
cmp "$installed" "$signed/bin/TORVALINK.ocx" || fail "the installed control is not the signed TORVALINK.ocx"
echo "  installed under Wine, identical to the signed control: $installed"
verify "$installed"
scripts/wine-stop.sh "$signed"
trap - EXIT

echo "== One version: project() states another in a copy of the sources"
version=$(sed -n 's/^project(TorvaLink VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
IFS=. read -r major minor patch _ <<<"$version"
# Every part other than this version's; the last 0, so that one below it borrows.
major=$(((major + 1) % 65536)) minor=$(((minor + 1) % 65536)) patch=$(((patch + 1) % 65536))
[ "$patch" -gt 0 ] || patch=1
other=$major.$minor.$patch.0
echo "  $version -> $other"
copy_sources "$work/version-source"
sed -i "s/^project(TorvaLink VERSION $version /project(TorvaLink VERSION $other /" "$work/version-source/CMakeLists.txt"
[ "$(grep -c "^project(TorvaLink VERSION $other " "$work/version-source/CMakeLists.txt")" -eq 1 ] ||
  fail "could not change the version in project()"
tree=$work/version-i686
build_product "$work/version-source" "$tree" i686 -DBUILD_TESTING=ON
check=(installer "$tree/bin/Setup_TORVALINK.exe" "$tree/bin/TORVALINK.ocx" --product-control)
$python cmake/check_pe.py "${check[@]}" --version "$other" ||
  fail "the binaries built for $other do not state it in their version blocks and the manifest"
# The check would have noticed the old version.
! $python cmake/check_pe.py "${check[@]}" --version "$version" >/dev/null 2>&1 ||
  fail "the binaries built for $other pass the check for $version"
echo "  $other in both binaries' version blocks (numbers and texts) and in the manifest"
# The test controls: one below, the same, one and two above.
controls=(torvalink_${major}_${minor}_$((patch - 1))_65535 torvalink_${major}_${minor}_${patch}_0
  torvalink_${major}_${minor}_${patch}_1 torvalink_${major}_${minor}_${patch}_2)
targets=$(ninja -C "$tree" -t targets all)
for name in "${controls[0]}" "${controls[0]}"_blocks "${controls[1]}" "${controls[2]}" "${controls[3]}"_register_fails \
  "${controls[3]}"_load_fails; do
  grep -q "^bin/$name.ocx:" <<<"$targets" || fail "the tests build no $name.ocx for $other"
done
for name in "${controls[@]:0:3}"; do
  grep -q "L\"$name.ocx\"" "$tree/tests/installer/test_controls.h" || fail "test_controls.h does not name $name.ocx"
done
echo "  test controls named by it: ${controls[*]/%/.ocx}"
echo "Release check passed."
