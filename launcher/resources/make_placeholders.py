#!/usr/bin/env python3
"""Writes the placeholder splash bitmap (8-bit, RLE-compressed to keep the stub small) and icon.
Applications replace both; run this only to regenerate the committed files."""
import struct

WIDTH, HEIGHT = 430, 260
PALETTE = [(0x2B, 0x3A, 0x55), (0x4A, 0x6F, 0xA5), (0xFF, 0xFF, 0xFF)]  # RGB


def rle8_row(pixels):
    out = bytearray()
    i = 0
    while i < len(pixels):
        run = 1
        while i + run < len(pixels) and run < 255 and pixels[i + run] == pixels[i]:
            run += 1
        out += bytes([run, pixels[i]])
        i += run
    return out + b"\x00\x00"  # end of line


def splash():
    rows = bytearray()
    for y in range(HEIGHT):  # bottom-up
        row = []
        for x in range(WIDTH):
            border = x < 4 or x >= WIDTH - 4 or y < 4 or y >= HEIGHT - 4
            band = 100 <= y < 160
            row.append(2 if border else (1 if band else 0))
        rows += rle8_row(row)
    rows += b"\x00\x01"  # end of bitmap
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE) + b"\x00" * 4 * (256 - len(PALETTE))
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 8, 1, len(rows), 2835, 2835, 256, 0)
    offset = 14 + len(info) + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset)
    with open("splash.bmp", "wb") as f:
        f.write(header + info + palette + rows)


def icon():
    size = 32
    palette = [(0, 0, 0), (0x4A, 0x6F, 0xA5), (0xFF, 0xFF, 0xFF)] + [(0, 0, 0)] * 13
    xor = bytearray()
    for y in range(size):
        row = []
        for x in range(size):
            inside = 4 <= x < 28 and 4 <= y < 28
            row.append((2 if (x in (4, 27) or y in (4, 27)) else 1) if inside else 0)
        xor += bytes((row[i] << 4) | row[i + 1] for i in range(0, size, 2))
    mask = bytearray()
    for y in range(size):
        bits = 0
        for x in range(size):
            transparent = not (4 <= x < 28 and 4 <= y < 28)
            bits = (bits << 1) | int(transparent)
        mask += struct.pack(">I", bits)
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    image = info + pal + xor + mask
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), 22)
    with open("launcher.ico", "wb") as f:
        f.write(directory + image)


if __name__ == "__main__":
    splash()
    icon()
