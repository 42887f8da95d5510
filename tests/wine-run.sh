#!/usr/bin/env bash
# Runs a Windows test program under Wine; CTest calls it for every test, with the tree's
# architecture (x86 or x64) first, so that its programs get the Wine that runs them.
set -uo pipefail
: "${WINEPREFIX:?run the tests through scripts/run-tests.sh}"
. "$(dirname "$0")/../scripts/arch.sh"
arch_wine "$1"
shift
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-winemenubuilder.exe=d;mscoree=d;mshtml=d}

# Wine's helper services (rpcss, started by the first COM call) inherit the program's output
# handles and outlive it. Through a pipe, CTest would wait for them; through a file it does not.
log=$(mktemp)
trap 'rm -f "$log"' EXIT
"$ZANTO_WINE" "$@" >"$log" 2>&1
status=$?
cat "$log"
exit $status
