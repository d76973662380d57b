#!/usr/bin/env bash
# What every script that runs the programs shares, sourced by make test, make run, make bench and
# the smoke test: which Windows build runs here, the Wine prefix, a virtual display, a private
# network namespace, tessaly-sim, and ending everything a script started, also when it fails.
#
# The programs that ship are 32-bit (build/win32) and run under 32-bit Wine. Some kernels cannot
# run 32-bit executables at all; there the same tests run the same programs under the same Wine
# inside a virtual machine that boots Debian's own kernel (scripts/vm.sh), and where QEMU is
# missing or TESSALY_VM=0 the x86_64 build of the same sources (build/win64) runs under 64-bit Wine
# instead, and the scripts say so. TESSALY_WINE32=0 asks for that last resort on any machine, to
# try it; TESSALY_VM=1 asks for the virtual machine on any machine; TESSALY_WINE32_LOADER names
# another 32-bit loader (for the check of this choice).

TESSALY_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
NATIVE_BUILD=$TESSALY_ROOT/build/native
SHIPPED_BUILD=$TESSALY_ROOT/build/win32
WINDOWS_CHOICE=${TESSALY_WINDOWS_CHOICE:-$TESSALY_ROOT/build/windows.env}
WINESERVER=/usr/lib/wine/wineserver
WINE32_LOADER=${TESSALY_WINE32_LOADER:-/usr/lib/wine/wine}
LIB_PIDS=()
LIB_NETNS_UP=0

lib_fail() {
  echo "${0##*/}: $*" >&2
  exit 1
}

# Decides once which Windows build runs on this machine and writes build/windows.env:
# WIN_BUILD, WINE (the loader), WINEARCH, WINE_IN_VM (1 when the programs run inside the virtual
# machine of scripts/vm.sh) and WINE32_NOTE (empty when the shipped 32-bit programs run on this
# machine's own kernel, else the plain reason why they do not).
choose_windows_build() {
  local note="" version in_vm=0
  if [ "${TESSALY_WINE32:-}" = 0 ]; then
    note="TESSALY_WINE32=0 asked for the x86_64 test build"
  elif [ "${TESSALY_VM:-}" = 1 ]; then
    note="TESSALY_VM=1 asked for the virtual machine"
    in_vm=1
  elif ! version=$("$WINE32_LOADER" --version 2>&1); then
    note="this machine's kernel refuses 32-bit executables ($WINE32_LOADER --version: ${version:-no output})"
    if [ "${TESSALY_VM:-}" = 0 ]; then
      note="$note, and TESSALY_VM=0 asked for no virtual machine"
    elif ! command -v qemu-system-x86_64 >/dev/null; then
      note="$note, and QEMU is missing for the virtual machine"
    else
      in_vm=1
    fi
  fi
  mkdir -p "$(dirname "$WINDOWS_CHOICE")"
  if [ -z "$note" ] || [ "$in_vm" = 1 ]; then
    printf 'WIN_BUILD=%q\nWINE=%q\nWINEARCH=win32\nWINE_IN_VM=%s\nWINE32_NOTE=%q\n' \
      "$SHIPPED_BUILD" "$WINE32_LOADER" "$in_vm" "$note" >"$WINDOWS_CHOICE"
  else
    printf 'WIN_BUILD=%q\nWINE=/usr/lib/wine/wine64\nWINEARCH=win64\nWINE_IN_VM=0\nWINE32_NOTE=%q\n' \
      "$TESSALY_ROOT/build/win64" "$note" >"$WINDOWS_CHOICE"
  fi
}

# Loads the choice (making it first if no earlier step did) and says it in one line.
load_windows_build() {
  [ -f "$WINDOWS_CHOICE" ] || choose_windows_build
  # shellcheck source=/dev/null
  source "$WINDOWS_CHOICE"
  WINE_IN_VM=${WINE_IN_VM:-0} # a choice written before the virtual machine existed
  export WIN_BUILD WINE WINEARCH WINE_IN_VM WINE32_NOTE
  # Said once, before the script entered the virtual machine or the private network.
  [ -z "${TESSALY_IN_NETNS:-}${TESSALY_IN_VM:-}" ] || return 0
  echo "${0##*/}: $(windows_build_said)"
}

