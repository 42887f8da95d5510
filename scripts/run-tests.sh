#!/usr/bin/env bash
# Installs what is missing, builds everything and runs all tests under Wine: those of the 32-bit
# build where this host runs 32-bit x86 code, else those of the 64-bit build (ZANTO_ARCH=x86 or x64
# chooses). Both trees are built either way, so that neither stops compiling unnoticed.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${ZANTO_BUILD:-$top/build}

"$top/scripts/install-deps.sh"
. "$top/scripts/arch.sh"
arch_choose Testing
ZANTO_BUILD=$build "$top/scripts/build.sh" x86 x64

tree=$(cd "$(arch_tree "$build" "$ZANTO_ARCH")" && pwd)
. "$top/scripts/wine-session.sh"
wine_session_start "$tree" "$ZANTO_ARCH"
cd "$tree"
ctest --output-on-failure --timeout 300 "$@"
