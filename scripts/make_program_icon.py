#!/usr/bin/env python3
"""Writes resources/velmora.ico, the program file's icon: a 32 x 32 and a
16 x 16 image of 16 colours in the look of the tray icon (a black square
with a rising area graph in the status colours and a status bar).

The icon is kept in the repository; run this again only to change the art.
usage: make_program_icon.py OUTPUT.ico
"""
import struct
import sys

# The standard 16-colour palette (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DARK_GREEN, RED, GREEN, YELLOW, WHITE = 0, 2, 9, 10, 11, 15

# Graph heights of the 14 columns of the 16 x 16 image, in levels of 14.
HEIGHTS = [3, 4, 4, 5, 7, 6, 7, 9, 8, 10, 11, 10, 12, 13]


def picture_16():
    px = [[BLACK] * 16 for _ in range(16)]
    for i, h in enumerate(HEIGHTS):
        c = 1 + i
        for level in range(1, h + 1):
            r = 13 - level  # levels stand on row 12; rows 13-14 hold the bar
            px[r][c] = GREEN if level == h else DARK_GREEN
    # The status bar: green, then yellow, then red at the right end.
    for c in range(1, 15):
        px[14][c] = GREEN if c < 10 else (YELLOW if c < 13 else RED)
    return px


def picture_32():
    small = picture_16()
    px = [[small[r // 2][c // 2] for c in range(32)] for r in range(32)]
    # Sharpen the graph's top edge with white on the big image.
    for c in range(32):
        for r in range(32):
            if r < 26 and px[r][c] == GREEN and px[r - 1][c] == BLACK:
                px[r][c] = WHITE if c % 4 == 0 else GREEN
    return px


def image(px):
    size = len(px)
    header = struct.pack('<IiiHHIIiiII', 40, size, 2 * size, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(bytes((b, g, r, 0)) for (r, g, b) in PALETTE)
    colour = bytearray()
    for row in reversed(px):  # bottom-up
        line = bytearray()
        for c in range(0, size, 2):
            line.append((row[c] << 4) | row[c + 1])
        while len(line) % 4:
            line.append(0)
        colour += line
    mask_row = ((size + 31) // 32) * 4
    mask = bytes(mask_row * size)  # every pixel opaque
    return header + palette + bytes(colour) + mask


def main(out):
    images = [(32, image(picture_32())), (16, image(picture_16()))]
    data = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, blob in images:
        data += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(blob), offset)
        offset += len(blob)
    for _, blob in images:
        data += blob
    with open(out, 'wb') as f:
        f.write(data)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'resources/velmora.ico')
