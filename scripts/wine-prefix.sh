#!/usr/bin/env bash
# Makes the Wine prefix named by WINEPREFIX once: 64-bit, no Mono or Gecko prompts, and the
# Windows fonts the program asks for (Times New Roman, Arial, MS Shell Dlg) mapped to the
# metric-compatible Liberation fonts, so that captions fit their controls as on Windows.
set -euo pipefail
: "${WINEPREFIX:?WINEPREFIX must be set}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
if [ ! -f "$WINEPREFIX/.tessaly-fonts" ]; then
  "$wine" wineboot -i >/dev/null 2>&1 || true
  reg=$(mktemp --suffix=.reg)
  cat >"$reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Times New Roman"="Liberation Serif"
"Arial"="Liberation Sans"
"MS Shell Dlg"="Liberation Sans"
"MS Sans Serif"="Liberation Sans"
REG
  "$wine" regedit "$reg" >/dev/null 2>&1
  rm -f "$reg"
  /usr/lib/wine/wineserver -w 2>/dev/null || true
  touch "$WINEPREFIX/.tessaly-fonts"
fi
