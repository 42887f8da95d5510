#!/usr/bin/env bash
# Benchmark of ZantoSetup's installation. On three payloads (big: one file of 256 MiB; many: 5,000
# files of 4 KiB in 50 folders; mixed: 300 files, 200 MiB in all), each packed into one MSZIP
# data.cab on a demo medium, it times side by side:
#   ZantoSetup   from the click on Next on the start menu page to the success message, driven
#                through its window (bench/driver), while a probe sends the window WM_NULL every
#                10 ms and notes how long each answer takes
#   floor        SetupIterateCabinetA alone into the same folder (bench/floor)
#   floor+pass   the same with one SendMessage and one PeekMessage pass per file
#   NSIS         an NSIS installer (makensis, zlib) of the same files, run silently (/S)
#   cabextract   native cabextract, as a reference
# and the start-up of ZantoSetup.exe up to its language dialog. Everything that runs under Wine is
# built for the architecture under test (scripts/arch.sh; ZANTO_ARCH forces it). Prints the table of
# medians and writes it to bench/RESULTS.md under "## Benchmark", leaving the rest of that file alone.
#
# Usage: bench/run-bench.sh [--runs N] [--payloads "big many mixed"] [--results FILE] [--exe FILE]
#
#   --runs N      timed runs of each contender per payload (default 5), after one warm-up round
#   --payloads    which payloads, in this order (default all three)
#   --results     the Markdown file that receives the section (default bench/RESULTS.md)
#   --exe FILE    time this ZantoSetup.exe instead of the tree's, e.g. a trial build of a change
#
# Builds into $ZANTO_BUILD (default build/), under bench/ of the tree under test; the generated
# payloads, media and installers stay there for the next run (about 1.5 GB).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${ZANTO_BUILD:-$top/build}
runs=5
payloads=(big many mixed)
results=$top/bench/RESULTS.md
startups=20
exe=""

while [ $# -gt 0 ]; do
    case $1 in
    --runs) runs=$2 && shift 2 ;;
    --payloads) read -r -a payloads <<<"$2" && shift 2 ;;
    --results) results=$2 && shift 2 ;;
    --exe) exe=$(realpath "$2") && shift 2 ;;
    *)
        sed -n '2,27s/^# \{0,1\}//p' "$0" >&2
        exit 2
        ;;
    esac
done
[[ $runs =~ ^[1-9][0-9]?$ ]] || {
    echo "error: --runs needs 1..99" >&2
    exit 2
}
for payload in "${payloads[@]}"; do
    case $payload in big | many | mixed) ;; *)
        echo "error: no payload \"$payload\" (big, many, mixed)" >&2
        exit 2
        ;;
    esac
done

"$top/scripts/install-deps.sh"
command -v makensis >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends nsis
. "$top/scripts/arch.sh"
arch_choose Benchmarking
ZANTO_BUILD=$build "$top/scripts/build.sh" "$ZANTO_ARCH"
tree=$(cd "$(arch_tree "$build" "$ZANTO_ARCH")" && pwd)
bench=$tree/bench
exe=${exe:-$tree/ZantoSetup.exe}
mkdir -p "$bench"

case $ZANTO_ARCH in
x86) toolchain=mingw-i686 nsis_target=x86-unicode ;;
x64) toolchain=mingw-x86_64 nsis_target=amd64-unicode ;;
esac

echo "Building the benchmark's helpers..."
cmake -S "$top/bench" -B "$bench/build" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/$toolchain.cmake" >/dev/null
cmake --build "$bench/build" -j 2 >/dev/null
driver=$bench/build/bench_driver.exe
floor=$bench/build/cab_floor.exe
mkdir -p "$bench/tools"
if [ ! "$bench/tools/payloadgen" -nt "$top/bench/tools/payloadgen.cpp" ]; then
    g++ -std=c++17 -O2 -Wall -Wextra -o "$bench/tools/payloadgen" "$top/bench/tools/payloadgen.cpp"
fi

windows_path() {
    local path=$1
    echo "Z:${path//\//\\}"
}

# Payloads and their cabinets are made once; a changed generator makes them anew. The NSIS
# installers are made again whenever their script changes.
export LC_ALL=C TZ=UTC
stamp=$(sha256sum "$top/bench/tools/payloadgen.cpp" | cut -c1-16)
make_payload() {
    local name=$1 dir=$bench/payloads/$1
    if [ ! -f "$dir/stamp" ] || [ "$(cat "$dir/stamp")" != "$stamp" ]; then
        echo "Generating the payload \"$name\"..."
        rm -rf "$dir"
        mkdir -p "$dir"
        "$bench/tools/payloadgen" "$name" "$dir/files"
        find "$dir/files" -type f -exec touch -d "2024-05-01 12:00:00" {} +
        local members
        mapfile -t members < <(cd "$dir/files" && find . -type f -printf '%P\n' | sort)
        (cd "$dir/files" && gcab -c -z "$dir/data.cab" "${members[@]}")
        (cd "$dir/files" && find . -type f -printf '%P\t%s\n' | sort) >"$dir/files.tsv"
        echo "$stamp" >"$dir/stamp"
    fi
    # The same files for NSIS, compressed with zlib, its default and the nearest to MSZIP.
    make_nsis "$dir" "File /r \"$dir/files/*\""
}

