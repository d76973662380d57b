#!/usr/bin/env bash
# `make run` without a display: a scripted session with the real program on a virtual display, in
# a private network namespace so that nothing leaves the machine. tessaly-sim plays an instrument
# at 192.0.2.20 (a host of its own on a private bridge, see tests/e2e/netns.sh) that serves SCPI on
# TCP port 5025 and answers the LAN discovery. tests/e2e/run_session.cpp drives the program: opens
# the Ethernet link, *IDN?, sets and reads a voltage, output on, reads the power, one discovery.
# Screenshots of each step go to build/run/ as PNG; the output boxes are printed here. Ends by
# itself, within 90 seconds at most, and ends everything it started.
# Usage: scripts/run_session.sh WIN64_BUILD_DIR NATIVE_BUILD_DIR
set -euo pipefail

win64=$(realpath "$1")
native=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)

export WINEPREFIX="$win64/wineprefix-session"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64

if [ -z "${TESSALY_IN_NETNS:-}" ]; then
  for f in "$win64/Tessaly.exe" "$win64/run_session.exe" "$native/tessaly-sim"; do
    [ -x "$f" ] || [ -f "$f" ] || { echo "run: $f is missing; build first (make build)" >&2; exit 1; }
  done
  # Wine makes the program's sockets in its server: a server of this prefix that was started
  # outside the private network must not carry them.
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  if [ "$(id -u)" = 0 ]; then ns=(unshare -n); else ns=(unshare -rn); fi
  exec "${ns[@]}" env TESSALY_IN_NETNS=1 "$0" "$win64" "$native"
fi
ip link set lo up

out="$win64/../run"
mkdir -p "$out"
out=$(realpath "$out")
rm -f "$out"/*.bmp "$out"/*.png

address=192.0.2.20
port=5025
export TESSALY_SIM_BIN="$native/tessaly-sim"
# shellcheck source=../tests/e2e/netns.sh
source "$here/../tests/e2e/netns.sh"

pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  netns_down
  wait 2>/dev/null || true
}
trap cleanup EXIT

netns_bridge_up
netns_host_start TESSALY-SIM "$address" --tcp-port "$port" --mac 00-1A-2B-3C-4D-20

display=:$((500 + RANDOM % 400))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

echo "== Preparing the Wine prefix $WINEPREFIX"
"$here/wine-prefix.sh" --no-window-manager

export TESSALY_PROGRAM="Z:${win64//\//\\}\\Tessaly.exe"
export TESSALY_SCREENSHOT_DIR="$out"
status=0
timeout 90 "$wine" "$win64/run_session.exe" "$address" "$port" || status=$?
[ "$status" = 124 ] && echo "run: the session did not end within 90 seconds"

for shot in "$out"/*.bmp; do
  [ -e "$shot" ] || continue
  convert "$shot" "${shot%.bmp}.png" && rm -f "$shot"
done
echo "== Screenshots in $out:"
for shot in "$out"/*.png; do [ -e "$shot" ] && echo "  ${shot##*/}"; done
exit "$status"
