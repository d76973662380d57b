#!/usr/bin/env bash
# Real-input smoke test: drives Tessaly.exe under Wine with real mouse clicks and key presses on a
# virtual display (xdotool), through the real menu bar, the Configuration dialog's keyboard
# handling, an entry box and push buttons, and checks what tessaly-sim received. Runs in a private
# network namespace, like tests/e2e/run.sh, and ends everything it started.
# Usage: tests/e2e/smoke_xdotool.sh
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib.sh"
load_windows_build
enter_windows_machine "$0" "$@"
enter_private_network "$0" "$@"
trap cleanup EXIT

rm -f "$WIN_BUILD/smoke.passed"
use_wine_prefix "$WIN_BUILD/wineprefix" --no-window-manager
tcp_port=5025
control_port=5026
shots="$WIN_BUILD/screenshots"
mkdir -p "$shots"

fail() {
  echo "smoke: FAILED: $*"
  import -window root "$shots/smoke-failure.png" 2>/dev/null || true
  exit 1
}

start_display
start_sim "$WIN_BUILD/smoke-sim.out" --tcp-port "$tcp_port" --control-port "$control_port"

# One control line to the simulator; prints the reply line.
sim() {
  local reply
  exec 3<>"/dev/tcp/127.0.0.1/$control_port"
  printf '%s\n' "$1" >&3
  IFS= read -r reply <&3 || true
  exec 3<&-
  printf '%s' "${reply%$'\r'}"
}
hex() { printf "$1" | od -An -tx1 | tr -d ' \n'; }

# Waits until the simulator recorded exactly the given bytes (printf notation) since the clear.
expect_sent() {
  local want got
  want=$(hex "$1")
  for _ in $(seq 50); do
    got=$(sim "record tcp")
    [ "$got" = "$want" ] && { sim clear >/dev/null; return 0; }
    sleep 0.1
  done
  fail "the simulator received '$got', expected '$want' ($1)"
}
expect_connections() {
  for _ in $(seq 50); do
    [ "$(sim connections)" = "$1" ] && return 0
    sleep 0.1
  done
  fail "the simulator has $(sim connections) connections, expected $1"
}

# The main window's title is its class name; controls are found by their identifier in the panel
# tables, so that a control that moves moves the click with it.
root=$(cd "$(dirname "$0")/../.." && pwd)
title=$(sed -n 's/.*MainWindowClass = "\(.*\)";.*/\1/p' "$root/app/main_window_create_win.h")
[ -n "$title" ] || fail "no MainWindowClass in app/main_window_create_win.h"
# x y width height of the control with this identifier, from its panel table row.
place_of() {
  local place
  place=$(sed -n "s/^ *{$1, ControlKind::[A-Za-z]*, \"[^\"]*\", \([0-9]*\), \([0-9]*\), \([0-9]*\), \([0-9]*\)},.*/\1 \2 \3 \4/p" \
    "$root"/panels/panel_*.cpp)
  [ -n "$place" ] || fail "no table row for $1"
  echo "$place"
}

"$WINE" "$WIN_BUILD/Tessaly.exe" >/dev/null 2>&1 &
program=$!
track_pid "$program"
xdotool search --sync --name "^$title\$" >/dev/null
sleep 1

# The main window's client area on the screen: the window is placed at (10, 10); Wine's frame is
# 3 pixels, its caption 19 and the menu bar 19.
read -r wx wy < <(xdotool search --name "^$title\$" getwindowgeometry |
  sed -n 's/.*Position: \([0-9]*\),\([0-9]*\).*/\1 \2/p')
cx=$((wx + 3))
cy=$((wy + 41))
menu_y=$((wy + 32))
item_y() { echo $((cy + 11 + 16 * $1)); } # the n-th item of an open menu, from 0
click() { xdotool mousemove "$1" "$2" click 1; sleep 0.3; }
click_control() { # the middle of the control with this identifier
  local x y w h
  read -r x y w h < <(place_of "$1")
  click $((cx + x + w / 2)) $((cy + y + h / 2))
}

# File > Configure with the mouse.
click $((wx + 16)) "$menu_y"
click $((wx + 60)) "$(item_y 0)"
xdotool search --sync --name '^Configuration$' >/dev/null
sleep 0.5
import -window root "$shots/smoke-dialog.png"

# The dialog with the keyboard: Tab from Open past Close to the IP Address and TCP Port boxes,
# on to the connection kind list, "e" for Ethernet, Enter for the default Open button.
xdotool key Tab Tab
xdotool type --delay 30 127.0.0.1
xdotool key Tab
xdotool type --delay 30 "$tcp_port"
xdotool key Tab Tab Tab e Return
expect_connections 1

# Escape is not the Close button; Alt+F4 closes the dialog and keeps the link.
xdotool key Escape
sleep 0.5
expect_connections 1
xdotool search --name '^Configuration$' >/dev/null || fail "Escape closed the dialog"
xdotool key alt+F4
sleep 0.5
! xdotool search --name '^Configuration$' >/dev/null || fail "Alt+F4 did not close the dialog"
expect_connections 1
sim clear >/dev/null

# Command panel: type into the Voltage box, press "Set Voltage".
click_control IDC_VOLTAGE_BOX
xdotool type --delay 30 120
click_control IDC_SET_VOLTAGE
expect_sent 'VOLT 120\n'

# View > Trigger Tab, the second item of the View menu that start-up made from the panel registry,
# then "Bus Trigger (*TRG)", which only takes the click when the Trigger panel is shown.
click $((wx + 50)) "$menu_y"
import -window root "$shots/smoke-view-menu.png"
click $((wx + 80)) "$(item_y 1)"
click_control IDC_BUS_TRIGGER
expect_sent '*TRG\n'
import -window root "$shots/smoke-trigger.png"

# View > Command Tab: the voltage is still typed; "Get Voltage" asks the instrument.
click $((wx + 50)) "$menu_y"
click $((wx + 80)) "$(item_y 0)"
click_control IDC_GET_VOLTAGE
expect_sent 'MEAS:VOLT?\n'
import -window root "$shots/smoke-command.png"

# Alt+F4 on the main window ends the program and its link.
xdotool key alt+F4
for _ in $(seq 50); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
kill -0 "$program" 2>/dev/null && fail "the program is still running"
wait "$program" || fail "the program ended with code $?"
expect_connections 0
touch "$WIN_BUILD/smoke.passed"
echo "smoke: passed (screenshots in $shots)"
