#!/usr/bin/env bash
# The chart page in a real browser: renders tests/browser/chart_sample.csv (a voltage whose link
# drops for twelve rounds, an offset below zero, an identity that is no number) with the native
# chart_page helper, takes a screenshot of it in headless Chromium, and checks the pixels: the
# first chart's frame is there, its first line is drawn across the plot in its colour with a
# break where the link dropped, and the gap marks sit under the plot. A blank, unstyled or broken
# page fails. The screenshot is kept as docs/screenshots/chart.png for the README.
# Usage: tests/browser/check_chart.sh [NATIVE_BUILD]   (default build/native)
set -euo pipefail
cd "$(dirname "$0")/../.."
native=${1:-build/native}
[ -x "$native/chart_page" ] || { echo "check_chart: $native/chart_page is missing; build first"; exit 1; }
command -v chromium >/dev/null || { echo "check_chart: chromium is not installed (make setup)"; exit 1; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
"$native/chart_page" tests/browser/chart_sample.csv "$scratch/chart.html"
# A fresh profile, nothing fetched or updated in the background: the page must stand alone.
timeout 90 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
  --disable-background-networking --disable-component-update --disable-sync \
  --hide-scrollbars --force-device-scale-factor=1 --user-data-dir="$scratch/profile" \
  --screenshot="$scratch/chart.png" --window-size=1200,900 "file://$scratch/chart.html" \
  >"$scratch/chromium.log" 2>&1 || { tail -20 "$scratch/chromium.log"; echo "check_chart: chromium failed"; exit 1; }
[ -s "$scratch/chart.png" ] || { tail -20 "$scratch/chromium.log"; echo "check_chart: no screenshot"; exit 1; }

python3 - "$scratch/chart.png" <<'PY'
import struct, sys, zlib

def read_png(path):
    data = open(path, "rb").read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
    at, idat = 8, b""
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            assert depth == 8 and colour in (2, 6) and interlace == 0, "unexpected PNG form"
        elif kind == b"IDAT":
            idat += body
        at += 12 + length
    step = 4 if colour == 6 else 3
    raw, stride = zlib.decompress(idat), width * step
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - step] if i >= step else 0
            b, c = previous[i], previous[i - step] if i >= step else 0
            if kind == 1: line[i] = (line[i] + a) & 255
            elif kind == 2: line[i] = (line[i] + b) & 255
            elif kind == 3: line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append([tuple(line[x * step:x * step + 3]) for x in range(width)])
        previous = line
    return rows

def near(pixel, colour, tolerance=40):
    return all(abs(p - c) <= tolerance for p, c in zip(pixel, colour))

rows = read_png(sys.argv[1])
width = len(rows[0])
frame, line, gap = (153, 153, 153), (0x1f, 0x77, 0xb4), (0xd6, 0x27, 0x28)
# The plot's frame: rows with a grey run as wide as the plot (905 pixels).
framed = [y for y, row in enumerate(rows) if sum(near(p, frame, 12) for p in row) > 850]
if len(framed) < 2:
    sys.exit("check_chart: no chart frame on the page (blank or broken page)")
top = framed[0]
bottom = next((y for y in framed if y > top + 100), None)
if bottom is None:
    sys.exit("check_chart: the first chart's frame has no bottom edge")
columns = {}
for y in range(top + 1, bottom):
    for x, p in enumerate(rows[y]):
        if near(p, line):
            columns[x] = columns.get(x, 0) + 1
drawn = sum(columns.values())
left, right = (min(columns), max(columns)) if columns else (0, 0)
print(f"check_chart: first plot rows {top}-{bottom}, {drawn} line pixels in columns {left}-{right}")
if drawn < 400 or right - left < 800:
    sys.exit("check_chart: the first line is not drawn across the plot")
empty = longest = 0
for x in range(left, right + 1):
    empty = 0 if x in columns else empty + 1
    longest = max(longest, empty)
if longest < 30:
    sys.exit("check_chart: the first line has no break where the link dropped")
marks = sum(near(p, gap) for y in range(bottom, min(bottom + 16, len(rows))) for p in rows[y])
print(f"check_chart: break of {longest} columns, {marks} gap-mark pixels under the plot")
if marks < 20:
    sys.exit("check_chart: no gap marks under the plot")
PY
mkdir -p docs/screenshots
cp "$scratch/chart.png" docs/screenshots/chart.png
echo "check_chart: passed (docs/screenshots/chart.png)"
