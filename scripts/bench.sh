#!/usr/bin/env bash
# Runs the benchmark (bench.exe, bench/bench_win.cpp) under Wine in a private network namespace,
# set up as for the Windows-side tests: a virtual display, tessaly-sim on loopback with its control
# channel, and simulated LAN responders, each a tessaly-sim host in a namespace of its own
# (scripts/netns.sh). Measures the Windows build that this machine runs (scripts/lib.sh): the
# shipped i686 Tessaly.exe under 32-bit Wine where the kernel allows, else the x86_64 test build,
# and says which. Prints the figures and the ratios, writes them with a line about this machine to
# the output file, and ends everything it started, also when the bench fails.
# Usage: scripts/bench.sh [OUTPUT_FILE]   (default build/bench.txt)
# Settings: TESSALY_BENCH_HOSTS (LAN responders, default 100), TESSALY_BENCH_ROUNDS (click
# samples, default 41), TESSALY_BENCH_STARTS (start-ups of each program, default 15),
# TESSALY_BENCH_DISCOVERIES (discovery runs, default 5), TESSALY_BENCH_CPU (the one CPU that
# everything runs on, default the last; "all" for no pinning).
#
# Everything runs on one CPU. On a virtual machine a request to the Wine server that wakes it on
# the other CPU costs some 15 times what it costs on the same one (about 0.13 ms against 0.008 ms
# here), and whether a process pays that is settled by the scheduler per process and can change
# at any time: two processes doing the same work then differ by a factor of two or three, which
# would swamp every ratio between the program and its yardsticks. On one CPU each request costs
# the same for every process.
# Exit status: 0 every goal met, 2 a goal missed, 1 the bench could not run.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
output=$(realpath -m "${1:-$TESSALY_ROOT/build/bench.txt}")
load_windows_build
use_windows_build_of_this_kernel
bench_cpu=${TESSALY_BENCH_CPU:-$(($(nproc --all) - 1))}
[ "$bench_cpu" = all ] || taskset -cp "$bench_cpu" $$ >/dev/null ||
  lib_fail "cannot pin to CPU $bench_cpu"
for f in "$WIN_BUILD/Tessaly.exe" "$WIN_BUILD/bench.exe" "$WIN_BUILD/bench_bare.exe" \
  "$NATIVE_BUILD/tessaly-sim"; do
  [ -f "$f" ] || lib_fail "$f is missing; build first (make build)"
done
enter_private_network "$0" "$output"
trap cleanup EXIT

hosts=${TESSALY_BENCH_HOSTS:-100}
[ "$hosts" -le 150 ] || lib_fail "at most 150 responders (192.0.2.101 to .250)"

use_wine_prefix "$WIN_BUILD/wineprefix" --no-window-manager
export TESSALY_SIM_TCP=5025 TESSALY_SIM_CONTROL=5026
# Room for two programs, the bare window and the yardstick boxes side by side, none over another.
start_display 2700x1400
start_sim "$WIN_BUILD/bench-sim.out" --tcp-port "$TESSALY_SIM_TCP" \
  --control-port "$TESSALY_SIM_CONTROL"

start_lan
responders=()
for i in $(seq "$hosts"); do
  name=$(printf 'BENCH-%03d' "$i")
  address="192.0.2.$((100 + i))"
  mac=$(printf '00-1A-2B-3C-5E-%02X' "$i")
  netns_host_start "$name" "$address" --mac "$mac" || lib_fail "responder $name did not start"
  responders+=("$name,$address,$mac,$NETNS_CONTROL_PORT")
done
export TESSALY_LAN_HOSTS="${responders[*]}"
echo "bench: $hosts LAN responders up"

# Which program is measured, and why that one: the first line of the report.
if [ -z "$WINE32_NOTE" ]; then
  program_line="Program: ${WIN_BUILD#"$TESSALY_ROOT"/}/Tessaly.exe (i686, the shipped program) under 32-bit Wine"
else
  program_line="Program: ${WIN_BUILD#"$TESSALY_ROOT"/}/Tessaly.exe (x86_64 test build, NOT the shipped i686 program) under 64-bit Wine, because $WINE32_NOTE"
fi
if [ "$bench_cpu" = all ]; then
  program_line+=$'\n'"All on any of the $(nproc --all) CPUs (TESSALY_BENCH_CPU=all)"
else
  program_line+=$'\n'"All on CPU $bench_cpu of $(nproc --all): the programs, the bench, the Wine server, the display, tessaly-sim"
fi
export TESSALY_BENCH_PROGRAM_LINE=$program_line
export TESSALY_PROGRAM
TESSALY_PROGRAM=$(windows_path "$WIN_BUILD/Tessaly.exe")

status=0
"$WINE" "$WIN_BUILD/bench.exe" "$(windows_path "$output")" || status=$?
if [ -f "$output" ]; then
  cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)
  memory=$(awk '/^MemTotal/ {printf "%.1f GB", $2 / 1048576}' /proc/meminfo)
  system=$(. /etc/os-release 2>/dev/null && echo "${PRETTY_NAME:-}")
  machine="Machine: ${cpu:-unknown CPU}, $(nproc --all) cores, $memory, $system, Linux $(uname -r), $("$WINE" --version 2>/dev/null)"
  echo "$machine" >>"$output"
  echo "$machine"
  echo "bench: figures written to $output"
fi
exit "$status"
