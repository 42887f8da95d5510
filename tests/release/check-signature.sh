#!/usr/bin/env bash
# The signed programs of both release runs, ZantoSetup.exe and the cabinet's uninstall.exe: an
# Authenticode signature with SHA-256 that osslsigncode verifies against the test certificate's
# CA, naming the publisher that the program's version names and the homepage that the setup
# program carries; the signed file is the built one plus the signature. Any other CA, any
# other leaf certificate and a single changed byte fail the verification.
#
# Usage: check-signature.sh RUNS VERSION WINDRES
set -euo pipefail
export LC_ALL=C
runs=$1 version=$2 windres=$3
top=$(cd "$(dirname "$0")/../.." && pwd)
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
work=$(mktemp -d "${TMPDIR:-/tmp}/zanto-signature.XXXXXX")
trap 'rm -rf "$work"' EXIT

ca=$runs/first/test-signing/ca.crt
leaf=sha256:$(openssl x509 -in "$runs/first/test-signing/signer.crt" -outform DER | sha256sum | cut -c1-64)
verify() {
    osslsigncode verify -CAfile "$@" >"$work/verify.log" 2>&1
}

# A signed program of a run against the program that run built: PROGRAM is the signed file,
# BUILT the release tree's unsigned one; HOMEPAGE "carried" when the program names the homepage
# itself (the uninstall program has no use for it).
check_signed() {
    local run=$1 exe=$2 built=$3 homepage=${4:-} resource company url
    verify "$ca" -in "$exe" || fail "$run, $(basename "$built"): verification failed: $(cat "$work/verify.log")"
    grep -q "^Message digest algorithm *: SHA256" "$work/verify.log" || fail "$run, $(basename "$built"): not a SHA-256 digest"
    grep -q "^Signature verification: ok" "$work/verify.log" || fail "$run, $(basename "$built"): no good signature"

    resource=$("$windres" -i "$exe" -O rc)
    company=$(sed -n 's/^ *VALUE "CompanyName", "\(.*\)"$/\1/p' <<<"$resource")
    [ "$company" = "Grindlow Software" ] || fail "$run, $(basename "$built"): the program names \"$company\" as its publisher"
    grep -qxF "	Text description: $company" "$work/verify.log" || fail "$run, $(basename "$built"): the signature does not name $company"
    url=$(sed -n 's/^\tURL description: //p' "$work/verify.log")
    [ "$url" = "http://www.grindlow-software.com/en/games/zanto/" ] || fail "$run, $(basename "$built"): the signature names \"$url\""
    [ "$homepage" != carried ] || grep -qaF "$url" "$built" ||
        fail "$run, $(basename "$built"): the program does not carry the signature's homepage"

    verify "$ca" -require-leaf-hash "$leaf" -in "$exe" || fail "$run, $(basename "$built"): not signed by the test certificate"

    osslsigncode remove-signature -in "$exe" -out "$work/unsigned.exe" >/dev/null
    cmp -s "$work/unsigned.exe" "$built" ||
        fail "$run, $(basename "$built"): the signed program is not the built one plus its signature"
    rm "$work/unsigned.exe"
}

for run in first second; do
    check_signed "$run" "$runs/$run/release/ZantoDemo-$version/ZantoSetup.exe" "$runs/$run/release-program/ZantoSetup.exe" carried
    # uninstall.exe is signed inside the medium's cabinet.
    rm -rf "$work/cab"
    cabextract -q -d "$work/cab" -F uninstall.exe "$runs/$run/release/ZantoDemo-$version/data.cab"
    [ -f "$work/cab/uninstall.exe" ] || fail "$run: the cabinet carries no uninstall.exe"
    check_signed "$run" "$work/cab/uninstall.exe" "$runs/$run/release-program/uninstall.exe"
done

exe=$runs/first/release/ZantoDemo-$version/ZantoSetup.exe
unsigned_size=$(stat -c %s "$runs/first/release-program/ZantoSetup.exe")

! verify "$ca" -require-leaf-hash "sha256:$(printf '%064d' 0)" -in "$exe" ||
    fail "verification accepts another leaf certificate"
"$top/scripts/test-cert.sh" "$work/other" "Grindlow Software"
! verify "$work/other/ca.crt" -in "$exe" || fail "verification trusts another CA of the same name"

# Flips the lowest bit of the byte at OFFSET in a copy of the signed program and verifies that.
verify_with_flipped_byte() {
    local offset=$1 byte
    cp "$exe" "$work/changed.exe"
    byte=$(od -An -tu1 -j "$offset" -N1 "$work/changed.exe" | tr -d ' ')
    printf "\\$(printf '%03o' $((byte ^ 1)))" | dd of="$work/changed.exe" bs=1 seek="$offset" conv=notrunc status=none
    cmp -s "$exe" "$work/changed.exe" && fail "the byte at $offset did not change"
    verify "$ca" -in "$work/changed.exe"
}
! verify_with_flipped_byte $((unsigned_size / 2)) || fail "a changed byte in the program still verifies"
# The homepage in the signed attributes, after the program's own copy of it.
offset=$(grep -obaF "grindlow-software.com/en/" "$exe" | tail -1 | cut -d: -f1)
((offset > unsigned_size)) || fail "the homepage is not in the signature"
! verify_with_flipped_byte "$offset" || fail "a changed homepage in the signature still verifies"
