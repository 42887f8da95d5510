#!/usr/bin/env bash
# Builds a release into build/release/ (or $ZANTO_BUILD/release/): the 32-bit program in its
# release configuration, signed with Authenticode; the demo medium with the signed program in it,
# ZantoDemo-VERSION/; that medium as an ISO 9660 image with Joliet names and as a zip, each with
# its SHA-256 sum beside it.
#
# Signing with your own certificate: ZANTO_SIGN_CERT names the certificate file (PEM or DER,
# intermediate certificates after it), ZANTO_SIGN_KEY its private key and ZANTO_SIGN_PASS_FILE
# the file with the key's password, if it has one. Without them the program is TEST-SIGNED with
# a throw-away certificate (scripts/test-cert.sh) kept in build/test-signing/.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${ZANTO_BUILD:-$top/build}

die() {
    echo "release: $*" >&2
    exit 1
}

if [ -n "${ZANTO_SIGN_CERT:-}${ZANTO_SIGN_KEY:-}${ZANTO_SIGN_PASS_FILE:-}" ]; then
    [ -n "${ZANTO_SIGN_CERT:-}" ] && [ -n "${ZANTO_SIGN_KEY:-}" ] ||
        die "ZANTO_SIGN_CERT and ZANTO_SIGN_KEY go together"
    for file in "$ZANTO_SIGN_CERT" "$ZANTO_SIGN_KEY" ${ZANTO_SIGN_PASS_FILE:+"$ZANTO_SIGN_PASS_FILE"}; do
        [ -r "$file" ] || die "cannot read $file"
    done
fi

"$top/scripts/install-deps.sh"
mkdir -p "$build"
build=$(cd "$build" && pwd)
tree=$build/release-program
out=$build/release

# The shipped program: 32-bit, optimised for size and stripped, without the tests.
cmake -S "$top" -B "$tree" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-i686.cmake" \
    -DCMAKE_BUILD_TYPE=MinSizeRel -DZANTO_TESTS=OFF >/dev/null

# The version and its day as CMake configured them, the publisher as the program names it.
define() {
    sed -n "s/^#define $2 \"\(.*\)\"\$/\1/p" "$1"
}
version=$(define "$tree/generated/ZantoVersion.h" ZANTO_VERSION_TEXT)
day=$(define "$tree/generated/ZantoVersion.h" ZANTO_VERSION_DATE)
publisher=$(define "$top/app/Publisher.h" ZANTO_PUBLISHER)
homepage=$(define "$top/app/Publisher.h" ZANTO_HOMEPAGE_EN)
[ -n "$version" ] && [ -n "$day" ] && [ -n "$publisher" ] && [ -n "$homepage" ] ||
    die "version, day, publisher or homepage not found"

# Every date in the release is the version's day, not the clock: the same inputs give the same bytes.
export TZ=UTC LC_ALL=C
SOURCE_DATE_EPOCH=$(date -d "$day" +%s)
export SOURCE_DATE_EPOCH

cmake --build "$tree" -j "$(nproc)" --target ZantoSetup uninstall >/dev/null

if [ -n "${ZANTO_SIGN_CERT:-}" ]; then
    cert=$ZANTO_SIGN_CERT key=$ZANTO_SIGN_KEY pass=${ZANTO_SIGN_PASS_FILE:-}
    test_signed=
else
    signing=$build/test-signing
    if ! openssl x509 -noout -checkend 86400 -in "$signing/signer.crt" >/dev/null 2>&1; then
        rm -rf "$signing"
        "$top/scripts/test-cert.sh" "$signing" "$publisher"
    fi
    cert=$signing/signer.crt key=$signing/signer.key pass=$signing/signer.pass
    test_signed=1
    echo "TEST-SIGNED: no ZANTO_SIGN_CERT/ZANTO_SIGN_KEY given; signing with the throw-away test" \
        "certificate in $signing (trusted only through its own CA, ca.crt there)"
fi

name=ZantoDemo-$version
medium=$out/$name
rm -rf "$out"
mkdir -p "$out"

# The signing time is the version's day too: with the same key and certificate, two runs give
# the same signature (RSA signatures are deterministic).
sign=(osslsigncode sign -h sha256 -n "$publisher" -i "$homepage" -time "$SOURCE_DATE_EPOCH"
    -certs "$cert" -key "$key")
[ -z "$pass" ] || sign+=(-readpass "$pass")
# uninstall.exe goes into the cabinet, so it is signed before the medium is built.
rm -rf "$tree/signed"
mkdir -p "$tree/signed"
"${sign[@]}" -in "$tree/uninstall.exe" -out "$tree/signed/uninstall.exe" >/dev/null || die "signing failed"
"$top/demo/build-medium.sh" "$medium" --uninstall "$tree/signed/uninstall.exe"
"${sign[@]}" -in "$tree/ZantoSetup.exe" -out "$medium/ZantoSetup.exe" >/dev/null || die "signing failed"

find "$medium" -type d -exec chmod 755 {} +
find "$medium" -type f -exec chmod 644 {} +
find "$medium" -exec touch -d "@$SOURCE_DATE_EPOCH" {} +

# xorriso takes every file and volume date from SOURCE_DATE_EPOCH and the files' times.
if ! log=$(xorriso -no_rc -report_about WARNING -outdev "$out/$name.iso" \
    -volid ZANTO_DEMO -publisher "$publisher" -application_id "Zanto Demo $version" \
    -rockridge off -joliet on -map "$medium" / -commit 2>&1); then
    echo "$log" >&2
    die "xorriso failed"
fi
# zip stores the times in local time (here UTC); -X leaves out owner and extra times, and the
# sorted list fixes the order.
(cd "$medium" && find . -type f -printf '%P\n' | sort | zip -q -X -D -@ "$out/$name.zip")

cd "$out"
for file in "$name.iso" "$name.zip"; do
    sha256sum "$file" >"$file.sha256"
done

echo "Release $version of $day in $out:"
ls -l "$out"
cat "$out"/*.sha256
echo "ZantoSetup.exe and uninstall.exe signed for $publisher by: $(openssl x509 -noout -subject -in "$cert" 2>/dev/null ||
    echo "the certificate in $cert")"
if [ -n "$test_signed" ]; then
    echo "TEST-SIGNED: this release carries a throw-away test signature; do not distribute it."
fi
