#!/usr/bin/env bash
# Opens Tessaly.exe under Wine with tessaly-sim serving on loopback port 5025 and a simulated
# serial port as COM5. With a display the program stays open until you close it; without one it
# runs on a virtual display, saves a screenshot to build/run/, and ends.
# Usage: scripts/run.sh WIN64_BUILD_DIR NATIVE_BUILD_DIR
set -euo pipefail
win64=$(realpath "$1")
native=$(realpath "$2")
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

headless=0
if [ -z "${DISPLAY:-}" ]; then
  headless=1
  export DISPLAY=:$((500 + RANDOM % 400))
  Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  pids+=($!)
  sleep 1
fi
"$(dirname "$0")/wine-prefix.sh"

"$native/tessaly-sim" --tcp-port 5025 --pty-link "$WINEPREFIX/dosdevices/com5" >"$out/sim.out" 2>&1 &
pids+=($!)
for _ in $(seq 50); do grep -q ready "$out/sim.out" && break; sleep 0.1; done

cat <<MSG
tessaly-sim is serving a simulated AC source:
  Ethernet: File > Configure, choose "Ethernet", IP Address 127.0.0.1, TCP Port 5025, Open
  Serial:   File > Configure, choose "RS-232" or "USB", Comport 5, Open
MSG

if [ "$headless" = 0 ]; then
  "$wine" "$win64/Tessaly.exe"
else
  "$wine" "$win64/Tessaly.exe" &
  pids+=($!)
  sleep 6
  import -window root -display "$DISPLAY" "$out/tessaly.png" 2>/dev/null || true
  echo "No display: the program ran on a virtual display; screenshot in $(realpath "$out")/tessaly.png"
fi
