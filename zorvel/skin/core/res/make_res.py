#!/usr/bin/env python3
"""Draws the skin engine's own bitmap resources:

- lumavexmenu.bmp: four 16 x 16 system-menu glyphs side by side (restore, maximize,
  minimize, close: the image indexes the system menu gives its items) on white, the image list's mask colour; 24-bit.
- track.bmp (16 x 4) and trackvert.bmp (4 x 16): the built-in track channels for skins
  without their own; 16 colours.

    python3 zorvel/skin/core/res/make_res.py
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

GLYPHS = [
    # restore
    ["................", "................", "................", ".....#######....", ".....#######....",
     ".....#.....#....", "...#######.#....", "...#######.#....", "...#.....###....", "...#.....#......",
     "...#.....#......", "...#######......", "................", "................", "................",
     "................"],
    # maximize
    ["................", "................", "................", "...##########...", "...##########...",
     "...#........#...", "...#........#...", "...#........#...", "...#........#...", "...#........#...",
     "...#........#...", "...##########...", "................", "................", "................",
     "................"],
    # minimize
    ["................"] * 10 + ["....########....", "....########...."] + ["................"] * 4,
    # close
    ["................", "................", "................", "....##....##....", ".....##..##.....",
     "......####......", ".......##.......", "......####......", ".....##..##.....", "....##....##....",
     "................", "................", "................", "................", "................",
     "................"],
]


def bmp24(w, h, pixel):
    stride = (w * 3 + 3) & ~3
    data = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for x in range(w):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        data += row + b"\0" * (stride - len(row))
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 54 + len(data), 0, 0, 54) + info + bytes(data)


def bmp4(w, h, palette, index):
    stride = ((w * 4 + 31) // 32) * 4
    data = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(stride)
        for x in range(w):
            row[x // 2] |= index(x, y) << (4 if x % 2 == 0 else 0)
        data += row
    pal = b"".join(bytes((b, g, r, 0)) for r, g, b in palette) + b"\0" * 4 * (16 - len(palette))
    offset = 54 + 64
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 4, 0, len(data), 2835, 2835, 16, 0)
    return b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset) + info + pal + bytes(data)


def menu_pixel(x, y):
    glyph = GLYPHS[x // 16]
    return (32, 32, 40) if glyph[y][x % 16] == "#" else (255, 255, 255)


# 0 edge, 1 light channel, 2 shadow line
TRACK_PALETTE = [(128, 128, 128), (236, 236, 236), (176, 176, 176)]


def track_index(x, y, w, h):
    if x == 0 or y == 0 or x == w - 1 or y == h - 1:
        return 0
    return 2 if (y == 1 if w > h else x == 1) else 1


def main():
    with open(os.path.join(HERE, "lumavexmenu.bmp"), "wb") as f:
        f.write(bmp24(64, 16, menu_pixel))
    with open(os.path.join(HERE, "track.bmp"), "wb") as f:
        f.write(bmp4(16, 4, TRACK_PALETTE, lambda x, y: track_index(x, y, 16, 4)))
    with open(os.path.join(HERE, "trackvert.bmp"), "wb") as f:
        f.write(bmp4(4, 16, TRACK_PALETTE, lambda x, y: track_index(x, y, 4, 16)))


if __name__ == "__main__":
    main()
