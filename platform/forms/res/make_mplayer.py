#!/usr/bin/env python3
"""Draws the media player's 27 button glyphs: for each of the nine buttons an enabled
(black), a disabled (grey) and a coloured picture, 12 x 10 pixels on olive, the
glyphs' transparent colour; 24-bit bitmaps named EN_/DI_/CL_ + MPPLAY ... MPEJECT, and
the resource script that lists them.

    python3 platform/forms/res/make_mplayer.py
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
OLIVE = (128, 128, 0)
GREY = (128, 128, 128)

# name, colour of the coloured glyph (R, G, B), picture
GLYPHS = [
    ("MPPLAY", (0, 160, 0), ["...#........", "...##.......", "...###......", "...####.....",
                             "...#####....", "...#####....", "...####.....", "...###......",
                             "...##.......", "...#........"]),
    ("MPPAUSE", (0, 128, 192), ["............", "...##..##...", "...##..##...", "...##..##...",
                                "...##..##...", "...##..##...", "...##..##...", "...##..##...",
                                "...##..##...", "............"]),
    ("MPSTOP", (192, 0, 0), ["............", "............", "...######...", "...######...",
                             "...######...", "...######...", "...######...", "...######...",
                             "............", "............"]),
    ("MPNEXT", (0, 0, 160), ["............", "..#...#..#..", "..##..##.#..", "..###.####..",
                             "..#########.", "..#########.", "..###.####..", "..##..##.#..",
                             "..#...#..#..", "............"]),
    ("MPSTEP", (0, 0, 160), ["............", "...#....#...", "...##...#...", "...###..#...",
                             "...####.#...", "...####.#...", "...###..#...", "...##...#...",
                             "...#....#...", "............"]),
    ("MPRECORD", (192, 0, 0), ["............", "....####....", "...######...", "..########..",
                               "..########..", "..########..", "..########..", "...######...",
                               "....####....", "............"]),
    ("MPEJECT", (96, 0, 128), ["............", ".....##.....", "....####....", "...######...",
                               "..########..", ".##########.", "............", ".##########.",
                               ".##########.", "............"]),
]


def mirrored(name, of):
    """The glyph `of` facing the other way, under `name`."""
    _, colour, rows = next(g for g in GLYPHS if g[0] == of)
    return (name, colour, [row[::-1] for row in rows])


# Previous and back face the other way from next and step; the buttons' order stays.
GLYPHS.insert(4, mirrored("MPPREV", "MPNEXT"))
GLYPHS.insert(6, mirrored("MPBACK", "MPSTEP"))


def bmp(rows, ink):
    h, w = len(rows), len(rows[0])
    stride = (w * 3 + 3) & ~3
    body = b""
    for row in reversed(rows):
        line = b"".join(bytes((c[2], c[1], c[0])) for c in (ink if ch == "#" else OLIVE for ch in row))
        body += line + b"\0" * (stride - w * 3)
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + len(header) + len(body), 0, 0, 54) + header + body


def main():
    lines = ["// The media player's button glyphs (made by make_mplayer.py)."]
    os.makedirs(os.path.join(HERE, "mplayer"), exist_ok=True)
    for name, colour, rows in GLYPHS:
        assert len(rows) == 10 and all(len(r) == 12 for r in rows), name
        for prefix, ink in (("EN", (0, 0, 0)), ("DI", GREY), ("CL", colour)):
            file = "%s_%s.bmp" % (prefix.lower(), name.lower())
            with open(os.path.join(HERE, "mplayer", file), "wb") as f:
                f.write(bmp(rows, ink))
            lines.append('%s_%s BITMAP "mplayer/%s"' % (prefix, name, file))
    with open(os.path.join(HERE, "MPlayer.rc"), "w") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
