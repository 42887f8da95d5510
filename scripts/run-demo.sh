#!/usr/bin/env bash
# Installs what is missing, builds everything and runs ZantoSetup.exe on the demo medium: on the
# desktop named by $DISPLAY, or, without one, walks its wizard headless in English and in German
# and saves a screenshot of every step in build/screenshots/ (or $ZANTO_BUILD/screenshots/; with
# ZANTO_DPI=144, say, at that DPI in build/screenshots-144dpi/). Hosts
# that run no 32-bit x86 code run the 64-bit build from build/x64/ instead (ZANTO_ARCH chooses).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${ZANTO_BUILD:-$top/build}

"$top/scripts/install-deps.sh"
. "$top/scripts/arch.sh"
arch_choose "Running the demo with"
# The shipped 32-bit program is built on every host; the 64-bit tree where it is the one to run.
if [ "$ZANTO_ARCH" = x64 ]; then trees=(x86 x64); else trees=(x86); fi
ZANTO_BUILD=$build "$top/scripts/build.sh" "${trees[@]}"
build=$(cd "$(arch_tree "$build" "$ZANTO_ARCH")" && pwd)

# The program reads every file relative to its current directory, so it runs inside the medium.
medium=$build/medium
cp "$build/ZantoSetup.exe" "$medium/ZantoSetup.exe"

. "$top/scripts/wine-session.sh"

if [ -n "${DISPLAY:-}" ]; then
    export ZANTO_USE_DISPLAY=1
    wine_session_start "$build" "$ZANTO_ARCH"
    cd "$medium"
    "$ZANTO_WINE" ZantoSetup.exe
    exit
fi

wine_session_start "$build" "$ZANTO_ARCH"

windows_path() {
    local path=$1
    echo "Z:${path//\//\\}"
}

shots=$build/screenshots
[ "${ZANTO_DPI:-96}" = 96 ] || shots+="-${ZANTO_DPI}dpi"
bitmaps=$shots-bmp
rm -rf "$shots" "$bitmaps"
mkdir -p "$shots" "$bitmaps"

# The walk bounds each of its waits; the outer limit only guards against Wine itself hanging.
walk=(timeout --kill-after=10 300 "$ZANTO_WINE" "$build/tests/walk/wizard_walk.exe" "$(windows_path "$medium")"
    "$(windows_path "$bitmaps")")
echo "Walking the wizard in English..."
"${walk[@]}" en
# Wine takes the keyboard layout from the locale: the language dialog then speaks German too.
echo "Walking the wizard in German..."
LC_ALL=de_DE.UTF-8 "${walk[@]}" de

# A palette keeps the pictures small; the dialogs have fewer colours than that anyway.
for bitmap in "$bitmaps"/*.bmp; do
    name=$(basename "$bitmap" .bmp)
    convert "$bitmap" +dither -colors 256 -strip "$shots/$name.png"
done
rm -rf "$bitmaps"

echo "Screenshots of every step are in $shots:"
ls -1 "$shots"
