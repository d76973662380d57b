#!/usr/bin/env bash
# Runs a Windows program under Wine at another text size, DPI dots per inch (the user's LogPixels),
# in the Wine prefix of tests/e2e/run.sh, and sets the prefix back to 96 DPI afterwards (run.sh also
# does at its start, in case an earlier run was killed in between). Called by CTest inside run.sh;
# TESSALY_DPI tells the program under test which size it runs at.
# Usage: tests/e2e/with_dpi.sh DPI PROGRAM [ARGUMENTS...]
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib.sh"
load_windows_build
[ -n "${WINEPREFIX:-}" ] || lib_fail "run inside tests/e2e/run.sh, which sets up the Wine prefix"
dpi=$1
shift
set_wine_dpi "$dpi"
trap 'set_wine_dpi 96' EXIT
TESSALY_DPI=$dpi "$TESSALY_ROOT/tests/e2e/wine_test.sh" "$WINE" "$@"
