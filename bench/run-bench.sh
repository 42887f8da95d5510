#!/usr/bin/env bash
# Benchmark of ZantoSetup's installation. On three payloads (big: one file of 256 MiB; many: 5,000
# files of 4 KiB in 50 folders; mixed: 300 files, 200 MiB in all), each packed into one MSZIP
# data.cab on a demo medium, it times side by side:
#   ZantoSetup   from the click on Next on the start menu page to the success message (full
#                time) and to the bar at 100 % with the work done (work time, read off its status
#                line and bar every 2 ms), driven through its window (bench/driver), while a probe
#                sends the window WM_NULL every 10 ms and notes how long each answer takes
#   floor        SetupIterateCabinetA alone into the same folder (bench/floor)
#   floor+pass   the same with one SendMessage and one PeekMessage pass per file
#   NSIS silent  an NSIS installer (makensis, zlib) of the same files, run silently (/S)
#   NSIS windowed  the same installer with its install-files page, progress bar and details list
#   cabextract   native cabextract, as a reference
# and the start-up of ZantoSetup.exe up to its language dialog. Everything that runs under Wine is
# built for the architecture under test (scripts/arch.sh; ZANTO_ARCH forces it). Prints the table of
# medians and writes it to bench/RESULTS.md under "## Benchmark", leaving the rest of that file alone.
#
# Usage: bench/run-bench.sh [--runs N] [--payloads "big many mixed"] [--data "random game"]
#                           [--quiet-wait S] [--results FILE] [--exe FILE] [--setup-args ARGS]
#
#   --runs N        timed runs of each contender per payload (default 5), after one warm-up round
#   --payloads      which payloads, in this order (default all three)
#   --data          which kinds of bytes (default random): random, which no compressor shrinks,
#                   and game, which MSZIP keeps about 70 % of (see bench/tools/payloadgen.cpp)
#   --quiet-wait S  before each run, wait up to S seconds (default 30) for a moment in which other
#                   processes keep the CPUs less than 25 % busy; 0 does not wait
#   --results FILE  the Markdown file that receives the section (default bench/RESULTS.md)
#   --exe FILE      time this ZantoSetup.exe instead of the tree's, e.g. a trial build of a change
#   --setup-args ARGS  start ZantoSetup.exe with these switches, e.g. "/LOG=run.log" (a relative
#                   path lies in the medium's folder) to time the installation with its log
#
# Builds into $ZANTO_BUILD (default build/), under bench/ of the tree under test; the generated
# payloads, media and installers stay there for the next run (about 1.5 GB for each kind of data).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${ZANTO_BUILD:-$top/build}
runs=5
payloads=(big many mixed)
kinds=(random)
quiet_wait=30
results=$top/bench/RESULTS.md
exe=""
startups=20

usage() {
    sed -n '2,34s/^# \{0,1\}//p' "$0" >&2
    exit 2
}
while [ $# -gt 0 ]; do
    if [ "$1" = -h ] || [ "$1" = --help ]; then
        sed -n '2,34s/^# \{0,1\}//p' "$0"
        exit 0
    fi
    [ $# -ge 2 ] || usage
    case $1 in
    --runs) runs=$2 ;;
    --payloads) read -r -a payloads <<<"$2" ;;
    --data) read -r -a kinds <<<"$2" ;;
    --quiet-wait) quiet_wait=$2 ;;
    --results) results=$(realpath "$2") ;;
    --exe) exe=$(realpath "$2") ;;
    --setup-args) export ZANTO_BENCH_SETUP_ARGS=$2 ;;
    *) usage ;;
    esac
    shift 2
done
[[ $runs =~ ^[1-9][0-9]?$ ]] || usage
[[ $quiet_wait =~ ^[0-9]{1,4}$ ]] || usage
for payload in "${payloads[@]}"; do
    [[ $payload =~ ^(big|many|mixed)$ ]] || usage
done
for kind in "${kinds[@]}"; do
    [[ $kind =~ ^(random|game)$ ]] || usage
done
[ -z "$exe" ] || [ -f "$exe" ] || {
    echo "error: no program $exe" >&2
    exit 2
}

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
    local name=$1 kind=$2 dir=$bench/payloads/$2/$1
    if [ ! -f "$dir/stamp" ] || [ "$(cat "$dir/stamp")" != "$stamp" ]; then
        echo "Generating the payload \"$name\" of $kind data..."
        rm -rf "$dir"
        mkdir -p "$dir"
        "$bench/tools/payloadgen" "$name" "$kind" "$dir/files"
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

