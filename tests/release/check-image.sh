#!/usr/bin/env bash
# The first release run's image and zip: their sums match; the ISO holds the medium's tree under
# its exact Joliet names, the zip the same files, both byte for byte and dated the version's day.
#
# Usage: check-image.sh RUNS VERSION DAY
set -euo pipefail
export LC_ALL=C
runs=$1 version=$2 day=$3
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
out=$runs/first/release
name=ZantoDemo-$version
medium=$out/$name
iso=$out/$name.iso
zip=$out/$name.zip

for file in "$iso" "$zip"; do
    [ "$(cat "$file.sha256")" = "$(cd "$out" && sha256sum "$(basename "$file")")" ] ||
        fail "$file.sha256 does not hold the sum of $(basename "$file")"
done
(cd "$out" && sha256sum --quiet -c "$name.iso.sha256" "$name.zip.sha256") || fail "a sum does not match"

# What the medium must hold, as Windows shows it.
expected=(
    /autorun.inf /ZantoSetup.exe /data.cab /zanto.jpg /setup_en.ini /setup_ger.ini /eula.txt /eula_en.txt
    /slideshow/slide01.jpg /slideshow/slide05.jpg
    /en/readme.txt /en/docs/controls.txt /en/docs/credits.txt
    /ger/liesmich.txt /ger/docs/steuerung.txt /ger/docs/mitwirkende.txt
)
tree_list=$(cd "$medium" && find . -mindepth 1 -printf '/%P\n' | LC_ALL=C sort)
iso_list=$(isoinfo -J -f -i "$iso" | LC_ALL=C sort)
[ "$iso_list" = "$tree_list" ] ||
    fail "the ISO's Joliet names differ from the medium:$(diff <(echo "$tree_list") <(echo "$iso_list"))"
for path in "${expected[@]}"; do
    grep -qxF "$path" <<<"$iso_list" || fail "the ISO lacks $path"
done
volume=$(isoinfo -d -i "$iso")
grep -q "^Joliet with UCS level" <<<"$volume" || fail "the ISO has no Joliet names"
grep -qx "Volume id: ZANTO_DEMO" <<<"$volume" || fail "the ISO's volume is not ZANTO_DEMO"
stamp=$(date -u -d "$day" +%Y%m%d)
volume=$(xorriso -no_rc -indev "$iso" -pvd_info 2>/dev/null)
grep -qx "Creation Time: ${stamp}00000000" <<<"$volume" || fail "the ISO is not dated $day"
entries=$(isoinfo -J -l -i "$iso" | grep -E '^[-d]')
if grep -vF "$(date -u -d "$day" '+%b %e %Y')" <<<"$entries"; then
    fail "files in the ISO with another date than $day"
fi

# AutoPlay reads autorun.inf from the disc: it must start the setup program under the game's name.
autorun=$(isoinfo -J -x /autorun.inf -i "$iso" | tr -d '\r')
expected_autorun=$'[autorun]\nopen=ZantoSetup.exe\nicon=ZantoSetup.exe,0\nlabel=Zanto Demo'
[ "$autorun" = "$expected_autorun" ] || fail "the ISO's autorun.inf reads otherwise: $autorun"

zip_list=$(unzip -Z1 "$zip" | sed 's|^|/|' | LC_ALL=C sort)
[ "$zip_list" = "$(cd "$medium" && find . -type f -printf '/%P\n' | LC_ALL=C sort)" ] ||
    fail "the zip's names differ from the medium's files"
unzip -tq "$zip" >/dev/null || fail "the zip is damaged"
entries=$(zipinfo -T "$zip" | grep -E '^-')
if grep -v " ${stamp}.000000 " <<<"$entries"; then
    fail "files in the zip with another date than $day"
fi

while IFS= read -r path; do
    [ -f "$medium$path" ] || continue
    isoinfo -J -x "$path" -i "$iso" | cmp -s - "$medium$path" || fail "$path in the ISO differs from the medium"
    unzip -p "$zip" "${path#/}" | cmp -s - "$medium$path" || fail "$path in the zip differs from the medium"
done <<<"$tree_list"
