#!/usr/bin/env bash
# The signed program of both release runs: an Authenticode signature with SHA-256 that
# osslsigncode verifies against the test certificate's CA, naming the publisher and homepage the
# program itself carries; the signed file is the built one plus the signature. Any other CA, any
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

for run in first second; do
    exe=$runs/$run/release/ZantoDemo-$version/ZantoSetup.exe
    verify "$ca" -in "$exe" || fail "$run: verification failed: $(cat "$work/verify.log")"
    grep -q "^Message digest algorithm *: SHA256" "$work/verify.log" || fail "$run: not a SHA-256 digest"
    grep -q "^Signature verification: ok" "$work/verify.log" || fail "$run: no good signature"

    resource=$("$windres" -i "$exe" -O rc)
    company=$(sed -n 's/^ *VALUE "CompanyName", "\(.*\)"$/\1/p' <<<"$resource")
    [ "$company" = "Grindlow Software" ] || fail "$run: the program names \"$company\" as its publisher"
    grep -qxF "	Text description: $company" "$work/verify.log" || fail "$run: the signature does not name $company"
    url=$(sed -n 's/^\tURL description: //p' "$work/verify.log")
    [ "$url" = "http://www.grindlow-software.com/en/games/zanto/" ] || fail "$run: the signature names \"$url\""
    grep -qaF "$url" "$runs/$run/release-program/ZantoSetup.exe" ||
        fail "$run: the program does not carry the signature's homepage"

    verify "$ca" -require-leaf-hash "$leaf" -in "$exe" || fail "$run: not signed by the test certificate"

    osslsigncode remove-signature -in "$exe" -out "$work/unsigned.exe" >/dev/null
    cmp -s "$work/unsigned.exe" "$runs/$run/release-program/ZantoSetup.exe" ||
        fail "$run: the signed program is not the built one plus its signature"
    rm "$work/unsigned.exe"
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