# An NSIS installer that runs the given line into the folder that every contender writes to.
make_nsis() {
    local dir=$1 script
    mkdir -p "$dir"
    script=$(
        cat <<EOF
Target $nsis_target
Name "Zanto Benchmark"
OutFile "$dir/nsis-setup.exe"
InstallDir "C:\\ZantoBench\\Zanto"
RequestExecutionLevel user
SetCompressor zlib
Section
    SetOutPath "\$INSTDIR"
    $2
SectionEnd
EOF
    )
    if [ -f "$dir/nsis-setup.exe" ] && [ "$(cat "$dir/setup.nsi" 2>/dev/null)" = "$script" ]; then
        return
    fi
    echo "Building the NSIS installer $dir/nsis-setup.exe..."
    echo "$script" >"$dir/setup.nsi"
    makensis -V1 "$dir/setup.nsi"
}

# An installer without files: what NSIS costs before it writes anything.
make_empty_nsis() {
    make_nsis "$bench/payloads/empty" ""
}

# The demo medium with the payload's cabinet and byte counts: the free-space check and the progress
# then count the payload. ZantoSetup reads the medium from its own folder.
make_medium() {
    local name=$1 medium=$bench/media/$1 language_bytes
    rm -rf "$medium"
    mkdir -p "$medium"
    cp -R "$bench/base/." "$medium/"
    rm -f "$medium/data.cab"
    ln "$bench/payloads/$name/data.cab" "$medium/data.cab"
    cp "$exe" "$medium/ZantoSetup.exe"
    local bytes
    bytes=$(awk -F'\t' '{ total += $2 } END { print total }' "$bench/payloads/$name/files.tsv")
    for ini in setup_en.ini setup_ger.ini; do
        language_bytes=$(sed -n 's/^LanguageSize:\([0-9]*\)\r$/\1/p' "$bench/base/$ini")
        printf 'Folder:Zanto\r\nSize:%s\r\nLanguageSize:%s\r\n' "$bytes" "$language_bytes" >"$medium/$ini"
    done
}

for payload in "${payloads[@]}"; do
    make_payload "$payload"
done
make_empty_nsis
echo "Building the demo medium..."
"$top/demo/build-medium.sh" "$bench/base" --arch "$ZANTO_ARCH" --data-kib 16 >/dev/null
for payload in "${payloads[@]}"; do
    make_medium "$payload"
done

. "$top/scripts/wine-session.sh"
wine_session_start "$bench" "$ZANTO_ARCH"

target_win='C:\ZantoBench\Zanto'
target_unix=$WINEPREFIX/drive_c/ZantoBench
menu_folder='\Zanto Bench'
clean_target() {
    rm -rf "$target_unix"
}
finish() {
    clean_target
    wine_session_end
}
trap finish EXIT

# A Windows program's text output ends its lines with CR LF. Wine's note that drive Z: has no
# volume label says nothing about the run.
in_wine() {
    timeout --kill-after=10 1000 "$ZANTO_WINE" "$@" 2> >(grep -v 'FS volume label and serial are not available' >&2) |
        tr -d '\r'
}

# Every file of the payload, with its size, must be in the install folder after a run.
check_target() {
    local name=$1 who=$2 missing
    missing=$(comm -23 "$bench/payloads/$name/files.tsv" \
        <(cd "$target_unix/Zanto" 2>/dev/null && find . -type f -printf '%P\t%s\n' | sort) | head -3)
    if [ -n "$missing" ]; then
        echo "error: $who did not install the payload \"$name\" whole; missing or wrong, e.g.:" >&2
        echo "$missing" >&2
        exit 1
    fi
}

