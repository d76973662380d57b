#!/usr/bin/env bash
# Simulated instruments as hosts of their own on private test networks, for the LAN discovery
# tests. Each host is a tessaly-sim in a network namespace of its own, joined by a veth pair to a
# bridge in the namespace of the test run: "tessaly-br" (192.0.2.1/24) or, for an address in
# 198.51.100.0/24, "tessaly-br2" (198.51.100.1/24), a second network card as a bench PC has one
# for the instrument. The limited broadcast 255.255.255.255 is routed onto the first bridge only,
# as Windows sends it through the one interface with the best metric, so a host on the second
# network hears only a question sent to its network's own broadcast address. Replies come back
# from the hosts' own addresses (both ranges are reserved for documentation and tests). Refuses to
# run outside a private network namespace.
#
# As a wrapper around one test command:
#   netns.sh with-hosts COMMAND...     bridge and the hosts below; exports TESSALY_LAN_HOSTS as
#                                      "NAME,ADDRESS,MAC,CONTROLPORT" words; ends them afterwards
#   netns.sh without-route COMMAND...  no route at all in the main table while COMMAND runs, so a
#                                      broadcast cannot be sent; exports TESSALY_LAN_NOROUTE=1
# Or sourced, for scripts that want hosts for longer:
#   netns_bridge_up; netns_host_start NAME ADDRESS [tessaly-sim options...]; netns_down
# tessaly-sim is taken from $TESSALY_SIM_BIN, else from build/native beside this tree.

NETNS_BRIDGE=tessaly-br
NETNS_BRIDGE_ADDRESS=192.0.2.1
NETNS_BRIDGE2=tessaly-br2
NETNS_BRIDGE2_ADDRESS=198.51.100.1
NETNS_CONTROL_PORT=5026
NETNS_PIDS=()
NETNS_LINKS=()
NETNS_LOGDIR=""

netns_fail() {
  echo "netns.sh: $*" >&2
  return 1
}

netns_check_private() {
  [ "$(readlink /proc/self/ns/net)" != "$(readlink /proc/1/ns/net)" ] ||
    netns_fail "refusing to change the network outside a private namespace (run under unshare -n)"
}

netns_sim() {
  local sim=${TESSALY_SIM_BIN:-$(dirname "${BASH_SOURCE[0]}")/../build/native/tessaly-sim}
  [ -x "$sim" ] || netns_fail "tessaly-sim not found at $sim (set TESSALY_SIM_BIN)" || return 1
  realpath "$sim"
}

# One bridge with its address, unless it is there.
netns_one_bridge() {
  ip link show "$1" >/dev/null 2>&1 && return 0
  ip link add "$1" type bridge forward_delay 0 stp_state 0 || return 1
  ip addr add "$2/24" dev "$1" || return 1
  ip link set "$1" up
}

# The bridge a host of ADDRESS joins.
netns_bridge_of() {
  case "$1" in
  198.51.100.*) echo "$NETNS_BRIDGE2" ;;
  *) echo "$NETNS_BRIDGE" ;;
  esac
}

# The two bridges and the route that sends the limited broadcast onto the first.
netns_bridge_up() {
  netns_check_private || return 1
  ip link set lo up
  netns_one_bridge "$NETNS_BRIDGE" "$NETNS_BRIDGE_ADDRESS" || return 1
  netns_one_bridge "$NETNS_BRIDGE2" "$NETNS_BRIDGE2_ADDRESS" || return 1
  ip route replace 255.255.255.255/32 dev "$NETNS_BRIDGE" || return 1
  [ -n "$NETNS_LOGDIR" ] || NETNS_LOGDIR=$(mktemp -d /tmp/tessaly-netns.XXXXXX)
}

# Starts one host: a tessaly-sim answering discovery on ADDRESS, with its control channel on
# ADDRESS:5026 and no SCPI server. Extra arguments go to tessaly-sim. Waits until it is ready.
netns_host_start() {
  local name=$1 address=$2
  shift 2
  local sim log pid link
  sim=$(netns_sim) || return 1
  link="tv${#NETNS_LINKS[@]}"
  log="$NETNS_LOGDIR/$name.log"
  # The new namespace waits for its end of the veth pair, gives it the address, then becomes
  # tessaly-sim (exec keeps the process id, so the host ends with that one process). Should this
  # script be killed outright, the parent-death signal still ends the host.
  # shellcheck disable=SC2016 # expanded by the inner shell
  unshare -n -- setpriv --pdeathsig KILL -- bash -c '
    for _ in $(seq 250); do ip link show eth0 >/dev/null 2>&1 && break; sleep 0.02; done
    ip link set lo up && ip addr add "$1/24" dev eth0 && ip link set eth0 up || exit 1
    shift
    exec "$@"' host "$address" "$sim" --bind "$address" --tcp-port 0 \
    --control-port "$NETNS_CONTROL_PORT" --discovery --hostname "$name" "$@" >"$log" 2>&1 &
  pid=$!
  NETNS_PIDS+=("$pid")
  local own
  own=$(readlink /proc/self/ns/net)
  for _ in $(seq 250); do
    [ "$(readlink "/proc/$pid/ns/net" 2>/dev/null)" != "$own" ] && break
    sleep 0.02
  done
  ip link add "$link" type veth peer name eth0 netns "$pid" || return 1
  NETNS_LINKS+=("$link")
  ip link set "$link" master "$(netns_bridge_of "$address")" up || return 1
  for _ in $(seq 250); do
    grep -q '^ready' "$log" 2>/dev/null && return 0
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.02
  done
  netns_fail "host $name ($address) did not start:"
  cat "$log" >&2
  return 1
}

