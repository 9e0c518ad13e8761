#!/usr/bin/env python3
"""Draws the images of video: the main dialog's background, the About button, the
minimise and close button faces with their masks, the About background and the icon.
Pure Python, no third-party modules: run it from any folder, it writes beside itself."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


class Image:
    def __init__(self, w, h, colour=(255, 255, 255)):
        self.w, self.h = w, h
        self.px = [list(colour) * w for _ in range(h)]

    def get(self, x, y):
        row = self.px[y]
        return tuple(row[x * 3:x * 3 + 3])

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x * 3:x * 3 + 3] = [int(max(0, min(255, v))) for v in c]

    def blend(self, x, y, c, a):
        if 0 <= x < self.w and 0 <= y < self.h and a > 0:
            old = self.get(x, y)
            self.set(x, y, [o + (n - o) * a for o, n in zip(old, c)])

    def save_bmp(self, name):
        stride = (self.w * 3 + 3) & ~3
        data = bytearray()
        for y in range(self.h - 1, -1, -1):  # bottom-up rows
            row = self.px[y]
            line = bytearray()
            for x in range(self.w):
                r, g, b = row[x * 3:x * 3 + 3]
                line += bytes((b, g, r))
            line += b"\0" * (stride - len(line))
            data += line
        header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
        info = struct.pack("<IiiHHIIiiII", 40, self.w, self.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(header + info + data)


def lerp(a, b, t):
    return [x + (y - x) * t for x, y in zip(a, b)]


def vgradient(img, x0, y0, x1, y1, top, bottom):
    for y in range(y0, y1):
        c = lerp(top, bottom, (y - y0) / max(1, y1 - y0 - 1))
        for x in range(x0, x1):
            img.set(x, y, c)


def inside_round(x, y, x0, y0, x1, y1, r):
    """Coverage (0..1) of pixel (x, y) by a rounded rectangle [x0, x1) x [y0, y1)."""
    cx = min(max(x + 0.5, x0 + r), x1 - r)
    cy = min(max(y + 0.5, y0 + r), y1 - r)
    d = ((x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2) ** 0.5
    return max(0.0, min(1.0, r - d + 0.5)) if r > 0 else float(x0 <= x < x1 and y0 <= y < y1)


def round_rect(img, x0, y0, x1, y1, r, fill_top, fill_bottom, border=None):
    for y in range(y0, y1):
        c = lerp(fill_top, fill_bottom, (y - y0) / max(1, y1 - y0 - 1))
        for x in range(x0, x1):
            a = inside_round(x, y, x0, y0, x1, y1, r)
            if border is not None:
                inner = inside_round(x, y, x0 + 1, y0 + 1, x1 - 1, y1 - 1, max(0, r - 1))
                img.blend(x, y, border, a)
                img.blend(x, y, c, inner)
            else:
                img.blend(x, y, c, a)


# A small bitmap font: 5 x 7 Latin glyphs and two 11 x 11 Chinese ones.
GLYPHS = {
    "P": ["####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
    "l": [".##..", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "e": [".....", ".....", ".###.", "#...#", "#####", "#....", ".###."],
    "n": [".....", ".....", "####.", "#...#", "#...#", "#...#", "#...#"],
    "v": [".....", ".....", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    "o": [".....", ".....", ".###.", "#...#", "#...#", "#...#", ".###."],
    "1": ["..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "2": [".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"],
    ".": [".....", ".....", ".....", ".....", ".....", ".##..", ".##.."],
    " ": [".....", ".....", ".....", ".....", ".....", ".....", "....."],
    "guan": ["..#.....#..", "...#...#...", ".#########.", ".....#.....", ".....#.....",
             "###########", ".....#.....", "....#.#....", "...#...#...", "..#.....#..", "##.......##"],
    "yu": [".#########.", ".....#.....", ".....#.....", "###########", ".....#.....", ".....#.....",
           ".....#.....", ".....#.....", ".....#.....", ".....#.....", "...###....."],
}


def glyph(img, x, y, name, colour, scale=1):
    rows = GLYPHS[name]
    for gy, row in enumerate(rows):
        for gx, ch in enumerate(row):
            if ch == "#":
                for dy in range(scale):
                    for dx in range(scale):
                        img.set(x + gx * scale + dx, y + gy * scale + dy, colour)
    return len(rows[0]) * scale


def text(img, x, y, s, colour, scale=1):
    for ch in s:
        x += glyph(img, x, y, ch, colour, scale) + scale


def circle(img, cx, cy, r, colour):
    for y in range(int(cy - r - 1), int(cy + r + 2)):
        for x in range(int(cx - r - 1), int(cx + r + 2)):
            d = ((x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2) ** 0.5
            img.blend(x, y, colour, max(0.0, min(1.0, r - d + 0.5)))


def filmstrip(img, x0, y0, x1, y1, base, hole):
    for y in range(y0, y1):
        for x in range(x0, x1):
            img.set(x, y, base)
    for x in range(x0 + 4, x1 - 6, 14):
        round_rect(img, x, y0 + 3, x + 8, y0 + 8, 1, hole, hole)
        round_rect(img, x, y1 - 8, x + 8, y1 - 3, 1, hole, hole)


# Dialog units to pixels of the 796 x 454 picture (455 x 260 units).
def ux(u):
    return round(u * 796 / 455)


def uy(u):
    return round(u * 454 / 260)


def background():
    img = Image(796, 454)
    vgradient(img, 0, 0, 796, 454, (233, 240, 250), (208, 222, 241))
    # banner band behind the browser control
    vgradient(img, 0, 0, 796, uy(50), (29, 78, 137), (50, 112, 184))
    for x in range(796):  # a soft highlight across the band
        for y in range(0, uy(22)):
            img.blend(x, y, (255, 255, 255), 0.10 * (1 - y / uy(22)))
    # panels: the file list on the left, the settings on the right, the progress strip
    round_rect(img, ux(5), uy(52), ux(243), uy(228), 8, (250, 252, 255), (236, 243, 252), (150, 178, 214))
    round_rect(img, ux(246), uy(52), ux(450), uy(228), 8, (250, 252, 255), (236, 243, 252), (150, 178, 214))
    round_rect(img, ux(247), uy(71), ux(348), uy(167), 6, (241, 246, 253), (226, 236, 249), (176, 198, 228))
    round_rect(img, ux(349), uy(71), ux(449), uy(167), 6, (241, 246, 253), (226, 236, 249), (176, 198, 228))
    vgradient(img, 0, uy(231), 796, 454, (214, 226, 243), (190, 208, 233))
    for x in range(796):
        img.set(x, uy(231), (150, 178, 214))
    # a thin orange accent under each step heading
    for (u0, v, u1) in ((10, 66, 80), (250, 66, 300), (250, 183, 300), (250, 217, 300)):
        for x in range(ux(u0), ux(u1)):
            img.blend(x, uy(v), (240, 140, 40), 0.8)
    return img


def button_pair(kind):
    """Normal, hover and pressed faces and the mask of a 35 x 20 caption button."""
    palette = {
        "close": ((226, 92, 80), (190, 48, 40), (240, 130, 118), (214, 74, 62), (160, 36, 30), (130, 26, 22)),
        "min": ((92, 146, 214), (46, 98, 172), (130, 176, 232), (70, 124, 196), (36, 80, 150), (28, 62, 124)),
    }[kind]
    faces = []
    for top, bottom in (palette[0:2], palette[2:4], palette[4:6]):
        img = Image(35, 20)
        round_rect(img, 0, 0, 35, 20, 5, top, bottom)
        # hard edges against white: the mask decides transparency, not blending
        for y in range(20):
            for x in range(35):
                if inside_round(x, y, 0, 0, 35, 20, 5) < 0.5:
                    img.set(x, y, (255, 255, 255))
        if kind == "close":
            for i in range(8):
                for d in (0, 1):
                    img.set(13 + i + d, 6 + i, (255, 255, 255))
                    img.set(21 - i + d, 6 + i, (255, 255, 255))
        else:
            for x in range(12, 24):
                for y in (12, 13):
                    img.set(x, y, (255, 255, 255))
        faces.append(img)
    mask = Image(35, 20)
    for y in range(20):
        for x in range(35):
            mask.set(x, y, (0, 0, 0) if inside_round(x, y, 0, 0, 35, 20, 5) >= 0.5 else (255, 255, 255))
    return faces, mask


def about_button():
    img = Image(64, 22, (208, 222, 241))
    round_rect(img, 0, 0, 64, 22, 6, (92, 146, 214), (40, 92, 166), (30, 70, 130))
    circle(img, 12, 11, 7, (255, 255, 255))
    circle(img, 12, 11, 5.6, (60, 112, 186))
    for y in range(10, 15):
        img.set(12, y, (255, 255, 255))
    img.set(12, 7, (255, 255, 255))
    glyph(img, 25, 5, "guan", (255, 255, 255))
    glyph(img, 40, 5, "yu", (255, 255, 255))
    return img


def about_background():
    img = Image(453, 220)
    vgradient(img, 0, 0, 453, 220, (244, 248, 253), (214, 227, 244))
    vgradient(img, 0, 0, 453, 62, (29, 78, 137), (50, 112, 184))
    filmstrip(img, 0, 62, 453, 78, (40, 44, 52), (220, 226, 236))
    text(img, 24, 18, "Plenvo 12.2", (255, 255, 255), 3)
    round_rect(img, 20, 92, 433, 205, 8, (252, 253, 255), (240, 245, 252), (170, 192, 222))
    return img


def icon_image(size):
    img = Image(size, size, (0, 0, 0))
    alpha = [[0.0] * size for _ in range(size)]
    s = size / 32
    for y in range(size):
        for x in range(size):
            a = inside_round(x, y, 1 * s, 3 * s, 31 * s, 29 * s, 4 * s)
            alpha[y][x] = a
            c = lerp((70, 130, 210), (24, 70, 140), y / size)
            img.set(x, y, c)
    # film perforations along top and bottom
    for k in range(5):
        x0 = (4 + k * 5.5) * s
        for y0 in (4.5 * s, 25 * s):
            for y in range(int(y0), int(y0 + 2.5 * s)):
                for x in range(int(x0), int(x0 + 3 * s)):
                    img.set(x, y, (230, 236, 246))
    # play triangle
    for y in range(size):
        for x in range(size):
            px, py = (x + 0.5) / s, (y + 0.5) / s
            if 12 <= px <= 22 and abs(py - 16) <= (22 - px) * 0.55:
                img.set(x, y, (255, 178, 60))
    return img, alpha


def save_ico(name, sizes):
    entries, blobs = [], []
    for size in sizes:
        img, alpha = icon_image(size)
        xor = bytearray()
        for y in range(size - 1, -1, -1):
            for x in range(size):
                r, g, b = img.get(x, y)
                xor += bytes((b, g, r, int(round(alpha[y][x] * 255))))
        mask_stride = ((size + 31) // 32) * 4
        andmask = bytearray()
        for y in range(size - 1, -1, -1):
            row = bytearray(mask_stride)
            for x in range(size):
                if alpha[y][x] < 0.5:
                    row[x // 8] |= 0x80 >> (x % 8)
            andmask += row
        header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(andmask), 0, 0, 0, 0)
        blobs.append(header + xor + andmask)
    offset = 6 + 16 * len(sizes)
    out = struct.pack("<HHH", 0, 1, len(sizes))
    for size, blob in zip(sizes, blobs):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(out + b"".join(blobs))


def main():
    background().save_bmp("background.bmp")
    about_button().save_bmp("about_button.bmp")
    about_background().save_bmp("about_background.bmp")
    for kind in ("close", "min"):
        (normal, hover, pressed), mask = button_pair(kind)
        normal.save_bmp(kind + "_normal.bmp")
        hover.save_bmp(kind + "_hover.bmp")
        pressed.save_bmp(kind + "_pressed.bmp")
        mask.save_bmp(kind + "_mask.bmp")
    save_ico("video.ico", [16, 32, 48])


if __name__ == "__main__":
    main()