# Runs one contender once on one payload and prints its seconds.
run_once() {
    local name=$1 who=$2 probes=$3 seconds start
    clean_target
    sync
    case $who in
    zanto)
        seconds=$(in_wine "$driver" install "$(windows_path "$bench/media/$name")" "$target_win" "$menu_folder" \
            "$(windows_path "$probes")" | tail -n1)
        ;;
    floor)
        seconds=$(in_wine "$floor" "$(windows_path "$bench/payloads/$name/data.cab")" "$target_win" | tail -n1)
        seconds=${seconds%% *}
        ;;
    pass)
        seconds=$(in_wine "$floor" "$(windows_path "$bench/payloads/$name/data.cab")" "$target_win" pass | tail -n1)
        seconds=${seconds%% *}
        ;;
    nsis)
        seconds=$(in_wine "$driver" run "$(windows_path "$bench/payloads/$name/nsis-setup.exe")" /S \
            "/D=$target_win" | tail -n1)
        ;;
    cabextract)
        mkdir -p "$target_unix/Zanto"
        start=$EPOCHREALTIME
        timeout 1000 cabextract -q -d "$target_unix/Zanto" "$bench/payloads/$name/data.cab"
        seconds=$(awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.4f", b - a }')
        ;;
    esac
    [[ $seconds =~ ^[0-9]+\.[0-9]+$ ]] || {
        echo "error: $who on \"$name\" gave no time" >&2
        exit 1
    }
    check_target "$name" "$who"
    echo "$seconds"
}

median() {
    sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
load1() {
    cut -d' ' -f1 /proc/loadavg
}

contenders=(zanto floor pass nsis cabextract)
data=$bench/results
rm -rf "$data"
mkdir -p "$data"
started=$(date -u '+%Y-%m-%d %H:%M UTC')
for name in "${payloads[@]}"; do
    echo "Payload \"$name\": one warm-up round, then $runs rounds of ${contenders[*]}"
    load_before=$(load1)
    for round in $(seq 0 "$runs"); do
        line="  round $round:"
        for who in "${contenders[@]}"; do
            seconds=$(run_once "$name" "$who" "$data/probes-$name-$round.txt")
            line+=" $who $seconds"
            if [ "$round" -gt 0 ]; then
                echo "$seconds" >>"$data/$name-$who.txt"
            fi
        done
        echo "$line$([ "$round" -eq 0 ] && echo " (warm-up, not counted)")"
    done
    echo "$load_before $(load1)" >"$data/$name-load.txt"
done
clean_target

echo "Start-up: $startups starts after two warm-up starts"
load_before=$(load1)
in_wine "$driver" startup "$(windows_path "$bench/media/${payloads[0]}")" "$startups" >"$data/startup.txt"
for _ in $(seq "$runs"); do
    in_wine "$driver" run "$(windows_path "$bench/payloads/empty/nsis-setup.exe")" /S "/D=$target_win" |
        tail -n1 >>"$data/nsis-empty.txt"
done
echo "$load_before $(load1)" >"$data/startup-load.txt"
clean_target

# ---- The report ----
fmt() { awk -v v="$1" 'BEGIN { printf "%.2f", v }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
le() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a <= b) }'; }
verdict() { if "$@"; then echo met; else echo "**missed**"; fi; }

# Nearest-rank percentile of the pooled answer times of one payload.
percentile() {
    awk -v p="$2" '{ v[NR] = $1 } END { if (NR == 0) { print "-"; exit } r = int(p * NR); if (r < p * NR) r++; if (r < 1) r = 1; printf "%.1f", v[r] }' <(sort -g "$1")
}