# An NSIS installer that runs the given line into the folder that every contender writes to, built
# twice from one script: nsis-setup.exe, run silently, and nsis-window.exe, which shows its
# install-files page as NSIS does by default (progress bar and details list) and closes at the end.
make_nsis() {
    local dir=$1 script
    mkdir -p "$dir"
    script=$(
        cat <<EOF
Target $nsis_target
Name "Zanto Benchmark"
!ifdef WINDOWED
OutFile "$dir/nsis-window.exe"
Page instfiles
ShowInstDetails show
AutoCloseWindow true
!else
OutFile "$dir/nsis-setup.exe"
!endif
InstallDir "C:\\ZantoBench\\Zanto"
RequestExecutionLevel user
SetCompressor zlib
Section
    SetOutPath "\$INSTDIR"
    $2
SectionEnd
EOF
    )
    if [ -f "$dir/nsis-setup.exe" ] && [ -f "$dir/nsis-window.exe" ] &&
        [ "$(cat "$dir/setup.nsi" 2>/dev/null)" = "$script" ]; then
        return
    fi
    echo "Building the NSIS installers $dir/nsis-setup.exe and nsis-window.exe..."
    echo "$script" >"$dir/setup.nsi"
    makensis -V1 "$dir/setup.nsi"
    makensis -V1 -DWINDOWED "$dir/setup.nsi"
}

# The demo medium with the payload's cabinet and byte counts: the free-space check and the progress
# then count the payload. ZantoSetup reads the medium from its own folder.
make_medium() {
    local name=$1 kind=$2 medium=$bench/media/$2/$1 bytes language_bytes ini
    rm -rf "$medium"
    mkdir -p "$medium"
    cp -R "$bench/base/." "$medium/"
    rm -f "$medium/data.cab"
    ln "$bench/payloads/$kind/$name/data.cab" "$medium/data.cab"
    cp "$exe" "$medium/ZantoSetup.exe"
    bytes=$(awk -F'\t' '{ total += $2 } END { print total }' "$bench/payloads/$kind/$name/files.tsv")
    for ini in setup_en.ini setup_ger.ini; do
        language_bytes=$(sed -n 's/^LanguageSize:\([0-9]*\)\r$/\1/p' "$bench/base/$ini")
        printf 'Folder:Zanto\r\nSize:%s\r\nLanguageSize:%s\r\n' "$bytes" "$language_bytes" >"$medium/$ini"
    done
}

for kind in "${kinds[@]}"; do
    for payload in "${payloads[@]}"; do
        make_payload "$payload" "$kind"
    done
done
make_nsis "$bench/payloads/empty" ""
echo "Building the demo medium..."
"$top/demo/build-medium.sh" "$bench/base" --arch "$ZANTO_ARCH" --uninstall "$tree/uninstall.exe" --data-kib 16 >/dev/null
rm -rf "$bench/media"
for kind in "${kinds[@]}"; do
    for payload in "${payloads[@]}"; do
        make_medium "$payload" "$kind"
    done
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
# Wine's services start with the first program of a session and keep its output handles: that
# program must not write into a pipe that a caller waits on.
timeout 120 "$ZANTO_WINE" cmd /c exit >/dev/null 2>&1 </dev/null || true

# How busy the CPUs were over half a second, in percent, and a wait for a quieter moment.
cpu_busy() {
    local user nice system idle iowait irq softirq steal busy0 total0
    read -r _ user nice system idle iowait irq softirq steal _ </proc/stat
    busy0=$((user + nice + system + irq + softirq + steal)) total0=$((busy0 + idle + iowait))
    sleep 0.5
    read -r _ user nice system idle iowait irq softirq steal _ </proc/stat
    busy=$((user + nice + system + irq + softirq + steal))
    echo $((100 * (busy - busy0) / (busy + idle + iowait - total0)))
}
wait_quiet() {
    local deadline=$((SECONDS + quiet_wait)) busy
    while :; do
        busy=$(cpu_busy)
        if [ "$busy" -lt 25 ] || [ $SECONDS -ge $deadline ]; then
            echo "$busy"
            return
        fi
    done
}

# Every file of the payload, with its size, must be in the install folder after a run.
check_target() {
    local list=$1 who=$2 missing
    missing=$(comm -23 "$list" \
        <(cd "$target_unix/Zanto" 2>/dev/null && find . -type f -printf '%P\t%s\n' | sort) | head -3)
    if [ -n "$missing" ]; then
        echo "error: $who did not install $list whole; missing or wrong, e.g.:" >&2
        echo "$missing" >&2
        exit 1
    fi
}

