#!/usr/bin/env python3
"""Draws Korvale's icon, a toothed-belt pulley seen face on, and writes korvale.ico and the PNGs.

ui/win32/korvale.ico: one icon group of three images, 32 x 32 in 2 colours, 32 x 32 in
16 colours and 16 x 16 in 16 colours. packaging/icons/korvale-<N>.png: the same drawing at 16, 32,
48, 64, 128 and 256 pixels for the Linux desktop, the larger ones smoothed at the edges; and
packaging/icons/korvale.svg, the same shapes as paths, for any size.
Run it from anywhere: python3 packaging/make_icon.py; it needs only the standard library.
"""
import math
import struct
import zlib
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


PNG_SIZES = [16, 32, 48, 64, 128, 256]


def png_pixel(x, y, size):
    """RGBA at pixel (x, y): the palette drawing, averaged over 4 x 4 samples from 48 pixels up."""
    samples = 4 if size >= 48 else 1
    total = [0, 0, 0, 0]
    for sy in range(samples):
        for sx in range(samples):
            fx = x + (sx + 0.5) / samples - 0.5
            fy = y + (sy + 0.5) / samples - 0.5
            index = pulley_pixel(fx, fy, size)
            if index is not None:
                r, g, b = VGA16[index]
                total = [total[0] + r, total[1] + g, total[2] + b, total[3] + 255]
    n = samples * samples
    alpha = total[3] / n
    if alpha == 0:
        return (0, 0, 0, 0)
    covered = total[3] / 255
    return tuple(round(c / covered) for c in total[:3]) + (round(alpha),)


def png_file(size):
    rows = b""
    for y in range(size):
        rows += b"\0" + b"".join(bytes(png_pixel(x, y, size)) for x in range(size))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows, 9)) +
            chunk(b"IEND", b""))


TOOTH_HALF_ANGLE = math.acos(-0.2) / TEETH  # a tooth spans cos(TEETH * angle) > -0.2


def toothed_outline(inset, scale):
    """The rim's toothed edge moved in by `inset` (as pulley_pixel draws it), as SVG path data."""
    tip, root = (0.98 - inset) * scale, (0.84 - inset) * scale
    period = 2 * math.pi / TEETH

    def at(radius, angle):
        return f"{scale + radius * math.cos(angle):.2f},{scale + radius * math.sin(angle):.2f}"

    path = ""
    for k in range(TEETH):
        start, end = k * period - TOOTH_HALF_ANGLE, k * period + TOOTH_HALF_ANGLE
        path += ("M" if k == 0 else "L") + at(root, start) + "L" + at(tip, start)
        path += f"A{tip:.2f},{tip:.2f} 0 0 1 " + at(tip, end) + "L" + at(root, end)
        path += f"A{root:.2f},{root:.2f} 0 0 1 " + at(root, (k + 1) * period - TOOTH_HALF_ANGLE)
    return path + "Z"


def circle(radius, scale):
    r = radius * scale
    return f"M{scale - r:.2f},{scale:.2f}a{r:.2f},{r:.2f} 0 1 0 {2 * r:.2f},0a{r:.2f},{r:.2f} 0 1 0 {-2 * r:.2f},0Z"


def svg_file():
    """The drawing as paths on a 256-unit square: outline, rim, web and hub, the bore left open."""
    scale = 128
    bore = circle(0.18, scale)
    layers = [(toothed_outline(0, scale), BLACK), (toothed_outline(0.12, scale), GRAY),
              (circle(0.70, scale), SILVER), (circle(0.38, scale), NAVY)]
    paths = "".join(
        f'<path fill="#{VGA16[i][0]:02x}{VGA16[i][1]:02x}{VGA16[i][2]:02x}" fill-rule="evenodd" '
        f'd="{shape}{bore}"/>\n' for shape, i in layers)
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">\n'
            + paths + "</svg>\n").encode()


if __name__ == "__main__":
    packaging = Path(__file__).resolve().parent
    (packaging.parent / "ui" / "win32" / "korvale.ico").write_bytes(icon_file())
    icons = packaging / "icons"
    icons.mkdir(parents=True, exist_ok=True)
    for png_size in PNG_SIZES:
        (icons / f"korvale-{png_size}.png").write_bytes(png_file(png_size))
    (icons / "korvale.svg").write_bytes(svg_file())
