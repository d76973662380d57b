#!/usr/bin/env bash
# Makes the Wine prefix named by WINEPREFIX once: 64-bit, no Mono or Gecko prompts, and the
# Windows fonts the program asks for (Times New Roman, Arial, MS Shell Dlg) mapped to the
# metric-compatible Liberation fonts, so that captions fit their controls as on Windows.
# With --no-window-manager (virtual displays without one), Wine draws window frames itself and
# does not wait two seconds for a manager each time a window is hidden.
# Usage: scripts/wine-prefix.sh [--no-window-manager]
set -euo pipefail
: "${WINEPREFIX:?WINEPREFIX must be set}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64

# Imports registry text once per prefix, remembered by a marker file.
import_once() {
  local marker=$WINEPREFIX/$1 reg
  [ -f "$marker" ] && return 0
  reg=$(mktemp --suffix=.reg)
  printf 'REGEDIT4\n\n%s\n' "$2" >"$reg"
  "$wine" regedit "$reg" >/dev/null 2>&1
  rm -f "$reg"
  /usr/lib/wine/wineserver -w 2>/dev/null || true
  touch "$marker"
}

[ -f "$WINEPREFIX/system.reg" ] || "$wine" wineboot -i >/dev/null 2>&1 || true
import_once .tessaly-fonts '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Times New Roman"="Liberation Serif"
"Arial"="Liberation Sans"
"MS Shell Dlg"="Liberation Sans"
"MS Sans Serif"="Liberation Sans"'
if [ "${1:-}" = --no-window-manager ]; then
  import_once .tessaly-no-window-manager '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
"Decorated"="N"'
fi