# Runs one contender once on one payload; sets seconds, and busy as the run found the CPUs; for
# ZantoSetup, seconds is its full time and steps its work time, the time of its language tree step
# and that of its shortcuts and record (see bench/driver/BenchDriver.cpp). The folder it writes to
# is empty and the disk synced before, so that no run pays for the previous one's writes.
run_once() {
    local name=$1 kind=$2 who=$3 probes=$4 payload=$bench/payloads/$2/$1 start
    clean_target
    sync
    busy=$(wait_quiet)
    case $who in
    zanto)
        steps=$(in_wine "$driver" install "$(windows_path "$bench/media/$kind/$name")" "$target_win" \
            "$menu_folder" "$(windows_path "$probes")" | tail -n1)
        [[ $steps =~ ^[0-9]+\.[0-9]+(\ [0-9]+\.[0-9]+){3}$ ]] || {
            echo "error: ZantoSetup on \"$name\" ($kind data) gave no times" >&2
            exit 1
        }
        seconds=${steps%% *} steps=${steps#* }
        ;;
    floor | pass)
        seconds=$(in_wine "$floor" "$(windows_path "$payload/data.cab")" "$target_win" \
            $([ "$who" = pass ] && echo pass) | tail -n1)
        seconds=${seconds%% *}
        ;;
    nsis)
        seconds=$(in_wine "$driver" run "$(windows_path "$payload/nsis-setup.exe")" /S "/D=$target_win" |
            tail -n1)
        ;;
    nsis-window)
        seconds=$(in_wine "$driver" run "$(windows_path "$payload/nsis-window.exe")" "/D=$target_win" | tail -n1)
        ;;
    cabextract)
        mkdir -p "$target_unix/Zanto"
        start=$EPOCHREALTIME
        timeout 1000 cabextract -q -d "$target_unix/Zanto" "$payload/data.cab"
        seconds=$(awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.4f", b - a }')
        ;;
    esac
    [[ $seconds =~ ^[0-9]+\.[0-9]+$ ]] || {
        echo "error: $who on \"$name\" ($kind data) gave no time" >&2
        exit 1
    }
    check_target "$payload/files.tsv" "$who"
}

