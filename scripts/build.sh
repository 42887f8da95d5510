#!/usr/bin/env bash
# Configures and builds the program, the tests and the demo medium for each architecture named
# (default x86): x86 into build/ (or $ZANTO_BUILD), x64 into its x64/ folder.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${ZANTO_BUILD:-$top/build}
. "$top/scripts/arch.sh"

# What ships: 32-bit GUI programs that need nothing beyond Windows' own DLLs (the C++ runtime
# is linked in), each within its size limit in bytes when one is given.
check_shipped_program() {
    local exe=$1 limit=${2:-} dump dlls foreign size
    dump=$(i686-w64-mingw32-objdump -p "$exe")
    if ! grep -q '^Magic.*(PE32)$' <<<"$dump" || ! grep -q '^Subsystem.*(Windows GUI)$' <<<"$dump"; then
        echo "error: $exe is not a 32-bit Windows GUI program" >&2
        exit 1
    fi
    dlls=$(sed -n 's/^\s*DLL Name: //p' <<<"$dump")
    foreign=$(grep -viE '^(advapi32|comctl32|comdlg32|gdi32|kernel32|msvcrt|ole32|oleaut32|setupapi|shell32|shlwapi|user32|version)\.dll$' <<<"$dlls" || true)
    if [ -n "$foreign" ]; then
        echo "error: $exe needs DLLs that Windows does not bring: $(paste -sd ' ' <<<"$foreign")" >&2
        exit 1
    fi
    size=$(stat -c %s "$exe")
    if [ -n "$limit" ] && [ "$size" -gt "$limit" ]; then
        echo "error: $exe has $size bytes, more than its limit of $limit" >&2
        exit 1
    fi
    echo "$(basename "$exe"): 32-bit GUI program, $size bytes${limit:+ (at most $limit)}, imports $(paste -sd ' ' <<<"$dlls")"
}

declare -A toolchains=([x86]=mingw-i686 [x64]=mingw-x86_64)
for arch in "${@:-x86}"; do
    if [ -z "${toolchains[$arch]:-}" ]; then
        echo "error: no build for the architecture \"$arch\" (x86 or x64)" >&2
        exit 2
    fi
    tree=$(arch_tree "$build" "$arch")
    cmake -S "$top" -B "$tree" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/${toolchains[$arch]}.cmake" >/dev/null
    cmake --build "$tree" -j "$(nproc)"
    if [ "$arch" = x86 ]; then
        # 96 KiB and 56 KiB: the uninstall program is a small companion of the setup program.
        check_shipped_program "$tree/ZantoSetup.exe" 98304
        check_shipped_program "$tree/uninstall.exe" 57344
    fi
done
