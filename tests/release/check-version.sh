#!/usr/bin/env bash
# The version resource of the program carries the version of CMakeLists.txt, and the README names
# that version, its day and the release's file names.
#
# Usage: check-version.sh EXE VERSION DAY WINDRES README
set -euo pipefail
export LC_ALL=C
exe=$1 version=$2 day=$3 windres=$4 readme=$5
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
[[ $version =~ ^([0-9]+)\.([0-9]+)\.([0-9]+)$ ]] || fail "\"$version\" is not x.y.z"
fixed="${BASH_REMATCH[1]}, ${BASH_REMATCH[2]}, ${BASH_REMATCH[3]}, 0"

resource=$("$windres" -i "$exe" -O rc | sed -n '/VERSIONINFO$/,/^END$/p')
value() {
    sed -n "s/^ *VALUE \"$1\", \"\(.*\)\"\$/\1/p" <<<"$resource"
}
grep -qx " FILEVERSION $fixed" <<<"$resource" || fail "FILEVERSION is not $fixed: $resource"
grep -qx " PRODUCTVERSION $fixed" <<<"$resource" || fail "PRODUCTVERSION is not $fixed"
[ "$(value FileVersion)" = "$version" ] || fail "FileVersion is \"$(value FileVersion)\", not $version"
[ "$(value ProductVersion)" = "$version" ] || fail "ProductVersion is \"$(value ProductVersion)\""
[ "$(value CompanyName)" = "Grindlow Software" ] || fail "CompanyName is \"$(value CompanyName)\""
[ "$(value LegalCopyright)" = "Copyright (C) Grindlow Software" ] || fail "LegalCopyright is \"$(value LegalCopyright)\""

grep -qaF "<assemblyIdentity type=\"win32\" name=\"Grindlow.ZantoSetup\" version=\"$version.0\"" "$exe" ||
    fail "the manifest does not name the version $version.0"

for text in "Version $version of $day" "ZantoDemo-$version.iso" "ZantoDemo-$version.zip"; do
    grep -qF "$text" "$readme" || fail "the README does not name $text"
done
