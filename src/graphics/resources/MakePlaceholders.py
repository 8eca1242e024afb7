#!/usr/bin/env python3
"""Draws the placeholder program pictures: three 320x240 logos (XYZ) and the
156x48 glyph sheet EXFONT (8-bit bitmap, indices 0 and 255). Run it in this
folder; the build embeds the files it writes."""
import math
import struct
import zlib

def write_xyz(path, width, height, palette, pixels):
    raw = bytes(c for rgb in palette for c in rgb) + bytes(pixels)
    with open(path, "wb") as f:
        f.write(b"XYZ1" + struct.pack("<HH", width, height) + zlib.compress(raw))

def write_bmp(path, width, height, palette, pixels):
    stride = (width + 3) // 4 * 4
    offset = 14 + 40 + 256 * 4
    body = bytearray()
    for y in reversed(range(height)):
        body += bytes(pixels[y * width:(y + 1) * width]) + bytes(stride - width)
    header = b"BM" + struct.pack("<IHHI", offset + len(body), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(body), 2835, 2835, 256, 0)
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    with open(path, "wb") as f:
        f.write(header + info + colours + body)

def logo(index):
    width, height = 320, 240
    tint = [(255, 96, 64), (64, 200, 96), (80, 120, 255)][index]
    palette = [(tint[0] * i // 255, tint[1] * i // 255, tint[2] * i // 255) for i in range(256)]
    pixels = []
    for y in range(height):
        for x in range(width):
            dx, dy = x - width / 2, y - height / 2
            r = math.hypot(dx, dy)
            if index == 0:
                value = (x + y) * 255 // (width + height)
            elif index == 1:
                value = 255 - min(255, int(r * 2)) if int(r) % 24 < 16 else 32
            else:
                value = 224 if ((x // 20) + (y // 20)) % 2 else 96
            if r < 40:
                value = 255
            pixels.append(value)
    write_xyz(f"LOGO{index + 1}.xyz", width, height, palette, pixels)

def glyphs():
    width, height = 156, 48
    pixels = [0] * (width * height)
    for glyph in range(52):
        gx, gy = (glyph % 13) * 12, (glyph // 13) * 12
        for i in range(1, 11):  # outline of a 10x10 box
            for px, py in ((i, 1), (i, 10), (1, i), (10, i)):
                pixels[(gy + py) * width + gx + px] = 255
        for bit in range(6):  # the glyph number in dots, so every glyph differs
            if glyph & (1 << bit):
                px, py = 3 + (bit % 3) * 2, 4 + (bit // 3) * 3
                pixels[(gy + py) * width + gx + px] = 255
    palette = [(0, 0, 0)] * 255 + [(255, 255, 255)]
    write_bmp("EXFONT.bmp", width, height, palette, pixels)

if __name__ == "__main__":
    for n in range(3):
        logo(n)
    glyphs()
