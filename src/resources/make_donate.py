#!/usr/bin/env python3
"""Draws the picture of the donate window into donate.png.

A card in the icon's colours: a folder with a heart on its band, and below it a
QR code that reads "感谢支持 Quorlen". Run it from any folder; it writes
donate.png beside itself. It needs only the standard library and shares the
shape helpers and the PNG writer of make_icon.py.
"""

import os

from make_icon import hex_colour, mix, png, render_shapes, rounded_rect

WIDTH, HEIGHT = 361, 426
SAMPLES = 3  # per axis, per pixel
MESSAGE = "感谢支持 Quorlen"

# QR code version 2 (25 × 25 modules) at error correction level M, byte mode.
QR_SIZE = 25
DATA_CODEWORDS = 28
ECC_CODEWORDS = 16
ALIGNMENT_CENTRE = 18
FORMAT_LEVEL_M = 0b00


def gf_multiply(a, b):
    """Multiplies in GF(256) with the QR code's polynomial x^8 + x^4 + x^3 + x^2 + 1."""
    product = 0
    for bit in range(7, -1, -1):
        product = (product << 1) ^ (0x11D if product & 0x80 else 0)
        if (b >> bit) & 1:
            product ^= a
    return product


def generator_polynomial(degree):
    """Coefficients of (x - a^0)(x - a^1)...(x - a^(degree-1)), highest power first, leading 1 left out."""
    coefficients = [0] * (degree - 1) + [1]
    root = 1
    for _ in range(degree):
        for i in range(degree):
            coefficients[i] = gf_multiply(coefficients[i], root)
            if i + 1 < degree:
                coefficients[i] ^= coefficients[i + 1]
        root = gf_multiply(root, 2)
    return coefficients


def polynomial_remainder(data, generator):
    remainder = [0] * len(generator)
    for byte in data:
        factor = byte ^ remainder.pop(0)
        remainder.append(0)
        for i, coefficient in enumerate(generator):
            remainder[i] ^= gf_multiply(coefficient, factor)
    return remainder


def codewords(text):
    """The data codewords of text in byte mode, padded, followed by their error correction."""
    payload = text.encode("utf-8")
    bits = [0, 1, 0, 0] + [(len(payload) >> i) & 1 for i in range(7, -1, -1)]
    for byte in payload:
        bits += [(byte >> i) & 1 for i in range(7, -1, -1)]
    capacity = DATA_CODEWORDS * 8
    assert len(bits) <= capacity, "the message does not fit a version 2 code"
    bits += [0] * min(4, capacity - len(bits))
    bits += [0] * (-len(bits) % 8)
    data = [int("".join(map(str, bits[i:i + 8])), 2) for i in range(0, len(bits), 8)]
    for pad in (0xEC, 0x11) * DATA_CODEWORDS:
        if len(data) == DATA_CODEWORDS:
            break
        data.append(pad)
    return data + polynomial_remainder(data, generator_polynomial(ECC_CODEWORDS))


def function_patterns():
    """The fixed modules: (dark modules, every reserved position)."""
    dark, reserved = set(), set()

    def put(x, y, is_dark):
        if 0 <= x < QR_SIZE and 0 <= y < QR_SIZE:
            reserved.add((x, y))
            if is_dark:
                dark.add((x, y))
            else:
                dark.discard((x, y))

    for i in range(QR_SIZE):
        put(6, i, i % 2 == 0)
        put(i, 6, i % 2 == 0)
    for cx, cy in ((3, 3), (QR_SIZE - 4, 3), (3, QR_SIZE - 4)):
        for dy in range(-4, 5):
            for dx in range(-4, 5):
                ring = max(abs(dx), abs(dy))
                put(cx + dx, cy + dy, ring not in (2, 4))
    for dy in range(-2, 3):
        for dx in range(-2, 3):
            put(ALIGNMENT_CENTRE + dx, ALIGNMENT_CENTRE + dy, max(abs(dx), abs(dy)) != 1)
    for x, y in format_positions():
        put(x, y, False)
    put(8, QR_SIZE - 8, True)
    return dark, reserved


def format_positions():
    """Where the 15 format bits go, both copies, bit 0 first."""
    first = [(8, i) for i in range(6)] + [(8, 7), (8, 8), (7, 8)] + [(14 - i, 8) for i in range(9, 15)]
    second = [(QR_SIZE - 1 - i, 8) for i in range(8)] + [(8, QR_SIZE - 15 + i) for i in range(8, 15)]
    return first + second


def format_bits(mask):
    data = FORMAT_LEVEL_M << 3 | mask
    remainder = data
    for _ in range(10):
        remainder = (remainder << 1) ^ ((remainder >> 9) * 0x537)
    return (data << 10 | remainder) ^ 0x5412


