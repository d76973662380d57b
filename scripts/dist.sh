#!/usr/bin/env bash
# `make dist`: packs each program with its "Boot Loader" folder (the stand-in tool that marks
# where the instrument maker's bootloader tool belongs) and a short readme into a zip file:
#   OUTDIR/Tessaly.zip     Tessaly/Tessaly.exe, Tessaly/Boot Loader/..._Win7.exe, Tessaly/README.txt
#   OUTDIR/Tessaly-xp.zip  the same for Tessaly-xp.exe and ..._WinXP.exe
# The files in the zips carry a fixed date, so the same programs give the same zips.
# Usage: scripts/dist.sh WIN64_BUILD_DIR WIN32_BUILD_DIR OUTDIR
set -euo pipefail
[ $# = 3 ] || { sed -n '2,/^$/s/^# \{0,1\}//p' "$0" >&2; exit 2; }
win64=$(realpath "$1")
win32=$(realpath "$2")
mkdir -p "$3"
outdir=$(realpath "$3")

stage=$(mktemp -d /tmp/tessaly-dist.XXXXXX)
trap 'rm -rf "$stage"' EXIT

# The readme of one package, with Windows line ends so that every Notepad shows it.
readme() {
  local program=$1 tool=$2 windows=$3
  sed 's/$/\r/' <<TEXT
$program - remote control of a programmable AC power source

$program sends SCPI commands to one instrument over a serial port (RS-232, or USB through
the virtual serial port that the instrument presents) or over Ethernet (TCP), from five
panels of buttons: Command, Status, Trigger, Communication and Manufacturer. Each button
sends one command line; the panel's output box shows it, newest first, with the answer.
Runs on $windows. Nothing to install: it writes nothing to disk
and keeps no settings; every start begins afresh.

Files
  $program.exe
      the program
  Boot Loader\\$tool
      a stand-in for the bootloader tool (see below); keep the folder beside the program
  README.txt
      this text

Connecting (File > Configure)
  RS-232 or USB: choose "RS-232" or "USB", the Comport number, 0 to 25 (3 for COM3;
    Windows shows it in the Device Manager under Ports) and, for RS-232, the Baud Rate the
    instrument is set to (the USB port ignores it). Press Open: "Serial Connection Opened".
  Ethernet: choose "Ethernet", type the instrument's IP Address and TCP Port and press
    Open: "Connected to server". "Discover Ethernet Devices" lists the instruments on
    the local network with their IP address, host name and MAC address.
  Close ends the link. Closing the Configuration window keeps the link open.

Firmware bootloader (File > Bootloader)
  The program shows the steps for reloading the instrument's firmware and starts
  "Boot Loader\\$tool".
  The file of that name in this package is only a stand-in that says where the tool
  belongs: replace it with the bootloader tool from the instrument's maker, under the
  same name.
TEXT
}

# pack BUILD_DIR PROGRAM TOOL WINDOWS
pack() {
  local build=$1 program=$2 tool=$3 windows=$4
  local exe="$build/$program.exe" boot="$build/Boot Loader/$tool"
  [ -f "$exe" ] || { echo "dist: $exe is missing; build first (make build)" >&2; exit 1; }
  [ -f "$boot" ] || { echo "dist: $boot is missing; build first (make build)" >&2; exit 1; }
  local dir="$stage/$program"
  mkdir -p "$dir/Boot Loader"
  cp "$exe" "$dir/"
  cp "$boot" "$dir/Boot Loader/"
  readme "$program" "$tool" "$windows" >"$dir/README.txt"
  find "$dir" -exec touch -h -d '2000-01-01 00:00:00 UTC' {} +
  rm -f "$outdir/$program.zip"
  (cd "$stage" && find "$program" | LC_ALL=C sort | zip -X -q -D "$outdir/$program.zip" -@)
  echo "dist: $outdir/$program.zip"
  unzip -l "$outdir/$program.zip" | sed -n '4,$p' | grep -v -- '^-\|files$' | sed 's/^/  /'
}

pack "$win64" Tessaly "Varnock Boot Loader_Win7.exe" "64-bit Windows Vista and later"
pack "$win32" Tessaly-xp "Varnock Boot Loader_WinXP.exe" "Windows XP and later (a 32-bit program)"
