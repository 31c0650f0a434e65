#!/usr/bin/env python3
"""Draws the installer's application icon: a 32x32, 32-bit icon file.

  make_icon.py OUT
"""
import struct
import sys

SIZE = 32


def pixel(x, y):
    """BGRA of the pixel at x, y (y = 0 at the top): a blue tile with a white T."""
    inside = 2 <= x < SIZE - 2 and 2 <= y < SIZE - 2
    corner = (x in (2, SIZE - 3)) and (y in (2, SIZE - 3))
    if not inside or corner:
        return (0, 0, 0, 0)
    bar = 7 <= y < 12 and 7 <= x < SIZE - 7
    stem = 12 <= y < SIZE - 6 and 13 <= x < SIZE - 13
    if bar or stem:
        return (255, 255, 255, 255)
    shade = 150 + (y * 60) // SIZE
    return (shade, 90, 20, 255)


def icon():
    rows = []
    for y in reversed(range(SIZE)):  # bottom-up
        rows.append(b"".join(bytes(pixel(x, y)) for x in range(SIZE)))
    colour = b"".join(rows)
    mask = b"\0" * (SIZE * SIZE // 8)  # alpha decides; the AND mask is all opaque
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    image = header + colour + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    return directory + entry + image


if __name__ == "__main__":
    with open(sys.argv[1], "wb") as f:
        f.write(icon())