MASKS = (
    lambda x, y: (x + y) % 2 == 0,
    lambda x, y: y % 2 == 0,
    lambda x, y: x % 3 == 0,
    lambda x, y: (x + y) % 3 == 0,
    lambda x, y: (x // 3 + y // 2) % 2 == 0,
    lambda x, y: x * y % 2 + x * y % 3 == 0,
    lambda x, y: (x * y % 2 + x * y % 3) % 2 == 0,
    lambda x, y: ((x + y) % 2 + x * y % 3) % 2 == 0,
)


def qr_matrix(text, mask):
    """The dark modules of the code for text with one mask."""
    dark, reserved = function_patterns()
    bits = [(word >> i) & 1 for word in codewords(text) for i in range(7, -1, -1)]
    index = 0
    right = QR_SIZE - 1
    while right >= 1:
        if right == 6:
            right = 5
        upward = ((right + 1) & 2) == 0
        for vertical in range(QR_SIZE):
            y = QR_SIZE - 1 - vertical if upward else vertical
            for x in (right, right - 1):
                if (x, y) in reserved:
                    continue
                bit = bits[index] if index < len(bits) else 0
                index += 1
                if bit ^ MASKS[mask](x, y):
                    dark.add((x, y))
        right -= 2
    format_value = format_bits(mask)
    for i, (x, y) in enumerate(format_positions()):
        if (format_value >> (i % 15)) & 1:
            dark.add((x, y))
    return dark


def penalty(dark):
    """The QR code's four penalty rules, which pick the mask that reads most easily."""
    lines = [[(x, y) in dark for x in range(QR_SIZE)] for y in range(QR_SIZE)]
    lines += [[(x, y) in dark for y in range(QR_SIZE)] for x in range(QR_SIZE)]
    score = 0
    for line in lines:
        run = 1
        for a, b in zip(line, line[1:] + [None]):
            if a == b:
                run += 1
                continue
            if run >= 5:
                score += run - 2
            run = 1
        text = "".join("1" if module else "0" for module in line)
        score += 40 * (text.count("10111010000") + text.count("00001011101"))
    for y in range(QR_SIZE - 1):
        for x in range(QR_SIZE - 1):
            block = {(x, y) in dark, (x + 1, y) in dark, (x, y + 1) in dark, (x + 1, y + 1) in dark}
            if len(block) == 1:
                score += 3
    score += 10 * (abs(len(dark) * 100 // QR_SIZE ** 2 - 50) // 5)
    return score


def heart(cx, cy, size):
    """Returns a point test for a heart of that width centred on (cx, cy)."""

    def inside(x, y):
        u = (x - cx) / size * 2.6
        v = (cy - y) / size * 2.6 + 0.15
        return (u * u + v * v - 1) ** 3 - u * u * v ** 3 <= 0

    return inside


WHITE = (255, 255, 255)
EDGE = hex_colour("#F3D9A4")
BAND_TOP = hex_colour("#FFD45E")
BAND_BOTTOM = hex_colour("#F0A21E")
FOLDER_BACK = hex_colour("#FFF3D0")
HEART = hex_colour("#E8503A")
INK = hex_colour("#2B2118")
DOTS = hex_colour("#F0A21E")

BAND_HEIGHT = 112
MODULE = 8
QR_LEFT = (WIDTH - QR_SIZE * MODULE) // 2
QR_TOP = 152


def scene(code):
    """The shapes in pixels, in painting order; the last that covers a point decides its colour."""
    band = rounded_rect(0, 0, WIDTH, BAND_HEIGHT + 22, 22)

    def qr(x, y):
        column, row = int((x - QR_LEFT) // MODULE), int((y - QR_TOP) // MODULE)
        return 0 <= column < QR_SIZE and 0 <= row < QR_SIZE and (column, row) in code

    shapes = [
        (rounded_rect(0, 0, WIDTH, HEIGHT, 22), lambda x, y: EDGE),
        (rounded_rect(2, 2, WIDTH - 2, HEIGHT - 2, 20), lambda x, y: WHITE),
        (lambda x, y: y <= BAND_HEIGHT and band(x, y), lambda x, y: mix(BAND_TOP, BAND_BOTTOM, y / BAND_HEIGHT)),
        (rounded_rect(137, 24, 172, 40, 5, top_only=True), lambda x, y: FOLDER_BACK),
        (rounded_rect(137, 32, 224, 90, 7), lambda x, y: FOLDER_BACK),
        (heart(180.5, 62, 36), lambda x, y: HEART),
        (qr, lambda x, y: INK),
    ]
    shapes += [(heart(180.5 + 26 * i, 396, 12), lambda x, y: DOTS) for i in (-1, 0, 1)]
    return shapes


def main():
    code = min((qr_matrix(MESSAGE, mask) for mask in range(len(MASKS))), key=penalty)
    with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "donate.png"), "wb") as out:
        out.write(png(render_shapes(scene(code), WIDTH, HEIGHT, 1, SAMPLES)))


if __name__ == "__main__":
    main()