# One line on which Windows programs run where, and why.
windows_build_said() {
  if [ -z "$WINE32_NOTE" ]; then
    echo "the shipped 32-bit programs under 32-bit Wine ($WIN_BUILD)"
  elif [ "$WINE_IN_VM" = 1 ]; then
    echo "the shipped 32-bit programs under 32-bit Wine in a virtual machine ($(vm_said)), because $WINE32_NOTE"
  else
    echo "NOT the shipped 32-bit programs: the x86_64 test build under 64-bit Wine, because $WINE32_NOTE"
  fi
}

# The virtual machine in a few words: its kernel and whether QEMU had KVM.
vm_said() {
  local kernel accel="QEMU without KVM"
  kernel=$(basename "$(echo "$TESSALY_ROOT"/build/vm/kernel/boot/vmlinuz-*)")
  kernel=${kernel#vmlinuz-}
  [[ $kernel == *"*"* ]] && kernel="not yet downloaded"
  [ "${TESSALY_VM_ACCEL:-}" = kvm ] && accel="QEMU with KVM"
  kernel=${kernel%%-*}
  echo "Debian kernel ${kernel%.*}, $accel"
}

# Runs the calling script again inside the virtual machine when the choice says the Windows
# programs run there; does nothing inside it or where they run on this machine's own kernel.
# Call as: enter_windows_machine "$0" "$@".
enter_windows_machine() {
  if [ "$WINE_IN_VM" = 1 ] && [ -z "${TESSALY_IN_VM:-}" ]; then
    exec "$TESSALY_ROOT/scripts/vm.sh" "$@"
  fi
}

# For what must run on this machine's own kernel (make bench: timings inside an emulator mean
# nothing; make run with a display: the guest has none): where the tests run the shipped programs
# in the virtual machine, uses the x86_64 test build under 64-bit Wine instead, and says so.
use_windows_build_of_this_kernel() {
  [ "$WINE_IN_VM" = 1 ] || return 0
  local said
  WINE_IN_VM=0
  if "$WINE" --version >/dev/null 2>&1; then # the virtual machine was asked for, not needed
    WINE32_NOTE=""
    said="the shipped 32-bit programs under 32-bit Wine ($WIN_BUILD)"
  else
    WIN_BUILD=$TESSALY_ROOT/build/win64 WINE=/usr/lib/wine/wine64 WINEARCH=win64
    said="NOT the shipped 32-bit programs: the x86_64 test build under 64-bit Wine ($WIN_BUILD), because $WINE32_NOTE"
  fi
  [ -n "${TESSALY_IN_NETNS:-}" ] || echo "${0##*/}: here $said"
}

# The Windows path of a file, as Wine's programs see it (drive Z: is the root).
windows_path() {
  local path
  path=$(realpath -m "$1")
  echo "Z:${path//\//\\}"
}

# Remembers a process that cleanup ends.
track_pid() { LIB_PIDS+=("$1"); }

# Ends what this script started: its processes, its simulated LAN hosts, the Wine server of its
# prefix. Installed as the EXIT trap by the scripts; safe to run twice.
cleanup() {
  set +e
  [ "$LIB_NETNS_UP" = 1 ] && netns_down
  LIB_NETNS_UP=0
  # Wine first, so that no program of the prefix sees its display go away.
  [ -n "${WINEPREFIX:-}" ] && "$WINESERVER" -k 2>/dev/null
  local pid
  for pid in "${LIB_PIDS[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  LIB_PIDS=()
  return 0
}

# Runs the calling script again inside a private network namespace with only loopback up, so
# that nothing it sends leaves the machine. Call as: enter_private_network "$0" "$@".
enter_private_network() {
  if [ -z "${TESSALY_IN_NETNS:-}" ]; then
    local ns=(unshare -n)
    [ "$(id -u)" = 0 ] || ns=(unshare -rn)
    exec "${ns[@]}" env TESSALY_IN_NETNS=1 "$@"
  fi
  ip link set lo up
}

# Uses the Wine prefix DIR (made once): no Mono or Gecko prompts, and the Windows fonts the
# program asks for (Times New Roman, Arial, MS Shell Dlg) mapped to the metric-compatible
# Liberation fonts, so that captions fit their controls as on Windows. With --no-window-manager
# (virtual displays without one) Wine draws window frames itself and does not wait two seconds
# for a manager each time a window is hidden.
use_wine_prefix() {
  export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  # Wine makes sockets in its server: a server of this prefix left from an earlier run, perhaps
  # outside the private network, must not carry this run's sockets.
  "$WINESERVER" -k 2>/dev/null || true
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$WINE" wineboot -i >/dev/null 2>&1 || true
    "$WINESERVER" -w 2>/dev/null || true # the registry is written when the server ends
  fi
  [ -f "$WINEPREFIX/system.reg" ] || lib_fail "could not make the Wine prefix $WINEPREFIX"
  wine_import_once .tessaly-fonts '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Times New Roman"="Liberation Serif"
"Arial"="Liberation Sans"
"MS Shell Dlg"="Liberation Sans"
"MS Sans Serif"="Liberation Sans"'
  if [ "${2:-}" = --no-window-manager ]; then
    wine_import_once .tessaly-no-window-manager '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
"Decorated"="N"'
  fi
}

# Sets the text size of the Wine prefix's user to DPI dots per inch (96 is 100 %, 144 is 150 %);
# programs started afterwards use it. Call it once the display is up: the Wine server it starts
# stays and keeps the display it found.
set_wine_dpi() {
  "$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f \
    >/dev/null 2>&1 || lib_fail "could not set the Wine prefix to $1 DPI"
}

# Imports registry text once per prefix, remembered by a marker file.
wine_import_once() {
  local marker=$WINEPREFIX/$1 reg
  [ -f "$marker" ] && return 0
  reg=$(mktemp --suffix=.reg)
  printf 'REGEDIT4\n\n%s\n' "$2" >"$reg"
  "$WINE" regedit "$reg" >/dev/null 2>&1 || true
  rm -f "$reg"
  "$WINESERVER" -w 2>/dev/null || true
  touch "$marker"
}

# Starts a virtual display (1280 x 1024 unless a WIDTHxHEIGHT is given) and exports DISPLAY once
# the server is ready to take clients.
start_display() {
  local fifo display size=${1:-1280x1024}
  fifo=$(mktemp -u /tmp/tessaly-display.XXXXXX)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  track_pid $!
  read -r -t 20 display <"$fifo" || true
  rm -f "$fifo"
  [ -n "$display" ] || lib_fail "the virtual display did not start"
  export DISPLAY=":$display"
}

# Starts tessaly-sim with the given options, its output in LOG, and waits until it is ready.
start_sim() {
  local log=$1
  shift
  "$NATIVE_BUILD/tessaly-sim" "$@" >"$log" 2>&1 &
  track_pid $!
  local _
  for _ in $(seq 100); do grep -q ready "$log" 2>/dev/null && return 0; sleep 0.1; done
  cat "$log" >&2
  lib_fail "tessaly-sim did not start"
}

# The private bridge for simulated LAN hosts (scripts/netns.sh), ended by cleanup.
start_lan() {
  export TESSALY_SIM_BIN=$NATIVE_BUILD/tessaly-sim
  # shellcheck source=netns.sh
  source "$TESSALY_ROOT/scripts/netns.sh"
  LIB_NETNS_UP=1
  netns_bridge_up || lib_fail "could not make the private bridge"
}
