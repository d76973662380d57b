#!/usr/bin/env bash
# Runs a command in a mount namespace of its own whose /etc/hosts reads like a stock one: localhost
# is both 127.0.0.1 and ::1, so that the resolver answers ::1 first. The machine's own hosts file
# is untouched; it may name localhost as 127.0.0.1 alone.
# Usage: with_stock_hosts.sh COMMAND [ARGS...]
set -euo pipefail
if [ "${1:-}" != --inside ]; then
  exec unshare -m "$0" --inside "$@"
fi
shift
hosts=$(mktemp)
trap 'rm -f "$hosts"' EXIT
printf '127.0.0.1\tlocalhost\n::1\tlocalhost ip6-localhost ip6-loopback\n' >"$hosts"
mount --bind "$hosts" /etc/hosts
"$@"
