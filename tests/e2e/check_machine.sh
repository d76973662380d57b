#!/usr/bin/env bash
# Checks the one-time choice of the Windows build (scripts/lib.sh) against two stand-in 32-bit
# loaders: where the kernel refuses 32-bit executables, the shipped programs run in the virtual
# machine, or with TESSALY_VM=0 the x86_64 test build is chosen and the test summary says plainly
# that the shipped programs were not run, and why; where they run, the shipped 32-bit build is
# chosen and the summary says it ran. Touches nothing in build/.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
printf '#!/bin/sh\necho "cannot execute binary file: Exec format error" >&2\nexit 126\n' \
  >"$scratch/refusing"
printf '#!/bin/sh\necho "wine-8.0"\n' >"$scratch/working"
chmod +x "$scratch/refusing" "$scratch/working"

failed=0
# check LOADER TESSALY_VM EXPECTED_BUILD EXPECTED_SUMMARY_PATTERN
check() {
  export TESSALY_WINE32_LOADER=$scratch/$1 TESSALY_WINDOWS_CHOICE=$scratch/$1.env TESSALY_VM=$2
  local build summary
  # shellcheck disable=SC2016 # expanded by the inner shell
  build=$(env -u TESSALY_WINE32 bash -c 'source "$1/scripts/lib.sh" && choose_windows_build &&
    source "$WINDOWS_CHOICE" && echo "${WIN_BUILD##*/}"' _ "$root")
  summary=$(env -u TESSALY_WINE32 "$root/scripts/test-summary.sh")
  if [ "$build" != "$3" ] || ! grep -q "$4" <<<"$summary"; then
    echo "check_machine: with a $1 32-bit loader and TESSALY_VM=$2: chose $build (expected $3); summary:"
    echo "$summary"
    failed=1
  fi
}
check refusing "" win32 "shipped 32-bit programs ran under 32-bit Wine in a virtual machine (Debian kernel .*, QEMU without KVM), because this machine's kernel refuses 32-bit executables"
check refusing 0 win64 "shipped 32-bit programs were NOT run on this machine: .*Exec format error), and TESSALY_VM=0 asked for no virtual machine"
check working "" win32 "shipped 32-bit Tessaly.exe and Tessaly-xp.exe ran under 32-bit Wine"
[ "$failed" = 0 ] || exit 1
echo "check_machine: pass: a kernel without 32-bit support runs the shipped programs in a virtual" \
  "machine, or the x86_64 test build where none is wanted, and says so"
