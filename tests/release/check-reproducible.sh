#!/usr/bin/env bash
# Two release runs with the same inputs in different build folders give the same unsigned
# program (with no link time in it), the same medium tree with the same file times, and, signed
# with the same key, the same image and zip.
#
# Usage: check-reproducible.sh RUNS VERSION OBJDUMP
set -euo pipefail
export LC_ALL=C
runs=$1 version=$2 objdump=$3
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
name=ZantoDemo-$version

program=release-program/ZantoSetup.exe
header=$("$objdump" -p "$runs/first/$program")
grep -q "^Time/Date.*1970$" <<<"$header" || fail "the program carries its link time"
cmp "$runs/first/$program" "$runs/second/$program" || fail "two builds gave different programs"

listing() {
    (cd "$1" && find . -printf '%P %y %m %s %T@\n' | LC_ALL=C sort)
}
first=$runs/first/release/$name second=$runs/second/release/$name
[ "$(listing "$first")" = "$(listing "$second")" ] ||
    fail "the medium trees differ in names, modes, sizes or times:$(diff <(listing "$first") <(listing "$second"))"
diff -r "$first" "$second" || fail "the medium trees differ"

for file in "$name.iso" "$name.zip" "$name.iso.sha256" "$name.zip.sha256"; do
    cmp "$runs/first/release/$file" "$runs/second/release/$file" || fail "$file differs between the runs"
done
