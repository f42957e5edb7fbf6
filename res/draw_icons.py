#!/usr/bin/env python3
"""Draws the shortcut icons Tidemrk1.ico (normal window), Tidemrk2.ico (Purge
Now) and Tidemrk3.ico (purge and shut down): a round badge with a water line
and, for the unattended runs, a mark in the lower right corner. Each icon
holds 16, 32 and 48 pixel images (32-bit, alpha). Run it from any folder;
it writes beside itself:  python3 res/draw_icons.py"""
import math
import os
import struct

SAMPLES = 4  # supersampling per axis

SEA = (0x1E, 0x6F, 0xC8)
SEA_DEEP = (0x10, 0x3C, 0x78)
FOAM = (0xF4, 0xF8, 0xFF)
SAND = (0xF2, 0xD4, 0x8A)
NOW = (0x2E, 0xA0, 0x44)
STOP = (0xD0, 0x2B, 0x2B)


def badge(x, y):
    """Colour of the round badge at (x, y) in 0..1 coordinates, or None."""
    dx, dy = x - 0.5, y - 0.5
    r = math.hypot(dx, dy)
    if r > 0.47:
        return None
    if r > 0.42:
        return SEA_DEEP
    # The tide mark: a wave line across the badge, sand above, sea below.
    wave = 0.48 + 0.06 * math.sin((x - 0.1) * 2 * math.pi * 1.6)
    if abs(y - wave) < 0.045:
        return FOAM
    return SAND if y < wave else SEA


def corner_mark(kind, x, y):
    """The mark of an unattended run in the lower right quarter, or None."""
    cx, cy, radius = 0.76, 0.76, 0.22
    dx, dy = x - cx, y - cy
    r = math.hypot(dx, dy)
    if r > radius:
        return None
    if r > radius - 0.05:
        return FOAM
    if kind == "now":
        # A play arrow pointing right.
        if -0.09 < dx < 0.1 and abs(dy) < (0.1 - dx) * 0.9:
            return FOAM
        return NOW
    # A power symbol: an open ring with a bar through its gap.
    if abs(dx) < 0.025 and -0.13 < dy < 0.0:
        return FOAM
    if 0.07 < r < 0.11 and not (dy < 0 and abs(dx) < 0.06):
        return FOAM
    return STOP


def pixel(kind, x, y):
    if kind != "plain":
        colour = corner_mark(kind, x, y)
        if colour:
            return colour
    return badge(x, y)


def render(kind, size):
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0, 0, 0]
            hits = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    colour = pixel(kind, (px + (sx + 0.5) / SAMPLES) / size, (py + (sy + 0.5) / SAMPLES) / size)
                    if colour:
                        hits += 1
                        for i in range(3):
                            acc[i] += colour[i]
            alpha = round(255 * hits / SAMPLES ** 2)
            rgb = [round(a / hits) if hits else 0 for a in acc]
            row.append((rgb[0], rgb[1], rgb[2], alpha))
        rows.append(row)
    return rows


def dib(rows):
    """A 32-bit icon image: header, bottom-up BGRA pixels, AND mask."""
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(struct.pack("BBBB", b, g, r, a) for row in reversed(rows) for (r, g, b, a) in row)
    stride = ((size + 31) // 32) * 4
    mask = b""
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return header + pixels + mask


def icon(kind, sizes=(16, 32, 48)):
    images = [dib(render(kind, size)) for size in sizes]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for size, image in zip(sizes, images):
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return directory + entries + b"".join(images)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for name, kind in (("Tidemrk1.ico", "plain"), ("Tidemrk2.ico", "now"), ("Tidemrk3.ico", "stop")):
        with open(os.path.join(here, name), "wb") as out:
            out.write(icon(kind))


if __name__ == "__main__":
    main()
