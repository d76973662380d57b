#!/usr/bin/env bash
# Prints the test counts of each layer from the GoogleTest XML reports of the last run, and a
# closing line with the totals.
set -euo pipefail
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
layer "native unit tests:" "$1/results"
layer "Windows-side tests under Wine:" "$2/results"
if [ -f "$2/smoke.passed" ]; then
  printf '%-40s %4d passed, %d failed, %d skipped\n' "real-input smoke test:" 1 0 0
  total_pass=$((total_pass + 1))
fi
echo "$total_pass passed, $total_fail failed"
