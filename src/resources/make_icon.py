#!/usr/bin/env python3
"""Draws the program icon, a folder whose flap is a row of tabs, into quorlen.ico.

Run it from any folder; it writes quorlen.ico beside itself. It needs only the
standard library: shapes are rasterised with supersampling, the 256 px image is
stored as PNG and the smaller ones as 32-bit bitmaps.
"""

import os
import struct
import zlib

SIZES = (16, 24, 32, 48, 256)
SAMPLES = 4  # per axis, per pixel


def rounded_rect(x0, y0, x1, y1, radius, top_only=False):
    """Returns a point test for a rectangle with rounded corners (unit coordinates)."""

    def inside(x, y):
        if x < x0 or x > x1 or y < y0 or y > y1:
            return False
        cx = min(max(x, x0 + radius), x1 - radius)
        cy = min(max(y, y0 + radius), y1 - radius)
        if top_only and y > y0 + radius:
            return True
        return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2

    return inside


def mix(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


def hex_colour(text):
    return tuple(int(text[i:i + 2], 16) for i in (1, 3, 5))


BACK = hex_colour("#C98516")
TAB_BEHIND = hex_colour("#B87412")
TAB_FRONT = hex_colour("#FFD45E")
FRONT_TOP = hex_colour("#FFD45E")
FRONT_BOTTOM = hex_colour("#F0A21E")
HIGHLIGHT = hex_colour("#FFEDB0")

# Painted in order, the last shape that covers a point decides its colour.
SHAPES = (
    (rounded_rect(0.05, 0.22, 0.95, 0.86, 0.07), lambda x, y: BACK),
    (rounded_rect(0.42, 0.13, 0.74, 0.32, 0.05, top_only=True), lambda x, y: TAB_BEHIND),
    (rounded_rect(0.05, 0.09, 0.45, 0.32, 0.05, top_only=True), lambda x, y: TAB_FRONT),
    (rounded_rect(0.05, 0.28, 0.95, 0.90, 0.07),
     lambda x, y: HIGHLIGHT if y < 0.315 and 0.45 < x < 0.93 else mix(FRONT_TOP, FRONT_BOTTOM, (y - 0.28) / 0.62)),
)


def render_shapes(shapes, width, height, scale, samples=SAMPLES):
    """Returns rows of (r, g, b, a) pixels, top row first, of (inside, paint) shapes
    painted in order; shape coordinates are pixels divided by scale."""
    rows = []
    step = 1.0 / (scale * samples)
    for py in range(height):
        row = []
        for px in range(width):
            red = green = blue = hits = 0
            for sy in range(samples):
                y = (py * samples + sy + 0.5) * step
                for sx in range(samples):
                    x = (px * samples + sx + 0.5) * step
                    colour = None
                    for inside, paint in shapes:
                        if inside(x, y):
                            colour = paint(x, y)
                    if colour:
                        red += colour[0]
                        green += colour[1]
                        blue += colour[2]
                        hits += 1
            if hits:
                row.append((red // hits, green // hits, blue // hits, round(255 * hits / samples ** 2)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def render(size):
    return render_shapes(SHAPES, size, size, size)


def png(rows):
    """Returns a PNG file of rows of (r, g, b, a) pixels, top row first."""
    width, height = len(rows[0]), len(rows)
    raw = b"".join(b"\0" + bytes(c for pixel in row for c in pixel) for row in rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def bitmap(rows):
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for x, pixel in enumerate(row):
            if pixel[3] == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    return header + colour + bytes(mask)


def main():
    images = []
    for size in SIZES:
        rows = render(size)
        images.append((size, png(rows) if size >= 256 else bitmap(rows)))

    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 1, len(images))
    data = b""
    for size, image in images:
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset + len(data))
        data += image
    with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "quorlen.ico"), "wb") as out:
        out.write(directory + data)


if __name__ == "__main__":
    main()
