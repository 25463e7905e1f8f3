#!/usr/bin/env python3
"""Draws Korvale's icon, a toothed-belt pulley seen face on, and writes korvale.ico.

One icon group of three images: 32 x 32 in 2 colours, 32 x 32 in 16 colours and 16 x 16 in 16
colours. Run it from anywhere: python3 make_icon.py [OUTPUT]; it needs only the standard library.
"""
import math
import struct
import sys
from pathlib import Path

# The standard 16-colour palette (RGB); the drawing uses only a few of them.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, NAVY, SILVER, GRAY, WHITE = 0, 4, 7, 8, 15
TRANSPARENT = None
TEETH = 12


def pulley_pixel(x, y, size):
    """The palette index at pixel (x, y), or TRANSPARENT; the shapes scale with the size."""
    centre = (size - 1) / 2
    dx, dy = x - centre, y - centre
    r = math.hypot(dx, dy) / (size / 2)  # 0 at the centre, 1 at the edge
    angle = math.atan2(dy, dx)
    tooth = math.cos(TEETH * angle) > -0.2
    outer = 0.98 if tooth else 0.84
    if r > outer:
        return TRANSPARENT
    if r > outer - 0.12:
        return BLACK  # tooth and rim outline
    if r > 0.70:
        return GRAY  # the toothed rim
    if r > 0.38:
        return SILVER  # the web
    if r > 0.18:
        return NAVY  # the hub
    return TRANSPARENT  # the bore


def two_colour(index):
    """The 2-colour image: black outline and hub on white."""
    if index is TRANSPARENT:
        return None
    return 0 if index in (BLACK, NAVY) else 1


def row_bytes(bits):
    """Packs bits (most significant first) into bytes, each row padded to 4 bytes."""
    data = bytearray()
    for i in range(0, len(bits), 8):
        byte = 0
        for bit in bits[i:i + 8]:
            byte = (byte << 1) | bit
        byte <<= 8 - len(bits[i:i + 8])
        data.append(byte)
    while len(data) % 4:
        data.append(0)
    return bytes(data)


def image(size, bits_per_pixel):
    palette = [(0, 0, 0), (255, 255, 255)] if bits_per_pixel == 1 else VGA16
    xor_rows, and_rows = [], []
    for y in reversed(range(size)):  # DIB rows run bottom-up
        indexes, mask = [], []
        for x in range(size):
            index = pulley_pixel(x, y, size)
            if bits_per_pixel == 1:
                index = two_colour(index)
            mask.append(1 if index is None else 0)
            indexes.append(0 if index is None else index)
        bits = []
        for index in indexes:
            bits.extend((index >> shift) & 1 for shift in reversed(range(bits_per_pixel)))
        xor_rows.append(row_bytes(bits))
        and_rows.append(row_bytes(mask))
    pixels = b"".join(xor_rows) + b"".join(and_rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits_per_pixel, 0, len(pixels), 0, 0,
                         len(palette), 0)
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    return header + colours + pixels, len(palette)


def icon_file():
    images = [image(32, 1), image(32, 4), image(16, 4)]
    sizes = [32, 32, 16]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, data = b"", b""
    for (bitmap, colours), size in zip(images, sizes):
        bits = 1 if colours == 2 else 4
        entries += struct.pack("<BBBBHHII", size, size, colours, 0, 1, bits, len(bitmap), offset)
        offset += len(bitmap)
        data += bitmap
    return directory + entries + data


if __name__ == "__main__":
    output = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).with_name("korvale.ico")
    output.write_bytes(icon_file())
