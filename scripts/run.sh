#!/usr/bin/env bash
# `make run`: opens Tessaly.exe under Wine with tessaly-sim, the simulated AC source, serving on
# loopback port 5025 and on a simulated serial port linked as COM5; the program stays open until
# you close it. Without a display (no DISPLAY) it runs the scripted session of
# scripts/run_session.sh instead, which saves screenshots to build/run/ and ends by itself.
# Usage: scripts/run.sh WIN64_BUILD_DIR NATIVE_BUILD_DIR
set -euo pipefail
win64=$(realpath "$1")
native=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)

if [ -z "${DISPLAY:-}" ]; then
  exec "$here/run_session.sh" "$win64" "$native"
fi

out="$win64/../run"
mkdir -p "$out"

export WINEPREFIX="$win64/wineprefix-run"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64

pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  /usr/lib/wine/wineserver -k 2>/dev/null || true
}
trap cleanup EXIT

"$here/wine-prefix.sh"

"$native/tessaly-sim" --tcp-port 5025 --pty-link "$WINEPREFIX/dosdevices/com5" >"$out/sim.out" 2>&1 &
pids+=($!)
for _ in $(seq 50); do grep -q ready "$out/sim.out" && break; sleep 0.1; done

cat <<MSG
tessaly-sim is serving a simulated AC source:
  Ethernet: File > Configure, choose "Ethernet", IP Address 127.0.0.1, TCP Port 5025, Open
  Serial:   File > Configure, choose "RS-232" or "USB", Comport 5, Open
MSG

"$wine" "$win64/Tessaly.exe"
