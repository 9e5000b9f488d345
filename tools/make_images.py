#!/usr/bin/env python3
"""Draws the program's icon (resources/icon.ico, 32x32, 16 colours) and the
demo wallpaper (demo/base/rus.bmp, 24-bit). Run once; both files are kept in
the repository, so a build does not need Python."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)

# The standard 16-colour palette, as (r, g, b).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DARK_RED, NAVY, GREY, SILVER, WHITE, YELLOW, BLUE = 0, 1, 4, 8, 7, 15, 11, 12


def icon_pixels():
    """A card index: a navy box holding three cards, the front one white with lines."""
    px = [[None] * 32 for _ in range(32)]  # None = transparent
    def rect(x0, y0, x1, y1, colour):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                px[y][x] = colour
    rect(6, 3, 27, 16, SILVER)      # back card
    rect(4, 6, 25, 19, YELLOW)      # middle card
    rect(2, 9, 23, 24, WHITE)       # front card
    for x in range(2, 24):
        px[9][x] = px[24][x] = BLACK
    for y in range(9, 25):
        px[y][2] = px[y][23] = BLACK
    for y in (13, 16, 19):
        rect(5, y, 20, y, BLUE)
    rect(2, 22, 29, 30, NAVY)       # the box
    rect(4, 24, 27, 28, DARK_RED)
    rect(13, 25, 18, 26, YELLOW)    # its handle
    return px


def write_icon(path):
    px = icon_pixels()
    header = struct.pack('<IiiHHIIiiII', 40, 32, 64, 1, 4, 0, 32 * 16 + 32 * 4, 0, 0, 16, 0)
    palette = b''.join(struct.pack('BBBB', b, g, r, 0) for r, g, b in PALETTE)
    xor = bytearray()
    mask = bytearray()
    for row in reversed(range(32)):          # bottom-up
        line = px[row]
        for x in range(0, 32, 2):
            hi = line[x] if line[x] is not None else 0
            lo = line[x + 1] if line[x + 1] is not None else 0
            xor.append((hi << 4) | lo)
        bits = 0
        for x in range(32):
            bits = (bits << 1) | (1 if line[x] is None else 0)
        mask += struct.pack('>I', bits)
    image = header + palette + bytes(xor) + bytes(mask)
    directory = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', 32, 32, 16, 0, 1, 4, len(image), 6 + 16)
    with open(path, 'wb') as f:
        f.write(directory + entry + image)


def write_wallpaper(path, width=480, height=320):
    """Three bands, white, blue and red, each shaded from left to right."""
    bands = [(255, 255, 255), (0, 57, 166), (213, 43, 30)]
    row_bytes = (width * 3 + 3) & ~3
    pixels = bytearray()
    for y in reversed(range(height)):        # bottom-up
        r, g, b = bands[min(2, y * 3 // height)]
        line = bytearray()
        for x in range(width):
            shade = 0.85 + 0.15 * x / (width - 1)
            line += bytes((int(b * shade), int(g * shade), int(r * shade)))
        line += b'\0' * (row_bytes - len(line))
        pixels += line
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    file_header = struct.pack('<2sIHHI', b'BM', 14 + 40 + len(pixels), 0, 0, 14 + 40)
    with open(path, 'wb') as f:
        f.write(file_header + info + pixels)


if __name__ == '__main__':
    write_icon(os.path.join(ROOT, 'resources', 'icon.ico'))
    write_wallpaper(os.path.join(ROOT, 'demo', 'base', 'rus.bmp'))