# ==== Removal: the uninstall program beside the setup program's Deinstall ====
# On each payload's medium: an installation through the wizard, then its removal, timed from the
# Yes to the question until the removal is done (the record gone, which both programs delete
# last) and until the program shows it (the start page offering Install again; the uninstall
# program's closing message), by the two programs in turn. The uninstall program is the
# tree's, started without a command line as Windows starts it. Goal: the uninstall program within
# 1.1 × the setup program's Deinstall. Its section "## Removal" in the results file is its own.
# ZANTO_BENCH_PART=removal runs this part alone (on the payloads made above).
# Kept apart from the report's helpers below, so that this part runs before them when alone.
removal_median() {
    sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
removal_bench_part() {
    local removal=$bench/build/removal_bench.exe uninstall=$tree/uninstall.exe kind name id who round
    local section ms mu ss su
    local out=$bench/results-removal
    rm -rf "$out"
    mkdir -p "$out"
    local began
    began=$(date -u '+%Y-%m-%d %H:%M UTC')
    for kind in "${kinds[@]}"; do
        for name in "${payloads[@]}"; do
            id=$kind-$name
            echo "Removal of \"$name\", $kind data: one warm-up round, then $runs rounds of setup, uninstall"
            for round in $(seq 0 "$runs"); do
                for who in setup uninstall; do
                    clean_target
                    sync
                    wait_quiet >/dev/null
                    seconds=$(in_wine "$removal" "$who" "$(windows_path "$bench/media/$kind/$name")" "$target_win" \
                        "$menu_folder" $([ "$who" = uninstall ] && windows_path "$uninstall") | tail -n1)
                    [[ $seconds =~ ^[0-9]+\.[0-9]+\ [0-9]+\.[0-9]+$ ]] || {
                        echo "error: the removal by $who on \"$name\" ($kind data) gave no time" >&2
                        exit 1
                    }
                    echo "  round $round: $who $seconds$([ "$round" -eq 0 ] && echo " (warm-up, not counted)")"
                    [ "$round" -eq 0 ] || {
                        echo "${seconds% *}" >>"$out/$id-$who.txt"
                        echo "${seconds#* }" >>"$out/$id-$who-shown.txt"
                    }
                done
            done
        done
    done
    clean_target

    section=$(mktemp)
    {
        echo "## Removal"
        echo
        echo "Made by \`ZANTO_BENCH_PART=removal bench/run-bench.sh --runs $runs --payloads \"${payloads[*]}\" --data \"${kinds[*]}\"\`"
        echo "on $began, on the host of the section \"Benchmark\", load \`$(uptime)\` at the end. The"
        echo "$([ "$ZANTO_ARCH" = x86 ] && echo 32 || echo 64)-bit programs: ZantoSetup.exe $(stat -c %s "$exe") bytes, uninstall.exe $(stat -c %s "$uninstall") bytes."
        echo "Medians of $runs runs, in seconds, after one warm-up round, from the Yes to the Deinstall question"
        echo "(the uninstall program, started as Windows starts it, hands over to its copy in the temporary"
        echo "folder first, before the question). *Removed*: until the record went, which both programs delete"
        echo "after everything else; the goal is judged on it. *Shown*: until the program shows the end, the"
        echo "setup program its start page offering Install again, the uninstall program its closing message"
        echo "(a new top-level window, which Wine makes in about 30 ms)."
        echo
        echo "| Payload | data | Deinstall, removed | uninstall.exe, removed | ratio | goal ≤ 1.1 | Deinstall, shown | uninstall.exe, shown | ratio |"
        echo "|---|---|---:|---:|---:|---|---:|---:|---:|"
        for kind in "${kinds[@]}"; do
            for name in "${payloads[@]}"; do
                id=$kind-$name
                ms=$(removal_median <"$out/$id-setup.txt")
                mu=$(removal_median <"$out/$id-uninstall.txt")
                ss=$(removal_median <"$out/$id-setup-shown.txt")
                su=$(removal_median <"$out/$id-uninstall-shown.txt")
                awk -v n="$name" -v k="$kind" -v s="$ms" -v u="$mu" -v ss="$ss" -v su="$su" 'BEGIN {
                    printf "| %s | %s | %.3f | %.3f | %.2f | %s | %.3f | %.3f | %.2f |\n", n, k, s, u, u / s,
                        u <= 1.1 * s ? "met" : "**missed**", ss, su, su / ss }'
            done
        done
        echo
        echo "All runs, in the order they ran:"
        echo
        for kind in "${kinds[@]}"; do
            for name in "${payloads[@]}"; do
                for who in setup uninstall; do
                    echo "- $name, $kind, $who, removed: $(paste -sd' ' "$out/$kind-$name-$who.txt")"
                    echo "- $name, $kind, $who, shown: $(paste -sd' ' "$out/$kind-$name-$who-shown.txt")"
                done
            done
        done
    } >"$section"
    cat "$section"
    if [ -f "$results" ]; then
        awk -v section="$section" '
            /^## Removal$/ { while ((getline line < section) > 0) print line; skip = 1; found = 1; next }
            skip && /^##? / { skip = 0; print "" }
            !skip { print }
            END { if (!found) { print ""; while ((getline line < section) > 0) print line } }
        ' "$results" >"$results.new"
        mv "$results.new" "$results"
    else
        cp "$section" "$results"
    fi
    rm -f "$section"
    echo "Removal written to $results"
}
# ==== The log: ZantoSetup's installation with and without /LOG ====
# ZANTO_BENCH_PART=log times ZantoSetup alone on the payloads made above, in rounds that run it
# without switches and with /LOG (a file beside it on the medium) in turn, and prints the medians
# of both full times and their ratio; it writes no results file.
log_bench_part() {
    local out=$bench/results-log kind name id who round steps_with
    rm -rf "$out"
    mkdir -p "$out"
    for kind in "${kinds[@]}"; do
        for name in "${payloads[@]}"; do
            id=$kind-$name
            echo "ZantoSetup on \"$name\", $kind data, without and with /LOG: one warm-up round, then $runs rounds"
            for round in $(seq 0 "$runs"); do
                # Each goes first in every other round, so that neither pays for the order.
                for who in $([ $((round % 2)) -eq 0 ] && echo plain log || echo log plain); do
                    if [ "$who" = log ]; then
                        export ZANTO_BENCH_SETUP_ARGS='/LOG="zanto-bench.log"'
                    else
                        unset ZANTO_BENCH_SETUP_ARGS
                    fi
                    run_once "$name" "$kind" zanto "$out/probes.txt"
                    [ "$round" -eq 0 ] || echo "$seconds" >>"$out/$id-$who.txt"
                    echo "  round $round, $who: $seconds s (work, language tree, shortcuts and record: $steps)"
                done
            done
            steps_with=$(grep -c 'File written: ' "$bench/media/$kind/$name/zanto-bench.log" || true)
            local plain logged
            plain=$(removal_median <"$out/$id-plain.txt")
            logged=$(removal_median <"$out/$id-log.txt")
            echo "  medians of $runs runs: without /LOG $plain s, with /LOG $logged s ($steps_with files logged);" \
                "ratio $(awk -v a="$logged" -v b="$plain" 'BEGIN { printf "%.3f", a / b }')"
        done
    done
}

