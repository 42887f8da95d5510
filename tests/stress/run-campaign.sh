#!/usr/bin/env bash
# Runs the robustness campaign by hand: builds what is missing, starts a Wine session (Xvfb,
# wineserver, the test drives S: and T:) and a test drive U: of 8 MiB of its own for the disk
# cases, runs stress_campaign.exe with the options given, and ends everything again.
#
#   tests/stress/run-campaign.sh [--update-results] [campaign options]
#
#   --update-results   put the report into the "Robustness campaign" section of bench/RESULTS.md
#   campaign options   e.g. --seed 7 --cabinets 300 --configs 110; --only cab-gcab:17 runs one
#                      case again; --list shows the kinds (see stress_campaign's usage)
#
# The log goes to build/stress/campaign.log, the report to build/stress/report.md (or the x64
# tree's, where the 64-bit build is the one tested).
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${ZANTO_BUILD:-$top/build}

update_results=
args=()
for arg in "$@"; do
    if [ "$arg" = --update-results ]; then update_results=1; else args+=("$arg"); fi
done

. "$top/scripts/arch.sh"
arch_choose Testing
ZANTO_BUILD=$build "$top/scripts/build.sh" "$ZANTO_ARCH" >/dev/null
tree=$(cd "$(arch_tree "$build" "$ZANTO_ARCH")" && pwd)
. "$top/scripts/wine-session.sh"
wine_session_start "$tree" "$ZANTO_ARCH"

# A drive of its own, so that the disk cases can leave any amount free from 1 MiB up.
mkdir -p "$tree/drives/u"
if mountpoint -q "$tree/drives/u" || mount -t tmpfs -o size=8M tmpfs "$tree/drives/u" 2>/dev/null; then
    ln -sfn "$tree/drives/u" "$WINEPREFIX/dosdevices/u:"
    MOUNTED_DRIVES+=("$tree/drives/u")
    export ZANTO_STRESS_DRIVE=U
fi

out=$tree/stress
mkdir -p "$out"
log=$out/campaign.log
report=$out/report.md
export ZANTO_EXE=$tree/ZantoSetup.exe ZANTO_MEDIUM=$tree/medium ZANTO_PAYLOAD=$tree/payload \
    ZANTO_MARKER_LIBRARY=$tree/tests/e2e/marker_library.dll ZANTO_MARKER_PROGRAM=$tree/tests/e2e/marker_program.exe
started=$(date -u '+%Y-%m-%d %H:%M UTC')
# Into a file, not a pipe: Wine's helper services keep the program's output open after it ends.
status=0
"$ZANTO_WINE" "$tree/tests/stress/stress_campaign.exe" --report "Z:${report//\//\\}" \
    ${args[@]+"${args[@]}"} >"$log" 2>&1 &
campaign=$!
tail -n +1 -f --pid=$campaign "$log" &
follower=$!
wait $campaign || status=$?
wait $follower 2>/dev/null || true

if [ -n "$update_results" ] && [ -s "$report" ]; then
    results=$top/bench/RESULTS.md
    mkdir -p "$(dirname "$results")"
    section=$(mktemp)
    {
        echo "<!-- campaign:begin -->"
        echo "Run of $started on $(hostname) ($(uname -sr), $(nproc) cores, $("$ZANTO_WINE" --version 2>/dev/null)," \
            "$([ "$ZANTO_ARCH" = x86 ] && echo 32 || echo 64)-bit build): \`tests/stress/run-campaign.sh ${args[*]-}\`"
        echo
        cat "$report"
        echo "<!-- campaign:end -->"
    } >"$section"
    if [ -f "$results" ] && grep -q '^<!-- campaign:begin -->$' "$results"; then
        # Only the generated block is replaced; what was written around it stays.
        awk -v section="$section" '
            /^<!-- campaign:begin -->$/ { while ((getline line < section) > 0) print line; skip = 1; next }
            /^<!-- campaign:end -->$/ { skip = 0; next }
            !skip' "$results" >"$results.new"
        mv "$results.new" "$results"
    else
        { [ -f "$results" ] && cat "$results" && echo; echo "## Robustness campaign"; echo; cat "$section"; } >"$results.new"
        mv "$results.new" "$results"
    fi
    rm -f "$section"
    echo "Report written to $results"
fi
exit $status