# Ends every host this shell started (their namespaces and veth pairs go with them), then the
# bridge and its route.
netns_down() {
  local pid link
  for pid in "${NETNS_PIDS[@]}"; do kill "$pid" 2>/dev/null; done
  for pid in "${NETNS_PIDS[@]}"; do wait "$pid" 2>/dev/null; done
  for link in "${NETNS_LINKS[@]}"; do ip link del "$link" 2>/dev/null; done
  NETNS_PIDS=()
  NETNS_LINKS=()
  ip route del 255.255.255.255/32 dev "$NETNS_BRIDGE" 2>/dev/null
  ip link del "$NETNS_BRIDGE" 2>/dev/null
  ip link del "$NETNS_BRIDGE2" 2>/dev/null
  [ -n "$NETNS_LOGDIR" ] && rm -rf "$NETNS_LOGDIR"
  NETNS_LOGDIR=""
  return 0
}

# The hosts of the discovery tests: name, address, MAC text; the last on the second network.
# They start silent; each test sets the reply of each host through its control channel.
NETNS_TEST_HOSTS=(
  "NODE-A 192.0.2.11 00-1A-2B-3C-4D-11"
  "NODE-B 192.0.2.12 00-1A-2B-3C-4D-12"
  "NODE-C 192.0.2.13 00-1A-2B-3C-4D-13"
  "NODE-D 198.51.100.11 00-1A-2B-3C-4D-21"
)

# Runs a command in the background and waits for it, so that a TERM or INT to this script ends the
# command and then, through the EXIT trap, everything this script started.
netns_run() {
  "$@" &
  NETNS_CHILD=$!
  trap 'kill "$NETNS_CHILD" 2>/dev/null; exit 143' TERM INT
  wait "$NETNS_CHILD"
}

netns_with_hosts() {
  trap netns_down EXIT
  netns_bridge_up || return 1
  local row name address mac words=()
  for row in "${NETNS_TEST_HOSTS[@]}"; do
    read -r name address mac <<<"$row"
    netns_host_start "$name" "$address" --mac "$mac" --discovery-fault silent || return 1
    words+=("$name,$address,$mac,$NETNS_CONTROL_PORT")
  done
  TESSALY_LAN_HOSTS="${words[*]}" netns_run "$@"
}

netns_without_route() {
  netns_check_private || return 1
  local saved
  saved=$(mktemp /tmp/tessaly-routes.XXXXXX)
  ip -4 route save table main >"$saved" || return 1
  trap 'ip -4 route flush table main; ip -4 route restore <"'"$saved"'"; rm -f "'"$saved"'"' EXIT
  ip -4 route flush table main
  # The local table's broadcast routes would still carry a question to a network's own
  # broadcast address; they go too, and come back with the saved table.
  local saved_local
  saved_local=$(mktemp /tmp/tessaly-routes.XXXXXX)
  ip -4 route save table local type broadcast >"$saved_local" || return 1
  trap 'ip -4 route flush table main; ip -4 route restore <"'"$saved"'"; ip -4 route restore <"'"$saved_local"'" 2>/dev/null; rm -f "'"$saved"'" "'"$saved_local"'"' EXIT
  ip -4 route flush table local type broadcast
  if ip route get 255.255.255.255 >/dev/null 2>&1; then
    netns_fail "the limited broadcast is still routable"
    return 1
  fi
  TESSALY_LAN_NOROUTE=1 netns_run "$@"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  set -uo pipefail
  mode=${1:-}
  shift || true
  case "$mode" in
  with-hosts) netns_with_hosts "$@" ;;
  without-route) netns_without_route "$@" ;;
  *)
    sed -n '2,/^$/s/^# \{0,1\}//p' "$0" >&2
    exit 2
    ;;
  esac
fi