if [ "${ZANTO_BENCH_PART:-}" = removal ]; then
    removal_bench_part
    exit 0
fi
if [ "${ZANTO_BENCH_PART:-}" = log ]; then
    log_bench_part
    exit 0
fi
# ==== end of Removal ====

load1() {
    cut -d' ' -f1 /proc/loadavg
}

contenders=(zanto floor pass nsis nsis-window cabextract)
data=$bench/results
rm -rf "$data"
mkdir -p "$data"
started=$(date -u '+%Y-%m-%d %H:%M UTC')
uptime_before=$(uptime)
for kind in "${kinds[@]}"; do
    for name in "${payloads[@]}"; do
        id=$kind-$name
        echo "Payload \"$name\", $kind data: one warm-up round, then $runs rounds of ${contenders[*]}"
        load_before=$(load1)
        for round in $(seq 0 "$runs"); do
            line="  round $round:"
            for who in "${contenders[@]}"; do
                run_once "$name" "$kind" "$who" "$data/probes-$id-$round.txt"
                line+=" $who $seconds"
                [ "$who" != zanto ] || line+=" (work, language tree, shortcuts and record: $steps)"
                if [ "$round" -gt 0 ]; then
                    echo "$seconds" >>"$data/$id-$who.txt"
                    [ "$who" != zanto ] || echo "$steps" >>"$data/$id-steps.txt"
                    echo "$busy" >>"$data/$id-busy.txt"
                fi
            done
            echo "$line$([ "$round" -eq 0 ] && echo " (warm-up, not counted)")"
        done
        echo "$load_before $(load1)" >"$data/$id-load.txt"
    done
done
clean_target

echo "Start-up: $startups starts after two warm-up starts"
load_before=$(load1)
busy=$(wait_quiet)
in_wine "$driver" startup "$(windows_path "$bench/media/${kinds[0]}/${payloads[0]}")" "$startups" >"$data/startup.txt"
for _ in $(seq "$runs"); do
    in_wine "$driver" run "$(windows_path "$bench/payloads/empty/nsis-setup.exe")" /S "/D=$target_win" |
        tail -n1 >>"$data/nsis-empty.txt"
    in_wine "$driver" run "$(windows_path "$bench/payloads/empty/nsis-window.exe")" "/D=$target_win" |
        tail -n1 >>"$data/nsis-window-empty.txt"
done
echo "$load_before $(load1) $busy" >"$data/startup-load.txt"
clean_target
uptime_after=$(uptime)

