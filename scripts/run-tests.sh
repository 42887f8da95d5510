#!/usr/bin/env bash
# Installs what is missing, builds everything and runs all tests under Wine.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${ZANTO_BUILD:-$top/build}

"$top/scripts/install-deps.sh"
ZANTO_BUILD=$build "$top/scripts/build.sh"

. "$top/scripts/wine-session.sh"
wine_session_start "$build"
cd "$build"
ctest --output-on-failure --timeout 300 "$@"
