#!/usr/bin/env python3
"""Draws the installer's application icon: a 32x32, 16-colour icon file.

  make_icon.py OUT
"""
import struct
import sys

SIZE = 32
# Palette indices; 0 is black, and transparent where the AND mask says so.
BLUE, DARK_BLUE, WHITE = 1, 2, 3
PALETTE = [(0, 0, 0), (30, 110, 200), (20, 70, 150), (255, 255, 255)] + [(0, 0, 0)] * 12  # RGB


def pixel(x, y):
    """Palette index of the pixel at x, y (y = 0 at the top), or None where transparent:
    a blue tile, darker towards the bottom, with a white T."""
    inside = 2 <= x < SIZE - 2 and 2 <= y < SIZE - 2
    corner = (x in (2, SIZE - 3)) and (y in (2, SIZE - 3))
    if not inside or corner:
        return None
    bar = 7 <= y < 12 and 7 <= x < SIZE - 7
    stem = 12 <= y < SIZE - 6 and 13 <= x < SIZE - 13
    if bar or stem:
        return WHITE
    return BLUE if y < SIZE // 2 else DARK_BLUE


def icon():
    colour, mask = b"", b""
    for y in reversed(range(SIZE)):  # bottom-up
        row = [pixel(x, y) for x in range(SIZE)]
        colour += bytes(((row[x] or 0) << 4) | (row[x + 1] or 0) for x in range(0, SIZE, 2))
        mask += int("".join("1" if p is None else "0" for p in row), 2).to_bytes(SIZE // 8, "big")
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0, len(colour) + len(mask), 0, 0, 16, 0)
    image = header + palette + colour + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


if __name__ == "__main__":
    with open(sys.argv[1], "wb") as f:
        f.write(icon())
