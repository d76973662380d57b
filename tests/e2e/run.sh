#!/usr/bin/env bash
# Runs the Windows-side tests under Wine in a private network namespace: loopback only, so that
# nothing leaves the machine. Starts a virtual display and the simulated instrument (TCP, control
# channel and a pseudo-terminal linked into the Wine prefix as COM12) and a second simulator with
# two TCP instruments for tessaly-cmd's runs on several instruments, runs CTest in the Windows
# build that this machine runs (scripts/lib.sh), and ends everything it started, also when a test
# fails.
# Usage: tests/e2e/run.sh [ctest arguments...]
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib.sh"
load_windows_build
enter_windows_machine "$0" "$@"
enter_private_network "$0" "$@"
trap cleanup EXIT

use_wine_prefix "$WIN_BUILD/wineprefix" --no-window-manager
export TESSALY_SIM_TCP=5025 TESSALY_SIM_CONTROL=5026 TESSALY_SIM_BIN="$NATIVE_BUILD/tessaly-sim"
# The second simulator's first instrument; the next one is on the next TCP and control ports.
export TESSALY_SIM2_TCP=5030 TESSALY_SIM2_CONTROL=5040
export TESSALY_SCREENSHOT_DIR="$WIN_BUILD/screenshots"
mkdir -p "$TESSALY_SCREENSHOT_DIR"
rm -rf "$WIN_BUILD/results" && mkdir -p "$WIN_BUILD/results"
export GTEST_OUTPUT="xml:$(windows_path "$WIN_BUILD/results")\\"
start_display
# After the display is up, so that the Wine programs this starts find it. The tests at other text
# sizes (tests/e2e/with_dpi.sh) set 96 DPI back themselves; this is for a run killed in between.
set_wine_dpi 96
start_sim "$WIN_BUILD/sim.out" --tcp-port "$TESSALY_SIM_TCP" --control-port "$TESSALY_SIM_CONTROL" \
  --pty-link "$WINEPREFIX/dosdevices/com12"
start_sim "$WIN_BUILD/sim2.out" --instruments 2 --tcp-port "$TESSALY_SIM2_TCP" \
  --control-port "$TESSALY_SIM2_CONTROL"

ctest --test-dir "$WIN_BUILD" --output-on-failure --timeout 900 "$@"
