#!/usr/bin/env bash
# Prints the test counts of each layer from the GoogleTest XML reports of the last run, which
# programs the Windows-side tests ran, and a closing line with the totals.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
source "$WINDOWS_CHOICE"
total_pass=0
total_fail=0
layer() {
  local name=$1 dir=$2 tests=0 failures=0 errors=0 skipped=0
  for f in "$dir"/*.xml; do
    [ -f "$f" ] || continue
    read -r t fa er sk < <(python3 - "$f" <<'PY'
import sys, xml.etree.ElementTree as ET
r = ET.parse(sys.argv[1]).getroot()
print(r.get("tests", 0), r.get("failures", 0), r.get("errors", 0), r.get("skipped", r.get("disabled", 0)))
PY
)
    tests=$((tests + t)); failures=$((failures + fa)); errors=$((errors + er)); skipped=$((skipped + sk))
  done
  local failed=$((failures + errors))
  local passed=$((tests - failed - skipped))
  printf '%-40s %4d passed, %d failed, %d skipped\n' "$name" "$passed" "$failed" "$skipped"
  total_pass=$((total_pass + passed))
  total_fail=$((total_fail + failed))
}
echo "== Test counts"
layer "native unit tests:" "$NATIVE_BUILD/results"
layer "Windows-side tests under Wine:" "$WIN_BUILD/results"
if [ -f "$WIN_BUILD/smoke.passed" ]; then
  printf '%-40s %4d passed, %d failed, %d skipped\n' "real-input smoke test:" 1 0 0
  total_pass=$((total_pass + 1))
fi
if [ -z "$WINE32_NOTE" ]; then
  echo "Windows side: the shipped 32-bit Tessaly.exe and Tessaly-xp.exe ran under 32-bit Wine."
elif [ "${WINE_IN_VM:-0}" = 1 ]; then
  echo "Windows side: the shipped 32-bit programs ran under 32-bit Wine in a virtual machine" \
    "($(vm_said)), because $WINE32_NOTE."
else
  echo "Windows side: the shipped 32-bit programs were NOT run on this machine: $WINE32_NOTE;" \
    "the x86_64 test build of the same sources ran under 64-bit Wine instead."
fi
echo "$total_pass passed, $total_fail failed"