# ---- The report ----
median() {
    sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
fmt() { awk -v v="$1" 'BEGIN { printf "%.2f", v }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
verdict() { if awk -v a="$1" -v b="$3" "BEGIN { exit !(a $2 b) }"; then echo met; else echo "**missed**"; fi; }
# Nearest-rank percentile of a file of numbers.
percentile() {
    sort -g "$1" | awk -v p="$2" '{ v[NR] = $1 } END { if (NR == 0) { print "-"; exit } r = int(p * NR); if (r < p * NR) r++; if (r < 1) r = 1; printf "%.1f", v[r] }'
}

cpu=$(sed -n 's/^model name\s*: //p' /proc/cpuinfo | head -n1)
section=$(mktemp)
goals=$(mktemp)
{
    echo "## Benchmark"
    echo
    echo "Made by \`bench/run-bench.sh --runs $runs --payloads \"${payloads[*]}\" --data \"${kinds[*]}\"\` on $started."
    echo "Host: $cpu, $(nproc) cores, Linux $(uname -r), $("$ZANTO_WINE" --version), $(df -T "$bench" | awk 'NR == 2 { print $2 }')."
    echo "The $([ "$ZANTO_ARCH" = x86 ] && echo 32 || echo 64)-bit ZantoSetup.exe ($(stat -c %s "$exe") bytes$([ "$exe" = "$tree/ZantoSetup.exe" ] || echo ", a trial build: $exe")), helpers of the same"
    echo "architecture, NSIS $(makensis -VERSION) with target $nsis_target."
    echo
    echo "Other engineers' builds and tests ran on the machine at the same time. Load before and after:"
    echo "\`$uptime_before\`, \`$uptime_after\`. Each run waited up to $quiet_wait s for a half second in"
    echo "which the CPUs were less than 25 % busy; the busy column gives the median and the highest"
    echo "such figure at the start of the counted runs of a payload, and the 1-minute load average"
    echo "before → after them."
    echo
    echo "### Installation time"
    echo
    echo "Medians of $runs runs of each contender, in seconds, after one warm-up round; the contenders"
    echo "take turns (ZantoSetup, floor, floor + pass, NSIS silent, NSIS windowed, cabextract, then"
    echo "again). ZantoSetup's full time runs from the click on Install to its success message, its"
    echo "work time from the click to the bar at 100 % with the work done, before the 200 ms pause"
    echo "that precedes the message; both come from the same runs (see \"What is timed\")."
    echo
    echo "| Payload | data | ZantoSetup full | ZantoSetup work | floor | floor + pass | NSIS silent | NSIS windowed | cabextract | full / NSIS windowed | full / NSIS silent | work / (floor + pass) | busy % | load |"
    echo "|---|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---|---|"
    for kind in "${kinds[@]}"; do
        for name in "${payloads[@]}"; do
            id=$kind-$name
            declare -A m=()
            for who in "${contenders[@]}"; do
                m[$who]=$(median <"$data/$id-$who.txt")
            done
            m[work]=$(cut -d' ' -f1 "$data/$id-steps.txt" | median)
            read -r lb la <"$data/$id-load.txt"
            echo "| $name | $kind | $(fmt "${m[zanto]}") | $(fmt "${m[work]}") | $(fmt "${m[floor]}") | $(fmt "${m[pass]}") |" \
                "$(fmt "${m[nsis]}") | $(fmt "${m[nsis-window]}") | $(fmt "${m[cabextract]}") |" \
                "$(ratio "${m[zanto]}" "${m[nsis-window]}") | $(ratio "${m[zanto]}" "${m[nsis]}") |" \
                "$(ratio "${m[work]}" "${m[pass]}") |" \
                "$(median <"$data/$id-busy.txt" | cut -d. -f1), $(sort -g "$data/$id-busy.txt" | tail -n1) | $lb → $la |"
            echo "| $name, $kind: ZantoSetup's full time shorter than NSIS windowed ($(fmt "${m[nsis-window]}") s) | $(fmt "${m[zanto]}") s | $(verdict "${m[zanto]}" "<" "${m[nsis-window]}") |" >>"$goals"
            if [ "$name" != many ]; then
                echo "| $name, $kind: ZantoSetup's full time shorter than NSIS silent ($(fmt "${m[nsis]}") s) | $(fmt "${m[zanto]}") s | $(verdict "${m[zanto]}" "<" "${m[nsis]}") |" >>"$goals"
            else
                limit=$(awk -v p="${m[pass]}" 'BEGIN { print 1.15 * p }')
                echo "| many, $kind: ZantoSetup's work time ≤ 1.15 × (floor + pass) = $(fmt "$limit") s | $(fmt "${m[work]}") s | $(verdict "${m[work]}" "<=" "$limit") |" >>"$goals"
            fi
            unset m
        done
    done
    echo
    echo "The same with the fastest of the $runs runs of each contender, which other work on the machine"
    echo "disturbs least:"
    echo
    echo "| Payload | data | ZantoSetup full | ZantoSetup work | floor | floor + pass | NSIS silent | NSIS windowed | cabextract | full / NSIS windowed | full / NSIS silent | work / (floor + pass) |"
    echo "|---|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|"
    for kind in "${kinds[@]}"; do
        for name in "${payloads[@]}"; do
            declare -A f=()
            for who in "${contenders[@]}"; do
                f[$who]=$(sort -g "$data/$kind-$name-$who.txt" | head -n1)
            done
            f[work]=$(cut -d' ' -f1 "$data/$kind-$name-steps.txt" | sort -g | head -n1)
            echo "| $name | $kind | $(fmt "${f[zanto]}") | $(fmt "${f[work]}") | $(fmt "${f[floor]}") | $(fmt "${f[pass]}") |" \
                "$(fmt "${f[nsis]}") | $(fmt "${f[nsis-window]}") | $(fmt "${f[cabextract]}") |" \
                "$(ratio "${f[zanto]}" "${f[nsis-window]}") | $(ratio "${f[zanto]}" "${f[nsis]}") |" \
                "$(ratio "${f[work]}" "${f[pass]}") |"
            unset f
        done
    done
    echo
    echo "### The fixed steps in ZantoSetup's work time"
    echo
    echo "The steps whose cost does not grow with the payload: the language tree (with the start of"
    echo "the installation's list: from the click until the status line names the cabinet's first"
    echo "file) and the shortcuts and uninstall record (from \"Creating startmenu entries ...\" until"
    echo "the work is done). Medians of the $runs runs, in milliseconds; the share is the median of"
    echo "each run's fixed steps over its work time. On big and mixed only: the first member there is"
    echo "larger than 64 KiB, which the status line names at once; many's small files are named once"
    echo "per 30 ms, so that its language tree's end is not seen to within the poll period."
    echo
    echo "| Payload | data | work | language tree | shortcuts and record | fixed steps | share of work |"
    echo "|---|---|---:|---:|---:|---:|---:|"
    for kind in "${kinds[@]}"; do
        for name in "${payloads[@]}"; do
            [ "$name" != many ] || continue
            steps=$data/$kind-$name-steps.txt
            read -r sw st sm sf sr < <(
                paste -d' ' <(cut -d' ' -f1 "$steps" | median) <(cut -d' ' -f2 "$steps" | median) \
                    <(cut -d' ' -f3 "$steps" | median) <(awk '{ print $2 + $3 }' "$steps" | median) \
                    <(awk '{ print ($2 + $3) / $1 }' "$steps" | median)
            )
            awk -v n="$name" -v k="$kind" -v w="$sw" -v t="$st" -v m="$sm" -v f="$sf" -v r="$sr" 'BEGIN {
                printf "| %s | %s | %.0f | %.0f | %.0f | %.0f | %.0f %% |\n", n, k, 1000 * w, 1000 * t, 1000 * m, 1000 * f, 100 * r }'
            awk -v n="$name" -v k="$kind" -v w="$sw" -v f="$sf" -v r="$sr" 'BEGIN {
                printf "| %s, %s: share of the fixed steps in the work time | %.0f of %.0f ms, %.0f %% | reported |\n",
                    n, k, 1000 * f, 1000 * w, 100 * r }' >>"$goals"
        done
    done
    echo
    echo "### Responsiveness"
    echo
    echo "How long ZantoSetup's window took to answer WM_NULL, sent every 10 ms with SendMessageTimeout"
    echo "from the click to the success message, all counted runs pooled (milliseconds). A big payload"
    echo "is one file, during which the window cannot answer: it is listed, not judged."
    echo
    echo "| Payload | data | probes | p50 | p99 | max |"
    echo "|---|---|---:|---:|---:|---:|"
    for kind in "${kinds[@]}"; do
        for name in "${payloads[@]}"; do
            id=$kind-$name
            pooled=$data/probes-$id.txt
            for round in $(seq "$runs"); do cat "$data/probes-$id-$round.txt"; done >"$pooled"
            p99=$(percentile "$pooled" 0.99)
            echo "| $name | $kind | $(wc -l <"$pooled") | $(percentile "$pooled" 0.50) | $p99 | $(percentile "$pooled" 1) |"
            if [ "$name" != big ]; then
                echo "| $name, $kind: responsiveness p99 ≤ 50 ms | $p99 ms | $(verdict "$p99" "<=" 50) |" >>"$goals"
            fi
        done
    done
    echo
    echo "### Start-up"
    echo
    startup=$(median <"$data/startup.txt")
    read -r lb la sb <"$data/startup-load.txt"
    echo "Warm: from CreateProcess to the language dialog being visible, $startups starts after two"
    echo "warm-up starts: median **$(fmt "$startup") s**; all, sorted: $(sort -g "$data/startup.txt" | paste -sd' ')"
    nsis_empty=$(median <"$data/nsis-empty.txt")
    echo "(busy $sb %, load $lb → $la). For comparison, an NSIS installer without files takes"
    echo "$(fmt "$nsis_empty") s from CreateProcess to its end with /S (median of $runs): that much of each silent NSIS"
    echo "time above is its start and end; with its window (the same script as NSIS windowed), $(fmt "$(median <"$data/nsis-window-empty.txt")") s."
    echo "| start-up no longer than NSIS silent without files ($(fmt "$nsis_empty") s) | $(fmt "$startup") s | $(verdict "$startup" "<=" "$nsis_empty") |" >>"$goals"
    echo
    echo "### Goals"
    echo
    echo "Judged on the medians above."
    echo
    echo "| Goal | measured | |"
    echo "|---|---:|---|"
    cat "$goals"
    echo
    echo "### All runs"
    echo
    echo "Seconds, in the order they ran."
    echo
    for kind in "${kinds[@]}"; do
        for name in "${payloads[@]}"; do
            for who in "${contenders[@]}"; do
                echo "- $name, $kind, $who: $(paste -sd' ' "$data/$kind-$name-$who.txt")"
            done
            echo "- $name, $kind, zanto work / language tree / shortcuts and record:" \
                "$(tr ' ' / <"$data/$kind-$name-steps.txt" | paste -sd' ')"
        done
    done
    echo
    echo "### What is timed"
    echo
    echo "ZantoSetup, full time: from the posted click on Next (Install) on the start menu page to its"
    echo "success message being visible, polled every 2 ms. This includes the copy of the language"
    echo "files, the five shortcuts, the uninstall record, the 200 ms pause with the full bar and all"
    echo "the program does before its message. Work time: from the same click to the first moment"
    echo "the progress bar stands at 100 % and the status line reads \"Installation finished.\" (set"
    echo "after the record, just before the bar is filled and the pause begins). A thread of the"
    echo "driver reads the status line (WM_GETTEXT, and then PBM_GETPOS) with SendMessageTimeout"
    echo "every 2 ms; the program answers at its message passes (after every file, between the"
    echo "shortcuts, and at once in the pause), so that a read waiting there is answered at the"
    echo "first pass after the change and a read sent later sees it within the 2 ms: the work time's"
    echo "resolution is 2 ms. The language tree's end and the start menu step's start are taken in"
    echo "the same way, at the first read that shows the cabinet's first file and \"Creating startmenu"
    echo "entries ...\" (the program answers within the menu step right after making the menu folder)."
    echo "Floor and floor + pass: the call of SetupIterateCabinetA inside bench/floor/CabFloor.cpp."
    echo "NSIS silent: from CreateProcess to the installer's end, with /S. NSIS windowed: the same"
    echo "script built with its install-files page only (\`Page instfiles\`, \`ShowInstDetails show\`,"
    echo "\`AutoCloseWindow true\`): progress bar and details list as NSIS shows them by default, from"
    echo "CreateProcess until it has closed itself. cabextract: the native process, from the"
    echo "shell. Every contender writes into the same empty folder C:\\ZantoBench\\Zanto of a Wine prefix"
    echo "of the benchmark's own on the same disk; before every run the folder is removed and the disk"
    echo "synced, after it the files are checked against the payload. Under Wine on this host most of"
    echo "the cost of a created file is kernel time in the wineserver's openat, and it grows over a"
    echo "session as runs create and remove files; the contenders take turns, so that this drift hits"
    echo "them alike, and single runs vary with it. Payloads: big, one file of"
    echo "256 MiB; many, 5,000 files of 4 KiB in 50 folders; mixed, 300 files in 10 folders, 200 MiB"
    echo "in all, sizes spread evenly on a log scale from 1 KiB to 6 MiB. Data: random bytes, which"
    echo "MSZIP stores, so that extraction is a copy (as with game media that come compressed), or"
    echo "game-like bytes, which MSZIP keeps about 70 % of, so that decompression costs. Cabinets:"
    for kind in "${kinds[@]}"; do
        for name in "${payloads[@]}"; do
            echo "$name/$kind $(($(stat -c %s "$bench/payloads/$kind/$name/data.cab") >> 20)) MiB,"
        done
    done | paste -sd' ' | sed 's/,$/./'
} >"$section"
rm -f "$goals"

cat "$section"
# Only this section of the results file is replaced; other sections stay as they are.
if [ -f "$results" ]; then
    awk -v section="$section" '
        /^## Benchmark$/ { while ((getline line < section) > 0) print line; skip = 1; found = 1; next }
        skip && /^##? / { skip = 0; print "" }
        !skip { print }
        END { if (!found) { print ""; while ((getline line < section) > 0) print line } }
    ' "$results" >"$results.new"
    mv "$results.new" "$results"
else
    cp "$section" "$results"
fi
rm -f "$section"
echo "Written to $results"

# The removal part (see "Removal" above).
removal_bench_part
