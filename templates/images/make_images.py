#!/usr/bin/env python3
"""Makes the main window's picture and the program icon.

qrcode.bmp: the QR code of TEXT (default: the download address) as a
162 x 162, 32-bit, uncompressed, bottom-up BMP (105,030 bytes).
mainicon.ico: four images, 32 x 32 and 16 x 16, each in 16 colours and in
32-bit colour.

Usage: make_images.py [--text TEXT] [--out DIR]   (needs qrencode)
"""
import argparse
import os
import struct
import subprocess

SIZE = 162
DEFAULT_TEXT = "https://kx-tool.example/"


def qr_modules(text):
    """The code's modules as rows of booleans (True = dark), no quiet zone."""
    out = subprocess.run(["qrencode", "-t", "ASCII", "-m", "0", "-l", "M", "-o", "-", text],
                         check=True, capture_output=True, text=True).stdout
    rows = [line for line in out.splitlines() if line.strip("\n")]
    return [[line[i] == "#" for i in range(0, len(line), 2)] for line in rows]


def qr_bmp(text):
    modules = qr_modules(text)
    n = len(modules)
    scale = SIZE // (n + 4)  # at least two modules of quiet zone on every side
    offset = (SIZE - n * scale) // 2
    pixels = bytearray()
    for y in range(SIZE - 1, -1, -1):  # bottom-up rows
        for x in range(SIZE):
            mx, my = (x - offset) // scale, (y - offset) // scale
            dark = 0 <= x - offset < n * scale and 0 <= y - offset < n * scale and modules[my][mx]
            v = 0 if dark else 255
            pixels += bytes((v, v, v, 255))  # opaque: some blitters honour alpha
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 32, 0, len(pixels), 3780, 3780, 0, 0)
    return header + info + bytes(pixels)


# 5 x 7 letters for the icon.
GLYPHS = {
    "K": ["X...X", "X..X.", "X.X..", "XX...", "X.X..", "X..X.", "X...X"],
    "X": ["X...X", "X...X", ".X.X.", "..X..", ".X.X.", "X...X", "X...X"],
}

# The standard 16-colour palette; the icon uses navy (4), white (15) and black (0).
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
       (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
NAVY, WHITE = 4, 15


def icon_indices(size):
    """Palette index per pixel (top-down), None where transparent."""
    img = [[None] * size for _ in range(size)]
    inset = 1 if size == 16 else 2
    for y in range(inset, size - inset):
        for x in range(inset, size - inset):
            img[y][x] = NAVY
    if size == 16:
        # one letter fits: K
        for gy, row in enumerate(GLYPHS["K"]):
            for gx, c in enumerate(row):
                if c == "X":
                    img[4 + gy][5 + gx] = WHITE
    else:
        # "KX" at double size
        for li, letter in enumerate("KX"):
            for gy, row in enumerate(GLYPHS[letter]):
                for gx, c in enumerate(row):
                    if c == "X":
                        for dy in range(2):
                            for dx in range(2):
                                img[9 + gy * 2 + dy][4 + li * 13 + gx * 2 + dx] = WHITE
    return img


def mask_bytes(img, size):
    stride = ((size + 31) // 32) * 4
    out = bytearray()
    for y in range(size - 1, -1, -1):
        row = bytearray(stride)
        for x in range(size):
            if img[y][x] is None:
                row[x // 8] |= 0x80 >> (x % 8)
        out += row
    return bytes(out)


def icon_image(size, bits):
    img = icon_indices(size)
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, 0, 0, 0,
                       16 if bits == 4 else 0, 0)
    data = bytearray(info)
    if bits == 4:
        for r, g, b in VGA:
            data += bytes((b, g, r, 0))
        stride = ((size * 4 + 31) // 32) * 4
        for y in range(size - 1, -1, -1):
            row = bytearray(stride)
            for x in range(size):
                v = img[y][x] or 0
                row[x // 2] |= v << (4 if x % 2 == 0 else 0)
            data += row
    else:
        for y in range(size - 1, -1, -1):
            for x in range(size):
                v = img[y][x]
                if v is None:
                    data += bytes((0, 0, 0, 0))
                else:
                    r, g, b = VGA[v]
                    data += bytes((b, g, r, 255))
    data += mask_bytes(img, size)
    return bytes(data)


def ico():
    images = [(32, 4), (16, 4), (32, 32), (16, 32)]
    blobs = [icon_image(size, bits) for size, bits in images]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for (size, bits), blob in zip(images, blobs):
        colours = 16 if bits == 4 else 0
        out += struct.pack("<BBBBHHII", size, size, colours, 0, 1, bits, len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    return bytes(out)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--text", default=DEFAULT_TEXT, help="what the QR code encodes")
    parser.add_argument("--out", default=os.path.dirname(os.path.abspath(__file__)))
    args = parser.parse_args()
    bmp = qr_bmp(args.text)
    assert len(bmp) == 105030, len(bmp)
    with open(os.path.join(args.out, "qrcode.bmp"), "wb") as f:
        f.write(bmp)
    with open(os.path.join(args.out, "mainicon.ico"), "wb") as f:
        f.write(ico())


if __name__ == "__main__":
    main()
