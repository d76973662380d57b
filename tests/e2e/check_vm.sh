#!/usr/bin/env bash
# Checks the runner of the virtual machine (scripts/vm.sh) on any machine: a guest command's
# output comes back, and so does its exit status when it is not 0. The command runs the 32-bit
# Wine loader in the guest first, so the check also tells whether the guest runs 32-bit code.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
status=0
output=$("$root/scripts/vm.sh" bash -c '/usr/lib/wine/wine --version && exit 3' 2>&1) || status=$?
if [ "$status" != 3 ] || ! grep -q '^wine-' <<<"$output"; then
  echo "check_vm: FAILED: the guest command should print Wine's version and end with status 3;" \
    "the runner ended with $status and said:"
  echo "$output"
  exit 1
fi
echo "check_vm: pass: the guest ran 32-bit Wine ($(grep '^wine-' <<<"$output")), and its status 3 came back"
