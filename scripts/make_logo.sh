#!/usr/bin/env bash
# Draws the About box logo (bitmap 110): 310 x 92 pixels, 256 colours, uncompressed BMP.
set -euo pipefail
cd "$(dirname "$0")/.."
convert -size 310x92 gradient:'#0b3d91-#1e88e5' -font DejaVu-Sans-Bold -fill white \
  -gravity center -pointsize 44 -annotate +0-8 'TESSALY' -font DejaVu-Sans -pointsize 12 \
  -annotate +0+30 'AC SOURCE REMOTE CONTROL' -type Palette -depth 8 -colors 256 -compress None \
  BMP3:res/logo.bmp
