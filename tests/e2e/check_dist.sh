#!/usr/bin/env bash
# Checks the zips of `make dist`: each holds its 32-bit program, tessaly-cmd.exe beside it, the
# readme and the text of the
# "Boot Loader" folder, and no program under "Boot Loader" (which could replace the maker's tool);
# the programs in them pass tests/e2e/check_imports.sh (stripped, with their version resource,
# header bits and allowed imports), as shipped.
# Usage: check_dist.sh DIST_DIR
set -euo pipefail
failed=0
shipped=$(mktemp -d /tmp/tessaly-check-dist.XXXXXX)
trap 'rm -rf "$shipped"' EXIT
for program in Tessaly Tessaly-xp; do
  zip="$1/$program.zip"
  listing=$(unzip -Z1 "$zip") || { echo "check_dist: $zip cannot be read"; failed=1; continue; }
  for want in "$program/$program.exe" "$program/tessaly-cmd.exe" "$program/README.txt" \
    "$program/Boot Loader/README.txt"; do
    grep -qxF "$want" <<<"$listing" || { echo "check_dist: $zip lacks $want"; failed=1; }
  done
  if grep -i '^[^/]*/Boot Loader/.*\.exe$' <<<"$listing"; then
    echo "check_dist: $zip holds a program under Boot Loader"
    failed=1
  fi
  for exe in "$program.exe" tessaly-cmd.exe; do
    magic=$(unzip -p "$zip" "$program/$exe" | od -An -c -N2 | tr -d ' ') || true
    [ "$magic" = MZ ] || { echo "check_dist: $exe in $zip is not a program"; failed=1; }
    unzip -p "$zip" "$program/$exe" >"$shipped/$exe" || true
  done
done
"$(dirname "$0")/check_imports.sh" "$shipped" >/dev/null || failed=1
[ "$failed" = 0 ] || exit 1
echo "check_dist: pass: both zips hold their program and tessaly-cmd.exe, stripped and with their" \
  "version resource, and texts, and no program under Boot Loader"
