#!/usr/bin/env bash
# Runs one Windows-side test program under Wine for CTest: wine_test.sh LOADER PROGRAM [ARGS...].
# The program's output goes to a file first and is printed when it ends, because the Wine
# services that its start brings up (services.exe, winedevice.exe, explorer.exe, ...) inherit its
# standard output: were that CTest's pipe, CTest would wait for them as well, and they sometimes
# outlive the test by many minutes (seen after a discovery without a route). When the test ends,
# the prefix's Wine server gets ten seconds to end by itself; then it is ended, so that nothing
# left over from one test carries into the next.
set -uo pipefail
loader=$1
shift
output=$(mktemp /tmp/tessaly-wine-test.XXXXXX)
"$loader" "$@" >"$output" 2>&1
status=$?
cat "$output"
rm -f "$output"
wineserver=$(dirname "$loader")/wineserver
if ! timeout 10 "$wineserver" -w 2>/dev/null; then
  "$wineserver" -k 2>/dev/null || true
fi
exit "$status"
