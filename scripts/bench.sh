#!/usr/bin/env bash
# Runs the benchmark (bench.exe, bench/bench_win.cpp) under Wine in a private network namespace,
# set up as for the Windows-side tests: a virtual display, tessaly-sim on loopback with its control
# channel, and simulated LAN responders, each a tessaly-sim host in a namespace of its own
# (scripts/netns.sh). Prints the figures and the ratios, writes them with a line about this
# machine to the output file, and ends everything it started, also when the bench fails.
# Usage: scripts/bench.sh WIN64_BUILD_DIR NATIVE_BUILD_DIR [OUTPUT_FILE]
# Settings: TESSALY_BENCH_HOSTS (LAN responders, default 100), TESSALY_BENCH_ROUNDS (click
# samples, default 61), TESSALY_BENCH_STARTS (start-ups of each program, default 11),
# TESSALY_BENCH_DISCOVERIES (discovery runs, default 5).
# Exit status: 0 every goal met, 2 a goal missed, 1 the bench could not run.
set -euo pipefail

win64=$(realpath "$1")
native=$(realpath "$2")
output=$(realpath -m "${3:-$win64/bench.txt}")
here=$(cd "$(dirname "$0")" && pwd)

if [ -z "${TESSALY_IN_NETNS:-}" ]; then
  exec unshare -n env TESSALY_IN_NETNS=1 "$0" "$win64" "$native" "$output"
fi
ip link set lo up

[ -f "$win64/bench.exe" ] || { echo "bench: $win64/bench.exe is missing (ninja -C $win64 bench)"; exit 1; }
export WINEPREFIX="$win64/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export TESSALY_SIM_TCP=5025
export TESSALY_SIM_CONTROL=5026
export TESSALY_SIM_BIN="$native/tessaly-sim"
export TESSALY_PROGRAM="Z:${win64//\//\\}\\Tessaly.exe"
wine=/usr/lib/wine/wine64
# A Wine server started outside this namespace would make the sockets there: end it first.
/usr/lib/wine/wineserver -k 2>/dev/null || true

# shellcheck source=../scripts/netns.sh
source "$here/../scripts/netns.sh"
pids=()
cleanup() {
  set +e # a host's veth pair goes with its namespace, so some of the deletes find nothing
  netns_down
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  wait 2>/dev/null || true
}
trap cleanup EXIT

display=:$((90 + RANDOM % 400))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=$display
"$here/wine-prefix.sh" --no-window-manager

simout="$win64/bench-sim.out"
"$native/tessaly-sim" --tcp-port "$TESSALY_SIM_TCP" --control-port "$TESSALY_SIM_CONTROL" \
  >"$simout" 2>&1 &
pids+=($!)
for _ in $(seq 100); do grep -q ready "$simout" 2>/dev/null && break; sleep 0.1; done
grep -q ready "$simout" || { echo "bench: tessaly-sim did not start"; cat "$simout"; exit 1; }

hosts=${TESSALY_BENCH_HOSTS:-100}
[ "$hosts" -le 150 ] || { echo "bench: at most 150 responders (192.0.2.101 to .250)"; exit 1; }
netns_bridge_up
responders=()
for i in $(seq "$hosts"); do
  name=$(printf 'BENCH-%03d' "$i")
  address="192.0.2.$((100 + i))"
  mac=$(printf '00-1A-2B-3C-5E-%02X' "$i")
  netns_host_start "$name" "$address" --mac "$mac" || exit 1
  responders+=("$name,$address,$mac")
done
export TESSALY_BENCH_RESPONDERS="${responders[*]}"
echo "bench: $hosts LAN responders up"

status=0
"$wine" "$win64/bench.exe" "Z:${output//\//\\}" || status=$?
if [ -f "$output" ]; then
  cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)
  memory=$(awk '/^MemTotal/ {printf "%.1f GB", $2 / 1048576}' /proc/meminfo)
  system=$(. /etc/os-release 2>/dev/null && echo "${PRETTY_NAME:-}")
  machine="Machine: ${cpu:-unknown CPU}, $(nproc) cores, $memory, $system, Linux $(uname -r), $("$wine" --version 2>/dev/null)"
  echo "$machine" >>"$output"
  echo "$machine"
  echo "bench: figures written to $output"
fi
exit "$status"
