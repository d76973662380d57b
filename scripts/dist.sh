#!/usr/bin/env bash
# `make dist`: packs each 32-bit program with a short readme, its "Boot Loader" folder and the
# console program for scripts, tessaly-cmd.exe, into a zip file. The folder holds only a text
# saying that the instrument maker's bootloader tool goes there: no program, so that copying the
# folder over an installation can never replace the maker's tool with anything of ours.
#   OUTDIR/Tessaly.zip     Tessaly/Tessaly.exe, Tessaly/tessaly-cmd.exe,
#                          Tessaly/Boot Loader/README.txt, Tessaly/README.txt
#   OUTDIR/Tessaly-xp.zip  the same for Tessaly-xp.exe
# The files in the zips carry a fixed date, so the same programs give the same zips.
# Usage: scripts/dist.sh WIN32_BUILD_DIR OUTDIR
set -euo pipefail
[ $# = 2 ] || { sed -n '2,/^$/s/^# \{0,1\}//p' "$0" >&2; exit 2; }
win32=$(realpath "$1")
mkdir -p "$2"
outdir=$(realpath "$2")

# The panels as the registry lists them, "Command, Trigger, ... and Status".
panels=$(grep -o '^ *PANEL([A-Za-z]*' "$(dirname "$0")/../core/panel_list.h" | sed 's/.*(//' |
  paste -sd, | sed 's/,/, /g; s/\(.*\), /\1 and /')
[ -n "$panels" ] || { echo "dist: no panels found in core/panel_list.h" >&2; exit 1; }

stage=$(mktemp -d /tmp/tessaly-dist.XXXXXX)
trap 'rm -rf "$stage"' EXIT

# The readme of one package, with Windows line ends so that every Notepad shows it.
readme() {
  local program=$1 tool=$2 windows=$3
  sed 's/$/\r/' <<TEXT
$program - remote control of a programmable AC power source

$program sends SCPI commands to one instrument over a serial port (RS-232, or USB through
the virtual serial port that the instrument presents) or over Ethernet (TCP), from panels
of buttons: $panels. Each button sends
one command line; the panel's output box shows it, newest first, with the answer.
Runs on $windows. Nothing to install: it writes nothing to disk
and keeps no settings; every start begins afresh.

Files
  $program.exe
      the program
  tessaly-cmd.exe
      the same commands from scripts and batch files; "tessaly-cmd --help" tells how
  Boot Loader\\README.txt
      where the bootloader tool goes (see below); keep the folder beside the program
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
  That tool comes from the instrument's maker and is not part of this package: put it
  into the "Boot Loader" folder under that name. If it is not there, the program says
  which file it looked for.
TEXT
}

# The text in the "Boot Loader" folder.
tool_readme() {
  sed 's/$/\r/' <<TEXT
The instrument maker's bootloader tool belongs in this folder, as

  $1

File > Bootloader in $2 starts it from here. This package holds no bootloader tool, so
copying this folder never replaces the maker's tool.
TEXT
}

# pack PROGRAM TOOL WINDOWS
pack() {
  local program=$1 tool=$2 windows=$3
  local exe="$win32/$program.exe" cmd="$win32/tessaly-cmd.exe" file
  for file in "$exe" "$cmd"; do
    [ -f "$file" ] || { echo "dist: $file is missing; build first (make build)" >&2; exit 1; }
  done
  local dir="$stage/$program"
  mkdir -p "$dir/Boot Loader"
  cp "$exe" "$cmd" "$dir/"
  tool_readme "$tool" "$program.exe" >"$dir/Boot Loader/README.txt"
  readme "$program" "$tool" "$windows" >"$dir/README.txt"
  find "$dir" -exec touch -h -d '2000-01-01 00:00:00 UTC' {} +
  rm -f "$outdir/$program.zip"
  (cd "$stage" && find "$program" | LC_ALL=C sort | zip -X -q -D "$outdir/$program.zip" -@)
  echo "dist: $outdir/$program.zip"
  unzip -l "$outdir/$program.zip" | sed -n '4,$p' | grep -v -- '^-\|files$' | sed 's/^/  /'
}

pack Tessaly "Varnock Boot Loader_Win7.exe" \
  "Windows Vista, 7, 8, 10 and 11, 32-bit and 64-bit (a 32-bit program)"
pack Tessaly-xp "Varnock Boot Loader_WinXP.exe" "Windows XP (a 32-bit program)"
