#!/usr/bin/env bash
# `make run` without a display: a scripted session with the real program on a virtual display, in
# a private network namespace so that nothing leaves the machine. tessaly-sim plays an instrument
# at 192.0.2.20 (a host of its own on a private bridge, see scripts/netns.sh) that serves SCPI on
# TCP port 5025 and answers the LAN discovery. tests/e2e/run_session.cpp drives the program: opens
# the Ethernet link, *IDN?, sets and reads a voltage, output on, reads the power, one discovery.
# Screenshots of each step go to build/run/ as PNG; the output boxes are printed here. Ends by
# itself, within 90 seconds at most, and ends everything it started.
# Usage: scripts/run_session.sh
set -euo pipefail
source "$(dirname "$0")/lib.sh"
load_windows_build
enter_windows_machine "$0" "$@"
for f in "$WIN_BUILD/Tessaly.exe" "$WIN_BUILD/run_session.exe" "$NATIVE_BUILD/tessaly-sim"; do
  [ -f "$f" ] || lib_fail "$f is missing; build first (make build)"
done
enter_private_network "$0" "$@"
trap cleanup EXIT

out=$TESSALY_ROOT/build/run
mkdir -p "$out"
rm -f "$out"/*.bmp "$out"/*.png

address=192.0.2.20
port=5025
start_lan
netns_host_start TESSALY-SIM "$address" --tcp-port "$port" --mac 00-1A-2B-3C-4D-20 ||
  lib_fail "the simulated instrument did not start"
start_display

echo "== Preparing the Wine prefix $WIN_BUILD/wineprefix-session"
use_wine_prefix "$WIN_BUILD/wineprefix-session" --no-window-manager

export TESSALY_PROGRAM
TESSALY_PROGRAM=$(windows_path "$WIN_BUILD/Tessaly.exe")
export TESSALY_SCREENSHOT_DIR="$out"
status=0
timeout 90 "$WINE" "$WIN_BUILD/run_session.exe" "$address" "$port" || status=$?
[ "$status" = 124 ] && echo "run: the session did not end within 90 seconds"

for shot in "$out"/*.bmp; do
  [ -e "$shot" ] || continue
  convert "$shot" "${shot%.bmp}.png" && rm -f "$shot"
done
echo "== Screenshots in $out:"
for shot in "$out"/*.png; do [ -e "$shot" ] && echo "  ${shot##*/}"; done
exit "$status"
