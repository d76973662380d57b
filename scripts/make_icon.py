#!/usr/bin/env python3
"""Draws the program's window icon and writes res/tessaly.ico.

A rounded square in deep teal with one white period of a sine wave across it: an AC source. The
small sizes are 32-bit bitmaps with an AND mask (every Windows version reads them); the 256-pixel
size is stored as PNG. Plain Python, no imaging library: each pixel is supersampled 4 x 4 times.
Run it again after changing the drawing and commit the new icon.
"""
import math
import os
import struct
import sys
import zlib

SIZES = (16, 24, 32, 48, 256)
SAMPLES = 4
BACKGROUND = (0x0B, 0x5C, 0x6B)
EDGE = (0x06, 0x3A, 0x44)
WAVE = (0xFF, 0xFF, 0xFF)
AXIS = (0xF2, 0xB1, 0x34)


def inside_rounded_square(x, y, radius):
    """True when the point (0..1 square coordinates) lies in the rounded square."""
    margin = 0.03
    lo, hi = margin, 1.0 - margin
    if not (lo <= x <= hi and lo <= y <= hi):
        return False
    cx = min(max(x, lo + radius), hi - radius)
    cy = min(max(y, lo + radius), hi - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius


def distance_to_wave(x, y):
    """Distance from the point to the sine curve y = 0.5 - 0.25 sin(2 pi t), t over 0.15..0.85."""
    best = 10.0
    for i in range(121):
        t = 0.15 + 0.7 * i / 120
        wy = 0.5 - 0.25 * math.sin(2 * math.pi * (t - 0.15) / 0.7)
        best = min(best, math.hypot(x - t, y - wy))
    return best


def sample(x, y, size):
    """Colour and opacity of one sample point."""
    if not inside_rounded_square(x, y, 0.2):
        return None
    line = max(0.045, 1.6 / size)
    if distance_to_wave(x, y) <= line:
        return WAVE
    if abs(y - 0.5) <= line * 0.45 and 0.12 <= x <= 0.88:
        return AXIS
    if not inside_rounded_square(x, y, 0.2) or not inside_rounded_square(
            0.5 + (x - 0.5) * 1.06, 0.5 + (y - 0.5) * 1.06, 0.2):
        return EDGE
    return BACKGROUND


def render(size):
    """Rows of (r, g, b, a) tuples, top row first."""
    rows = []
    n = SAMPLES * SAMPLES
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = a = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = sample((px + (sx + 0.5) / SAMPLES) / size,
                               (py + (sy + 0.5) / SAMPLES) / size, size)
                    if c is not None:
                        r += c[0]
                        g += c[1]
                        b += c[2]
                        a += 1
            if a:
                row.append((r // a, g // a, b // a, 255 * a // n))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def bitmap_entry(rows, size):
    """BITMAPINFOHEADER, bottom-up BGRA pixels and the 1-bit AND mask."""
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            pixels += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    return header + bytes(pixels) + bytes(mask)


def png_entry(rows, size):
    """The image as a PNG file (RGBA, 8 bits per channel)."""
    raw = bytearray()
    for row in rows:
        raw.append(0)
        for pixel in row:
            raw += bytes(pixel)

    def chunk(kind, data):
        body = kind + data
        return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body))

    return (b'\x89PNG\r\n\x1a\n' +
            chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(bytes(raw), 9)) + chunk(b'IEND', b''))


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), '..', 'res', 'tessaly.ico')
    images = []
    for size in SIZES:
        rows = render(size)
        images.append((size, png_entry(rows, size) if size >= 256 else bitmap_entry(rows, size)))
    directory = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    body = b''
    for size, data in images:
        dim = 0 if size >= 256 else size
        directory += struct.pack('<BBBBHHII', dim, dim, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
        body += data
    with open(out, 'wb') as f:
        f.write(directory + body)


if __name__ == '__main__':
    main()
