#!/usr/bin/env bash
# Makes a throw-away code-signing certificate for test releases in DIR: a test CA (ca.crt), a
# leaf certificate in the publisher's name (signer.crt) and its key (signer.key), encrypted with
# the random password in signer.pass. The CA's key is destroyed once the leaf is issued, so
# the CA vouches for this one certificate only. Valid for 30 days.
#
# Usage: scripts/test-cert.sh DIR PUBLISHER
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 DIR PUBLISHER" >&2; exit 2; }
dir=$1 publisher=$2

umask 077
mkdir -p "$dir"
work=$(mktemp -d "${TMPDIR:-/tmp}/zanto-cert.XXXXXX")
trap 'rm -rf "$work"' EXIT

openssl rand -hex 32 >"$dir/signer.pass"
openssl req -x509 -newkey rsa:3072 -nodes -keyout "$work/ca.key" -days 30 \
    -subj "/O=$publisher/CN=$publisher Test CA (throw-away)" \
    -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign,cRLSign \
    -out "$dir/ca.crt" 2>/dev/null
openssl req -new -newkey rsa:3072 -keyout "$dir/signer.key" -passout "file:$dir/signer.pass" \
    -subj "/O=$publisher/CN=$publisher (TEST)" -out "$work/signer.csr" 2>/dev/null
printf '%s\n' basicConstraints=critical,CA:FALSE keyUsage=critical,digitalSignature \
    extendedKeyUsage=codeSigning subjectKeyIdentifier=hash authorityKeyIdentifier=keyid >"$work/leaf.ext"
openssl x509 -req -in "$work/signer.csr" -CA "$dir/ca.crt" -CAkey "$work/ca.key" -days 30 \
    -set_serial "0x$(openssl rand -hex 16)" -extfile "$work/leaf.ext" -out "$dir/signer.crt" 2>/dev/null
chmod 644 "$dir/ca.crt" "$dir/signer.crt"
