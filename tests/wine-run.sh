#!/usr/bin/env bash
# Runs a Windows test program under Wine; CTest calls it for every test.
set -euo pipefail
: "${WINEPREFIX:?run the tests through scripts/run-tests.sh}"
export WINEARCH=win32 WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-winemenubuilder.exe=d;mscoree=d;mshtml=d}
exec wine "$@"
