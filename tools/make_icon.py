#!/usr/bin/env python3
"""Draws the program's icon and writes it as a Windows .ico with seven sizes.

The mark: a rounded tile in the window's blue, a light "V" and a green live-load dot.
Every size is rendered from the same shapes with 4 x 4 supersampling, so small sizes stay clean.
Usage: make_icon.py OUTPUT.ico
"""

import math
import struct
import sys

SIZES = (256, 128, 64, 48, 32, 24, 16)
SUPERSAMPLE = 4

ACCENT = (52, 133, 246)
HEADING = (28, 82, 150)
TEXT = (235, 241, 250)
GOOD = (54, 190, 108)
WINDOW = (15, 20, 28)


def inside_rounded_square(x, y, inset, radius):
    """x, y in 0..1; true inside a square inset from the edges with rounded corners."""
    low, high = inset + radius, 1.0 - inset - radius
    cx = min(max(x, low), high)
    cy = min(max(y, low), high)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2 and inset <= x <= 1 - inset and inset <= y <= 1 - inset


def distance_to_segment(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def shade(x, y):
    """Colour and coverage (0 or 1) of one sample point; None outside the tile."""
    if not inside_rounded_square(x, y, 0.04, 0.2):
        return None
    colour = mix(ACCENT, HEADING, min(1.0, max(0.0, (x + y) / 2)))
    stroke = 0.065
    v = min(distance_to_segment(x, y, 0.28, 0.27, 0.5, 0.72), distance_to_segment(x, y, 0.5, 0.72, 0.72, 0.27))
    if v <= stroke:
        colour = TEXT
    dot = math.hypot(x - 0.76, y - 0.76)
    if dot <= 0.095:
        colour = GOOD
    elif dot <= 0.14:
        colour = mix(colour, WINDOW, 0.55)
    return colour


def render(size):
    """Rows top to bottom of (r, g, b, a) tuples."""
    rows = []
    n = SUPERSAMPLE
    for py in range(size):
        row = []
        for px in range(size):
            total = [0.0, 0.0, 0.0]
            hits = 0
            for sy in range(n):
                for sx in range(n):
                    c = shade((px + (sx + 0.5) / n) / size, (py + (sy + 0.5) / n) / size)
                    if c is not None:
                        hits += 1
                        for i in range(3):
                            total[i] += c[i]
            if hits:
                rgb = tuple(int(round(total[i] / hits)) for i in range(3))
                row.append(rgb + (int(round(255 * hits / (n * n))),))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def dib(size, rows):
    """A 32-bit icon image: header, bottom-up BGRA pixels and the 1-bit AND mask."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
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


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_icon.py OUTPUT.ico")
    images = [(size, dib(size, render(size))) for size in SIZES]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, data in images:
        dimension = 0 if size == 256 else size
        out += struct.pack("<BBBBHHII", dimension, dimension, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    with open(sys.argv[1], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
