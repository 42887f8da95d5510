#!/usr/bin/env bash
# Builds the Zanto demo installation medium from the sources in demo/.
#
# Usage: demo/build-medium.sh OUTDIR --uninstall FILE [--slides N] [--data-kib N] [--arch A]
#
#   OUTDIR          folder that receives the medium; its previous content is
#                   replaced (it must be empty, new, or an earlier medium)
#   --uninstall FILE  the built uninstall.exe of this project, of the same
#                   architecture, which the cabinet carries
#   --slides N      number of slideshow pictures, 0..99 (default 5; 0 = no
#                   slideshow folder)
#   --data-kib N    approximate size of the generated game data in KiB,
#                   16..1048576 (default 2048)
#   --arch A        x86 (default) or x64: the Windows architecture of the
#                   demo's programs
#
# The result is byte-for-byte reproducible. Temporary files go to a private
# folder under ${TMPDIR:-/tmp}, never into the source tree.
set -euo pipefail

die() {
    echo "build-medium: $*" >&2
    exit 1
}

usage() {
    sed -n '4,16s/^# \{0,1\}//p' "${BASH_SOURCE[0]}"
}

slides=5
data_kib=2048
arch=x86
outdir=""
uninstall=""

need_number() {
    [[ $# -ge 2 && $2 =~ ^[0-9]{1,9}$ ]] || die "$1 needs a non-negative whole number"
}

while [[ $# -gt 0 ]]; do
    case $1 in
    --slides)
        need_number "$@"
        slides=$((10#$2))
        shift 2
        ;;
    --slides=*)
        need_number --slides "${1#*=}"
        slides=$((10#${1#*=}))
        shift
        ;;
    --data-kib)
        need_number "$@"
        data_kib=$((10#$2))
        shift 2
        ;;
    --data-kib=*)
        need_number --data-kib "${1#*=}"
        data_kib=$((10#${1#*=}))
        shift
        ;;
    --uninstall)
        [[ $# -ge 2 ]] || die "--uninstall needs the path of uninstall.exe"
        uninstall=$2
        shift 2
        ;;
    --uninstall=*)
        uninstall=${1#*=}
        shift
        ;;
    --arch)
        [[ $# -ge 2 ]] || die "--arch needs x86 or x64"
        arch=$2
        shift 2
        ;;
    --arch=*)
        arch=${1#*=}
        shift
        ;;
    -h | --help)
        usage
        exit 0
        ;;
    -*)
        die "unknown option $1 (see --help)"
        ;;
    *)
        [[ -z $outdir ]] || die "only one OUTDIR may be given"
        outdir=$1
        shift
        ;;
    esac
done

[[ -n $outdir ]] || {
    usage >&2
    exit 2
}
[[ -n $uninstall ]] || die "--uninstall FILE is needed: the uninstall.exe that the medium carries"
[[ -f $uninstall ]] || die "no uninstall program at $uninstall"
uninstall=$(cd "$(dirname "$uninstall")" && pwd -P)/$(basename "$uninstall")
((slides <= 99)) || die "--slides must be 0..99"
((data_kib >= 16 && data_kib <= 1048576)) || die "--data-kib must be 16..1048576"
case $arch in
x86) win_compiler=i686-w64-mingw32-g++-posix ;;
x64) win_compiler=x86_64-w64-mingw32-g++-posix ;;
*) die "--arch must be x86 or x64" ;;
esac

for tool in g++ "$win_compiler" cjpeg gcab iconv sed; do
    command -v "$tool" >/dev/null || die "missing tool: $tool"
done

# Same bytes on every machine: no locale-dependent sorting, and cabinet file
# times taken from a fixed date in a fixed zone.
export LC_ALL=C TZ=UTC
readonly stamp="2024-05-01 12:00:00"

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

mkdir -p "$outdir"
outdir=$(cd "$outdir" && pwd -P)
case "$here/" in
"$outdir"/*) die "OUTDIR $outdir contains the demo sources; choose another folder" ;;
esac
if [[ -n $(ls -A "$outdir") && ! -e $outdir/setup_en.ini && ! -e $outdir/data.cab ]]; then
    die "OUTDIR $outdir is not empty and holds no earlier medium; refusing to clear it"
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/zanto-medium.XXXXXX")
trap 'rm -rf "$work"' EXIT
tools=$work/tools
payload=$work/payload
stage=$work/medium
mkdir -p "$tools" "$payload" "$stage" "$work/pictures"

# Runs the steps of one stage side by side and fails if any of them failed.
pids=()
spawn() {
    "$@" &
    pids+=($!)
}
join() {
    local failed=0 pid
    for pid in "${pids[@]}"; do
        wait "$pid" || failed=1
    done
    pids=()
    ((failed == 0)) || die "a build step failed (see above)"
}

win_cxx() {
    "$win_compiler" -std=c++17 -Wall -Wextra -Os -s -static -mwindows -municode \
        -fno-exceptions -fno-rtti -Wl,--no-insert-timestamp -o "$1" "$2"
}

spawn g++ -std=c++17 -O2 -Wall -Wextra -o "$tools/painter" "$here/tools/painter.cpp"
spawn g++ -std=c++17 -O2 -Wall -Wextra -o "$tools/datagen" "$here/tools/datagen.cpp"
spawn win_cxx "$payload/Zanto Demo.exe" "$here/game/zanto_demo.cpp"
spawn win_cxx "$payload/settings.exe" "$here/settings/settings.cpp"
join

"$tools/painter" "$work/pictures" "$slides"
"$tools/datagen" "$payload" $((data_kib * 1024))

cp "$uninstall" "$payload/uninstall.exe"

cjpeg -quality 85 -outfile "$stage/zanto.jpg" "$work/pictures/zanto.ppm"
if ((slides > 0)); then
    mkdir "$stage/slideshow"
    for ppm in "$work/pictures"/slide*.ppm; do
        name=$(basename "$ppm" .ppm)
        spawn cjpeg -quality 85 -outfile "$stage/slideshow/$name.jpg" "$ppm"
    done
    join
fi

# The medium is read on Windows: CR LF line ends and Windows-1252 text.
windows_text() {
    mkdir -p "$(dirname "$2")"
    iconv -f UTF-8 -t CP1252 "$1" | sed 's/\r*$/\r/' >"$2"
}

windows_text "$here/medium/eula.txt" "$stage/eula.txt"
windows_text "$here/medium/eula_en.txt" "$stage/eula_en.txt"
for tree in en ger src; do
    (cd "$here/medium" && find "$tree" -type f | sort) | while IFS= read -r file; do
        windows_text "$here/medium/$file" "$stage/$file"
    done
done
windows_text "$here/game/zanto_demo.cpp" "$stage/src/game/zanto_demo.cpp"
windows_text "$here/settings/settings.cpp" "$stage/src/settings/settings.cpp"

# Cabinet members keep their inner folders; gcab stores them with
# backslashes when given relative paths from inside the payload folder.
find "$payload" -type f -exec touch -d "$stamp" {} +
mapfile -t members < <(cd "$payload" && printf '%s\n' "Zanto Demo.exe" uninstall.exe settings.exe &&
    find data -type f | sort)
(cd "$payload" && gcab -c -z "$stage/data.cab" "${members[@]}")

tree_bytes() {
    local total=0 size
    while IFS= read -r size; do
        total=$((total + size))
    done < <(find "$1" -type f -printf '%s\n')
    echo "$total"
}

data_bytes=$(tree_bytes "$payload")
en_bytes=$(tree_bytes "$stage/en")
ger_bytes=$(tree_bytes "$stage/ger")

printf 'Folder:Zanto\r\nSize:%s\r\nLanguageSize:%s\r\n' "$data_bytes" "$en_bytes" >"$stage/setup_en.ini"
printf 'Folder:Zanto\r\nSize:%s\r\nLanguageSize:%s\r\n' "$data_bytes" "$ger_bytes" >"$stage/setup_ger.ini"
# AutoPlay offers the setup program under the game's name and with the program's own icon.
printf '[autorun]\r\nopen=ZantoSetup.exe\r\nicon=ZantoSetup.exe,0\r\nlabel=Zanto Demo\r\n' >"$stage/autorun.inf"

find "$outdir" -mindepth 1 -delete
cp -R "$stage"/. "$outdir"/

file_count=$(find "$outdir" -type f | wc -l)
echo "medium $outdir: $file_count files, data.cab ${#members[@]} members;" \
    "setup_en.ini $data_bytes+$en_bytes bytes, setup_ger.ini $data_bytes+$ger_bytes bytes, $slides slides"
