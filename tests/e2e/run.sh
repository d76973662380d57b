#!/usr/bin/env bash
# Runs the Windows-side tests under Wine in a private network namespace: loopback only, so that
# nothing leaves the machine. Starts a virtual display, the simulated instrument (TCP, control
# channel and a pseudo-terminal linked into the Wine prefix as COM12), runs CTest in the win64
# build folder, and ends everything it started, also when a test fails.
# Usage: tests/e2e/run.sh WIN64_BUILD_DIR NATIVE_BUILD_DIR [ctest arguments...]
set -euo pipefail

win64=$(realpath "$1")
native=$(realpath "$2")
shift 2

if [ -z "${TESSALY_IN_NETNS:-}" ]; then
  exec unshare -n env TESSALY_IN_NETNS=1 "$0" "$win64" "$native" "$@"
fi
ip link set lo up

export WINEPREFIX="$win64/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export TESSALY_SIM_TCP=5025
export TESSALY_SIM_CONTROL=5026
export TESSALY_SCREENSHOT_DIR="$win64/screenshots"
mkdir -p "$TESSALY_SCREENSHOT_DIR"
rm -rf "$win64/results" && mkdir -p "$win64/results"
export GTEST_OUTPUT="xml:Z:${win64//\//\\}\\results\\"
wine=/usr/lib/wine/wine64
export TESSALY_SIM_BIN="$native/tessaly-sim"
# A Wine server for this prefix started outside the private network would carry the sockets
# of the tests (Wine makes them in its server): end any such server first.
/usr/lib/wine/wineserver -k 2>/dev/null || true

pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  wait 2>/dev/null || true
}
trap cleanup EXIT

display=:$((90 + RANDOM % 400))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=$display

"$(dirname "$0")/../../scripts/wine-prefix.sh" --no-window-manager

program=$(ls "$win64"/Tessaly.exe 2>/dev/null || true)
[ -n "$program" ] && export TESSALY_PROGRAM="Z:${program//\//\\}"

simout="$win64/sim.out"
"$native/tessaly-sim" --tcp-port "$TESSALY_SIM_TCP" --control-port "$TESSALY_SIM_CONTROL" \
  --pty-link "$WINEPREFIX/dosdevices/com12" >"$simout" 2>&1 &
pids+=($!)
for _ in $(seq 100); do grep -q ready "$simout" 2>/dev/null && break; sleep 0.1; done
grep -q ready "$simout" || { echo "e2e: tessaly-sim did not start"; cat "$simout"; exit 1; }

ctest --test-dir "$win64" --output-on-failure --timeout 900 "$@"