cpu=$(sed -n 's/^model name\s*: //p' /proc/cpuinfo | head -n1)
section=$(mktemp)
goals=$(mktemp)
{
    echo "## Benchmark"
    echo
    echo "Made by \`bench/run-bench.sh\` on $started: $runs runs of each contender per payload, in rounds"
    echo "(ZantoSetup, floor, floor + pass, NSIS, cabextract, then again), after one warm-up round;"
    echo "medians in seconds. Host: $cpu, $(nproc) cores, $(uname -r), $("$ZANTO_WINE" --version),"
    echo "$(df -T "$bench" | awk 'NR == 2 { print $2 }'); the $([ "$ZANTO_ARCH" = x86 ] && echo 32 || echo 64)-bit build and helpers, NSIS target $nsis_target."
    echo "Other work ran on the machine at the same time: the load column gives the 1-minute load"
    echo "average before and after each payload's runs."
    echo
    echo "| Payload | ZantoSetup | floor | floor + pass | NSIS | cabextract | Zanto / floor | Zanto / (floor + pass) | Zanto / NSIS | load |"
    echo "|---|---:|---:|---:|---:|---:|---:|---:|---:|---|"
    for name in "${payloads[@]}"; do
        declare -A m=()
        for who in "${contenders[@]}"; do
            m[$who]=$(median <"$data/$name-$who.txt")
        done
        read -r lb la <"$data/$name-load.txt"
        echo "| $name | $(fmt "${m[zanto]}") | $(fmt "${m[floor]}") | $(fmt "${m[pass]}") | $(fmt "${m[nsis]}") |" \
            "$(fmt "${m[cabextract]}") | $(ratio "${m[zanto]}" "${m[floor]}") | $(ratio "${m[zanto]}" "${m[pass]}") |" \
            "$(ratio "${m[zanto]}" "${m[nsis]}") | $lb → $la |"
        limit=$(awk -v p="${m[pass]}" 'BEGIN { printf "%.2f", 1.15 * p }')
        echo "| $name: ZantoSetup ≤ 1.15 × (floor + pass) = $limit s | $(fmt "${m[zanto]}") s | $(verdict le "${m[zanto]}" "$limit") |" >>"$goals"
        echo "| $name: ZantoSetup faster than NSIS ($(fmt "${m[nsis]}") s) | $(fmt "${m[zanto]}") s | $(verdict awk -v a="${m[zanto]}" -v b="${m[nsis]}" 'BEGIN { exit !(a < b) }') |" >>"$goals"
        if [ "$name" = big ]; then
            limit=$(awk -v n="${m[nsis]}" 'BEGIN { printf "%.2f", 0.5 * n }')
            echo "| big: ZantoSetup ≤ 0.5 × NSIS = $limit s | $(fmt "${m[zanto]}") s | $(verdict le "${m[zanto]}" "$limit") |" >>"$goals"
        fi
        unset m
    done
    echo
    echo "All runs (seconds, in the order they ran):"
    echo
    for name in "${payloads[@]}"; do
        for who in "${contenders[@]}"; do
            echo "- $name, $who: $(paste -sd' ' "$data/$name-$who.txt")"
        done
    done
    echo
    echo "Responsiveness of ZantoSetup's window during the installation (answer times of WM_NULL sent"
    echo "every 10 ms with SendMessageTimeout, all runs pooled):"
    echo
    echo "| Payload | probes | p50 ms | p99 ms | max ms |"
    echo "|---|---:|---:|---:|---:|"
    for name in "${payloads[@]}"; do
        pooled=$data/probes-$name.txt
        for round in $(seq "$runs"); do cat "$data/probes-$name-$round.txt"; done >"$pooled"
        p99=$(percentile "$pooled" 0.99)
        echo "| $name | $(wc -l <"$pooled") | $(percentile "$pooled" 0.50) | $p99 | $(percentile "$pooled" 1) |"
        if [ "$name" != big ]; then
            echo "| $name: responsiveness p99 ≤ 50 ms | $p99 ms | $(verdict le "$p99" 50) |" >>"$goals"
        fi
    done
    echo
    startup=$(median <"$data/startup.txt")
    read -r lb la <"$data/startup-load.txt"
    echo "Start-up, warm: from CreateProcess to the visible language dialog, median of $startups starts"
    echo "after two warm-up starts: **$(fmt "$startup") s** (all: $(sort -g "$data/startup.txt" | paste -sd' '); load $lb → $la)."
    echo "For comparison, an NSIS installer without files takes $(fmt "$(median <"$data/nsis-empty.txt")") s from"
    echo "CreateProcess to its end with /S: that much of each NSIS figure above is its start and end."
    echo "| start-up ≤ 0.15 s | $(fmt "$startup") s | $(verdict le "$startup" 0.15) |" >>"$goals"
    echo
    echo "| Goal | measured | |"
    echo "|---|---:|---|"
    cat "$goals"
    echo
    echo "What is timed: ZantoSetup from the posted click on Next (Install) on the start menu page to its"
    echo "success message being visible; this includes the copy of the language files, the five"
    echo "shortcuts, the uninstall record and whatever the program does before its message. The floor"
    echo "and floor + pass: the call of SetupIterateCabinetA inside the helper. NSIS: from"
    echo "CreateProcess to the installer's end. cabextract: the native process, from the shell."
    echo "Every contender writes into the same empty folder C:\\ZantoBench\\Zanto of a Wine prefix on"
    echo "the same disk; the folder is removed and the disk synced before every run, and each run's"
    echo "files are checked against the payload. Payloads: big, one file of 256 MiB; many, 5,000 files"
    echo "of 4 KiB in 50 folders; mixed, 300 files in 10 folders, 200 MiB in all, sizes spread"
    echo "evenly on a log scale from 1 KiB to 6 MiB. Their bytes compress as game data does (MSZIP"
    echo "keeps about 70 %); see bench/tools/payloadgen.cpp. Cabinets:"
    for name in "${payloads[@]}"; do
        echo "$name $(($(stat -c %s "$bench/payloads/$name/data.cab") / 1024)) KiB,"
    done | paste -sd' ' | sed 's/,$/./'
} >"$section"
rm -f "$goals"

cat "$section"
# Only this section of the results file is replaced; other sections stay as they are.
if [ -f "$results" ]; then
    awk -v section="$section" '
        /^## Benchmark$/ { while ((getline line < section) > 0) print line; skip = 1; done = 1; next }
        skip && /^#{1,2} / { skip = 0; print "" }
        !skip { print }
        END { if (!done) { print ""; while ((getline line < section) > 0) print line } }
    ' "$results" >"$results.new"
    mv "$results.new" "$results"
else
    cp "$section" "$results"
fi
rm -f "$section"
echo "Written to $results"
