#!/usr/bin/env bash
# `make run`: opens Tessaly.exe under Wine with tessaly-sim, the simulated AC source, serving on
# loopback port 5025 and on a simulated serial port linked as COM5; the program stays open until
# you close it. Without a display (no DISPLAY) it runs the scripted session of
# scripts/run_session.sh instead, which saves screenshots to build/run/ and ends by itself.
# Usage: scripts/run.sh
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
[ -n "${DISPLAY:-}" ] || exec "$here/run_session.sh"
source "$here/lib.sh"
load_windows_build
use_windows_build_of_this_kernel
trap cleanup EXIT

out=$TESSALY_ROOT/build/run
mkdir -p "$out"
use_wine_prefix "$WIN_BUILD/wineprefix-run"
start_sim "$out/sim.out" --tcp-port 5025 --pty-link "$WINEPREFIX/dosdevices/com5"

cat <<MSG
tessaly-sim is serving a simulated AC source:
  Ethernet: File > Configure, choose "Ethernet", IP Address 127.0.0.1, TCP Port 5025, Open
  Serial:   File > Configure, choose "RS-232" or "USB", Comport 5, Open
MSG

echo "run: opening $WIN_BUILD/Tessaly.exe"
"$WINE" "$WIN_BUILD/Tessaly.exe"
