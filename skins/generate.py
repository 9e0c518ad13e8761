#!/usr/bin/env python3
"""Draws the five shipped skins: 24-bit bitmaps and one description per skin.

    python3 skins/generate.py [OUT_DIR]     (default: the folder of this script)

Writes OUT_DIR/SkinItemN/ for N = 0..4. Everything is drawn here from a palette and a
few shape parameters, so the skins are ours and can be redrawn at will. The output is
committed, so builds need no Python.
"""
import os
import struct
import sys

MAGENTA = (255, 0, 255)


def clamp(v):
    return 0 if v < 0 else 255 if v > 255 else int(v)


def mix(a, b, t):
    """a at t = 0, b at t = 1."""
    return tuple(clamp(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def lighter(c, t):
    return mix(c, (255, 255, 255), t)


def darker(c, t):
    return mix(c, (0, 0, 0), t)


class Img:
    def __init__(self, w, h, colour=MAGENTA):
        self.w, self.h = w, h
        self.px = [colour] * (w * h)

    def get(self, x, y):
        return self.px[y * self.w + x]

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y * self.w + x] = c

    def fill(self, x0, y0, x1, y1, c):
        for y in range(max(0, y0), min(self.h, y1)):
            for x in range(max(0, x0), min(self.w, x1)):
                self.px[y * self.w + x] = c

    def vgrad(self, x0, y0, x1, y1, stops):
        n = max(1, y1 - y0 - 1)
        for y in range(y0, y1):
            c = ramp(stops, (y - y0) / n)
            self.fill(x0, y, x1, y + 1, c)

    def hgrad(self, x0, y0, x1, y1, stops):
        n = max(1, x1 - x0 - 1)
        for x in range(x0, x1):
            self.fill(x, y0, x + 1, y1, ramp(stops, (x - x0) / n))

    def frame(self, x0, y0, x1, y1, c):
        self.fill(x0, y0, x1, y0 + 1, c)
        self.fill(x0, y1 - 1, x1, y1, c)
        self.fill(x0, y0, x0 + 1, y1, c)
        self.fill(x1 - 1, y0, x1, y1, c)

    def round_corners(self, x0, y0, x1, y1, r, corners="tl tr bl br", key=MAGENTA, edge=None):
        """Cuts the corners of a rectangle to radius r with the key colour; `edge` outlines
        the curve."""
        if r <= 0:
            return
        for dy in range(r):
            for dx in range(r):
                # distance of the pixel centre from the circle centre (r, r)
                d2 = (r - dx - 0.5) ** 2 + (r - dy - 0.5) ** 2
                outside = d2 > r * r
                on_edge = not outside and d2 > (r - 1.2) ** 2
                for name, x, y in (("tl", x0 + dx, y0 + dy), ("tr", x1 - 1 - dx, y0 + dy),
                                   ("bl", x0 + dx, y1 - 1 - dy), ("br", x1 - 1 - dx, y1 - 1 - dy)):
                    if name not in corners:
                        continue
                    if outside:
                        self.put(x, y, key)
                    elif on_edge and edge is not None:
                        self.put(x, y, edge)

    def blit(self, src, x, y, key=None):
        for sy in range(src.h):
            for sx in range(src.w):
                c = src.get(sx, sy)
                if key is not None and c == key:
                    continue
                self.put(x + sx, y + sy, c)

    def glyph(self, rows, x, y, c):
        for dy, row in enumerate(rows):
            for dx, ch in enumerate(row):
                if ch == "#":
                    self.put(x + dx, y + dy, c)

    def glyph_centred(self, rows, c, shift=0):
        gw, gh = len(rows[0]), len(rows)
        self.glyph(rows, (self.w - gw) // 2 + shift, (self.h - gh) // 2 + shift, c)

    def bmp(self):
        stride = (self.w * 3 + 3) & ~3
        pad = b"\0" * (stride - self.w * 3)
        rows = []
        for y in range(self.h - 1, -1, -1):
            row = bytearray()
            for x in range(self.w):
                r, g, b = self.px[y * self.w + x]
                row += bytes((b, g, r))
            rows.append(bytes(row) + pad)
        data = b"".join(rows)
        header = struct.pack("<IiiHHIIiiII", 40, self.w, self.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
        return b"BM" + struct.pack("<IHHI", 14 + 40 + len(data), 0, 0, 54) + header + data


def ramp(stops, t):
    """Colour at t (0..1) of a list of (position, colour) stops."""
    if t <= stops[0][0]:
        return stops[0][1]
    for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
        if t <= p1:
            return mix(c0, c1, (t - p0) / (p1 - p0) if p1 > p0 else 0)
    return stops[-1][1]


def hstrip(frames):
    w = sum(f.w for f in frames)
    out = Img(w, max(f.h for f in frames))
    x = 0
    for f in frames:
        out.blit(f, x, 0)
        x += f.w
    return out


def vstrip(frames):
    out = Img(max(f.w for f in frames), sum(f.h for f in frames))
    y = 0
    for f in frames:
        out.blit(f, 0, y)
        y += f.h
    return out


# Glyphs: '#' is ink.
G_CLOSE = ["#.....#", ".#...#.", "..#.#..", "...#...", "..#.#..", ".#...#.", "#.....#"]
G_CLOSE_B = ["##...##", "###.###", ".#####.", "..###..", ".#####.", "###.###", "##...##"]
G_MAX = ["#######", "#######", "#.....#", "#.....#", "#.....#", "#.....#", "#######"]
G_MIN = [".......", ".......", ".......", ".......", ".......", "#######", "#######"]
G_RESTORE = ["..#####", "..#####", "..#...#", "#####.#", "#####.#", "#...###", "#####.."]
G_UP = ["...#...", "..###..", ".#####.", "#######"]
G_DOWN = list(reversed(G_UP))
G_LEFT = ["...#", "..##", ".###", "####", ".###", "..##", "...#"]
G_RIGHT = ["#...", "##..", "###.", "####", "###.", "##..", "#..."]
G_CHECK = ["......#", ".....##", "#...##.", "##.##..", ".###...", "..#...."]
G_DOT = [".###.", "#####", "#####", "#####", ".###."]
G_GRIP_H = ["#.#.#", "#.#.#", "#.#.#", "#.#.#", "#.#.#"]
G_GRIP_V = ["#####", ".....", "#####", ".....", "#####"]


class Palette:
    def __init__(self, **kw):
        self.__dict__.update(kw)


# The five skins. `cap` are the caption's gradient stops (active), `cap_in` inactive;
# `accent` marks hot and focused parts; `face` is the dialog face; `radius` rounds the
# window and the buttons; `gloss` puts a light band over the caption's upper half.
SKINS = [
    Palette(name="Slate", cap=[(0, (96, 110, 128)), (1, (62, 72, 88))],
            cap_in=[(0, (150, 156, 164)), (1, (124, 130, 140))],
            face=(226, 229, 233), accent=(74, 134, 200), text=(250, 250, 252),
            edge=(44, 52, 64), radius=4, gloss=0.0, caption=28, border=4, close=(200, 70, 60)),
    Palette(name="Moss", cap=[(0, (112, 150, 92)), (1, (66, 104, 60))],
            cap_in=[(0, (168, 180, 160)), (1, (140, 152, 134))],
            face=(232, 236, 222), accent=(140, 180, 64), text=(255, 255, 240),
            edge=(46, 70, 40), radius=6, gloss=0.25, caption=26, border=5, close=(186, 84, 50)),
    Palette(name="Aurora", cap=[(0, (40, 46, 108)), (0.55, (34, 92, 148)), (1, (22, 150, 158))],
            cap_in=[(0, (122, 128, 156)), (1, (140, 160, 170))],
            face=(236, 240, 246), accent=(40, 170, 196), text=(255, 255, 255),
            edge=(18, 26, 64), radius=8, gloss=0.38, caption=30, border=5, close=(220, 64, 92)),
    Palette(name="Ember", cap=[(0, (176, 84, 40)), (1, (112, 44, 26))],
            cap_in=[(0, (176, 150, 136)), (1, (150, 126, 114))],
            face=(240, 232, 222), accent=(236, 140, 40), text=(255, 244, 226),
            edge=(70, 28, 16), radius=3, gloss=0.15, caption=27, border=4, close=(150, 30, 20)),
    Palette(name="Frost", cap=[(0, (226, 236, 248)), (1, (184, 206, 232))],
            cap_in=[(0, (236, 238, 242)), (1, (214, 218, 226))],
            face=(246, 248, 252), accent=(90, 150, 220), text=(30, 50, 80),
            edge=(130, 156, 190), radius=5, gloss=0.5, caption=26, border=4, close=(210, 80, 80)),
]


def caption_stops(p, active):
    stops = p.cap if active else p.cap_in
    return stops


def glossy(img, x0, y0, x1, y1, amount):
    """Lightens the upper half of a rectangle, fading downwards."""
    if amount <= 0:
        return
    half = (y1 - y0) // 2
    for y in range(y0, y0 + half):
        t = amount * (1 - (y - y0) / max(1, half))
        for x in range(x0, x1):
            c = img.get(x, y)
            if c != MAGENTA:
                img.put(x, y, lighter(c, t))


def top_border(p, active):
    """One frame of the caption strip: 120 wide, the caption height high; its left and
    right 30 pixels are fixed, the middle stretches."""
    w, h = 120, p.caption
    img = Img(w, h)
    img.vgrad(0, 0, w, h, caption_stops(p, active))
    glossy(img, 0, 0, w, h, p.gloss if active else p.gloss / 2)
    img.fill(0, 0, w, 1, lighter(img.get(w // 2, 1), 0.35))
    img.fill(0, h - 1, w, h, p.edge if active else mix(p.edge, p.face, 0.5))
    return img


def side_border(p, active, right):
    """One frame of the left or right border: border wide, 80 high; the top caption-height
    pixels continue the caption with its rounded corner, the bottom 8 carry the lower
    corner."""
    w, h = p.border, 80
    img = Img(w, h)
    edge = p.edge if active else mix(p.edge, p.face, 0.5)
    body = mix(caption_stops(p, active)[-1][1], p.face, 0.15)
    img.vgrad(0, 0, w, p.caption, caption_stops(p, active))
    glossy(img, 0, 0, w, p.caption, p.gloss if active else p.gloss / 2)
    img.fill(0, p.caption, w, h, body)
    # the outer edge line and a light inner line
    ox = w - 1 if right else 0
    ix = 0 if right else w - 1
    img.fill(ox, 0, ox + 1, h, edge)
    img.fill(ix, p.caption, ix + 1, h - 1, lighter(body, 0.25))
    img.fill(0, h - 1, w, h, edge)
    return img


def bottom_border(p, active):
    w, h = 40, p.border
    img = Img(w, h)
    edge = p.edge if active else mix(p.edge, p.face, 0.5)
    body = mix(caption_stops(p, active)[-1][1], p.face, 0.15)
    img.fill(0, 0, w, h, body)
    img.fill(0, 0, w, 1, lighter(body, 0.25))
    img.fill(0, h - 1, w, h, edge)
    return img


def cut_window_corners(p, left, right, top):
    """Rounds the window's upper corners: they lie in the side borders (upper outer
    pixels) and need magenta there so that the window region follows them."""
    r = p.radius
    for img, corner in ((left, "tl"), (right, "tr")):
        fw = img.w // 2
        for k in range(2):
            x0 = k * fw
            for dy in range(r):
                for dx in range(r):
                    d2 = (r - dx - 0.5) ** 2 + (r - dy - 0.5) ** 2
                    if d2 > r * r:
                        x = x0 + dx if corner == "tl" else x0 + fw - 1 - dx
                        if 0 <= dx < fw:
                            img.put(x, dy, MAGENTA)
    # a radius wider than the side border continues into the caption strip's fixed ends
    for k in range(2):
        y0 = k * p.caption
        for dy in range(r):
            for dx in range(p.border, r):
                d2 = (r - dx - 0.5) ** 2 + (r - dy - 0.5) ** 2
                if d2 > r * r:
                    top.put(dx - p.border, y0 + dy, MAGENTA)
                    top.put(top.w - 1 - (dx - p.border), y0 + dy, MAGENTA)


def caption_button(p, glyph, danger=False):
    """Four 18 x 18 frames: normal, pressed, hot, inactive."""
    frames = []
    base_top = lighter(p.cap[0][1], 0.25) if p.text[0] > 128 else darker(p.cap[0][1], 0.05)
    for state in range(4):
        f = Img(18, 18)
        if danger and state in (1, 2):
            top, bottom = lighter(p.close, 0.25), p.close
        elif state == 3:
            top, bottom = mix(p.cap_in[0][1], p.face, 0.3), p.cap_in[-1][1]
        else:
            top = lighter(base_top, 0.15 if state == 2 else 0.0)
            bottom = mix(p.cap[-1][1], p.edge, 0.3)
        if state == 1:
            top, bottom = bottom, top
        f.vgrad(0, 0, 18, 18, [(0, top), (1, bottom)])
        glossy(f, 0, 0, 18, 18, 0.3 if state != 1 else 0.0)
        f.frame(0, 0, 18, 18, darker(bottom, 0.35))
        f.round_corners(0, 0, 18, 18, min(4, p.radius), edge=darker(bottom, 0.35))
        ink = p.text if state != 3 else mix(p.text, p.cap_in[-1][1], 0.5)
        if p.text[0] < 128 and danger and state in (1, 2):
            ink = (255, 255, 255)
        f.glyph_centred(glyph, ink, 1 if state == 1 else 0)
        frames.append(f)
    return hstrip(frames)


def face_button(p, w, h, state, radius=None):
    """A push-button face: normal, pressed, disabled, hot, focused (1..5)."""
    r = p.radius // 2 + 2 if radius is None else radius
    f = Img(w, h)
    light, dark = lighter(p.face, 0.7), darker(p.face, 0.12)
    edge = darker(p.face, 0.45)
    if state == 2:
        stops = [(0, darker(p.face, 0.18)), (1, lighter(p.face, 0.3))]
    elif state == 3:
        stops = [(0, lighter(p.face, 0.5)), (1, lighter(p.face, 0.3))]
        edge = darker(p.face, 0.2)
    elif state == 4:
        stops = [(0, lighter(p.accent, 0.85)), (1, lighter(p.accent, 0.55))]
        edge = darker(p.accent, 0.2)
    else:
        stops = [(0, light), (0.5, p.face), (1, dark)]
    f.vgrad(0, 0, w, h, stops)
    f.frame(0, 0, w, h, edge)
    if state == 5:
        f.frame(1, 1, w - 1, h - 1, lighter(p.accent, 0.3))
        f.frame(0, 0, w, h, darker(p.accent, 0.1))
    f.round_corners(0, 0, w, h, r, edge=edge if state != 5 else darker(p.accent, 0.1))
    return f


def check_strip(p, radio):
    """Four 13 x 13 frames: unchecked, checked, unchecked disabled, checked disabled."""
    frames = []
    for k in range(4):
        f = Img(13, 13)
        disabled = k >= 2
        edge = darker(p.face, 0.45) if not disabled else darker(p.face, 0.2)
        fill = [(0, (255, 255, 255)), (1, lighter(p.face, 0.3))] if not disabled else \
            [(0, p.face), (1, p.face)]
        f.vgrad(1, 1, 12, 12, fill)
        f.frame(0, 0, 13, 13, edge)
        ink = p.accent if not disabled else darker(p.face, 0.25)
        if radio:
            f.round_corners(0, 0, 13, 13, 6, edge=edge)
            if k % 2 == 1:
                f.glyph(G_DOT, 4, 4, darker(ink, 0.2))
        else:
            f.round_corners(0, 0, 13, 13, 2, edge=edge)
            if k % 2 == 1:
                f.glyph(G_CHECK, 3, 3, darker(ink, 0.2))
        frames.append(f)
    return hstrip(frames)


def panel(p, w, h, fill_stops, edge, radius=0):
    f = Img(w, h)
    f.vgrad(0, 0, w, h, fill_stops)
    f.frame(0, 0, w, h, edge)
    f.round_corners(0, 0, w, h, radius, edge=edge)
    return f


def arrow_cell(p, glyph, state, size=17):
    """A scroll-bar arrow cell: state 0 normal, 1 pressed, 2 disabled, 3 hot."""
    if state == 3:
        f = face_button(p, size, size, 4, radius=2)
    elif state == 1:
        f = face_button(p, size, size, 2, radius=2)
    else:
        f = face_button(p, size, size, 1, radius=2)
    ink = darker(p.face, 0.6) if state != 2 else darker(p.face, 0.25)
    f.glyph_centred(glyph, ink, 1 if state == 1 else 0)
    return f


def scrollbar_strip(p):
    """23 frames of 17 x 17: four arrows (normal, pressed, disabled, hot) for left, right,
    up, down, then the grips of a horizontal and a vertical thumb (normal, pressed, hot),
    and one spare."""
    frames = []
    for g in (G_LEFT, G_RIGHT, G_UP, G_DOWN):
        for state in range(4):
            frames.append(arrow_cell(p, g, state))
    for g in (G_GRIP_H, G_GRIP_V):
        for state, shade in ((0, 0.45), (1, 0.6), (2, 0.3)):
            f = Img(17, 17)
            f.glyph_centred(g, darker(p.accent if state == 2 else p.face, shade))
            frames.append(f)
    frames.append(Img(17, 17, p.face))
    return hstrip(frames)


def track_strip(p, horizontal):
    frames = []
    for k in range(4):
        w, h = (20, 17) if horizontal else (17, 20)
        base = darker(p.face, 0.06) if k != 2 else p.face
        stops = [(0, darker(base, 0.08)), (1, lighter(base, 0.4))]
        f = Img(w, h)
        if horizontal:
            f.vgrad(0, 0, w, h, stops)
        else:
            f.hgrad(0, 0, w, h, stops)
        if k in (1, 3):
            f.fill(0, 0, w, h, lighter(p.accent, 0.75))
        frames.append(f)
    return hstrip(frames)


def thumb_strip(p, horizontal, frames=3):
    out = []
    for k in range(frames):
        w, h = (24, 17) if horizontal else (17, 24)
        state = {0: 1, 1: 2, 2: 4}[k]
        out.append(face_button(p, w, h, state, radius=3))
    return hstrip(out)


def pointer_thumb(p, w, h, direction, state):
    """A track-bar thumb; `direction` is None for a plain one or l, r, u, d for a point."""
    f = face_button(p, w, h, state, radius=2)
    if direction is None:
        return f
    # cut the pointing end to a wedge
    if direction in "ud":
        depth = w // 2
        for i in range(depth):
            y = h - 1 - i if direction == "d" else i
            for x in range(w):
                if abs(x - (w - 1) / 2) > i + 0.5:
                    f.put(x, y, MAGENTA)
    else:
        depth = h // 2
        for i in range(depth):
            x = w - 1 - i if direction == "r" else i
            for y in range(h):
                if abs(y - (h - 1) / 2) > i + 0.5:
                    f.put(x, y, MAGENTA)
    return f


def thumb_strip5(p, w, h, direction):
    return hstrip([pointer_thumb(p, w, h, direction, s) for s in (1, 2, 3, 4, 5)])


def updown_strip(p, w, h):
    """Eight frames: first glyph (up or left) in states 1..4, then the second."""
    frames = []
    for _ in range(2):
        for state in (1, 2, 3, 4):
            frames.append(face_button(p, w, h, state, radius=2))
    return hstrip(frames)


def updown_glyphs(p, first, second):
    frames = []
    for g in (first, second):
        for state in (1, 2, 3, 4):
            gw, gh = len(g[0]), len(g)
            f = Img(gw, gh)
            ink = darker(p.face, 0.65) if state != 3 else darker(p.face, 0.25)
            f.glyph(g, 0, 0, ink)
            frames.append(f)
    return hstrip(frames)


def mdi_strip(p):
    """Four frames per button (minimize, restore, close): normal, pressed, disabled, hot."""
    frames = []
    for g in (G_MIN, G_RESTORE, G_CLOSE):
        for state in (1, 2, 3, 4):
            f = face_button(p, 16, 14, state, radius=2)
            f.glyph_centred(g, darker(p.face, 0.7) if state != 3 else darker(p.face, 0.3))
            frames.append(f)
    return hstrip(frames)


# A combo box's frames by state, as its painter picks them: 1 normal, 2 pressed,
# 3 disabled, 4 hot or focused.
def combo_button(p):
    """Four 19 x 21 frames: normal, pressed, disabled, hot."""
    frames = []
    for state in (1, 2, 3, 4):
        f = face_button(p, 19, 21, state, radius=2)
        frames.append(f)
    return hstrip(frames)


def combo_glyphs(p):
    """Five 19 x 21 frames on the key colour: the down arrow laid over the combo button
    (normal, pressed, disabled, hot), then a status bar's size grip."""
    frames = []
    for state in (1, 2, 3, 4):
        f = Img(19, 21)
        ink = {3: darker(p.face, 0.25), 4: darker(p.accent, 0.45)}.get(state, darker(p.face, 0.65))
        f.glyph_centred(G_DOWN, ink, 1 if state == 2 else 0)
        frames.append(f)
    grip = Img(19, 21)
    for row in range(3):
        for col in range(row + 1):
            x, y = 16 - 4 * col, 18 - 4 * (2 - row)
            grip.fill(x - 1, y - 1, x + 1, y + 1, darker(p.face, 0.45))
            grip.put(x, y, (255, 255, 255))
    frames.append(grip)
    return hstrip(frames)


def sunk_edge(p):
    """Four 20 x 21 frames of a combo box's edge: normal, pressed, disabled, hot."""
    frames = []
    for state in (1, 2, 3, 4):
        edge = {1: darker(p.face, 0.4), 2: darker(p.accent, 0.15), 3: darker(p.face, 0.2), 4: p.accent}[state]
        disabled = state == 3
        f = Img(20, 21, p.face if disabled else (255, 255, 255))
        f.frame(0, 0, 20, 21, edge)
        f.fill(1, 1, 19, 2, p.face if disabled else lighter(edge, 0.6))
        frames.append(f)
    return hstrip(frames)


def tabs(p):
    """Five 40 x 22 tab frames: normal, selected, hot, disabled, focused."""
    frames = []
    for k in range(5):
        if k == 1:
            stops = [(0, (255, 255, 255)), (1, p.face)]
        elif k == 2:
            stops = [(0, lighter(p.accent, 0.8)), (1, lighter(p.accent, 0.6))]
        elif k == 3:
            stops = [(0, p.face), (1, p.face)]
        else:
            stops = [(0, lighter(p.face, 0.5)), (1, darker(p.face, 0.08))]
        f = Img(40, 22)
        f.vgrad(0, 0, 40, 22, stops)
        edge = darker(p.face, 0.4)
        f.fill(0, 0, 40, 1, edge)
        f.fill(0, 0, 1, 22, edge)
        f.fill(39, 0, 40, 22, edge)
        if k == 1:
            f.fill(1, 0, 39, 2, p.accent)
        if k == 4:
            f.frame(2, 2, 38, 20, lighter(p.accent, 0.3))
        f.round_corners(0, 0, 40, 22, 3, corners="tl tr", edge=edge)
        frames.append(f)
    return hstrip(frames)


def make_skin(p):
    files = {}

    def put(name, img):
        files[name] = img.bmp()

    # window frame
    top = vstrip([top_border(p, True), top_border(p, False)])
    left = hstrip([side_border(p, True, False), side_border(p, False, False)])
    right = hstrip([side_border(p, True, True), side_border(p, False, True)])
    bottom = vstrip([bottom_border(p, True), bottom_border(p, False)])
    cut_window_corners(p, left, right, top)
    put("top.bmp", top)
    put("left.bmp", left)
    put("right.bmp", right)
    put("bottom.bmp", bottom)

    title_back = Img(60, p.caption - 8)
    title_back.vgrad(0, 0, 60, title_back.h, [(0, lighter(p.cap[0][1], 0.1)), (1, p.cap[-1][1])])
    title_back.round_corners(0, 0, 60, title_back.h, 4)
    put("titleback.bmp", title_back)

    # The menu bar: two frames stacked, active over inactive.
    menubar = Img(40, 40)
    menubar.vgrad(0, 0, 40, 20, [(0, lighter(p.face, 0.5)), (1, p.face)])
    menubar.vgrad(0, 20, 40, 40, [(0, lighter(p.face, 0.3)), (1, darker(p.face, 0.05))])
    menubar.fill(0, 19, 40, 20, darker(p.face, 0.15))
    menubar.fill(0, 39, 40, 40, darker(p.face, 0.1))
    put("menubar.bmp", menubar)

    put("close.bmp", caption_button(p, G_CLOSE_B if p.radius >= 6 else G_CLOSE, danger=True))
    put("max.bmp", caption_button(p, G_MAX))
    put("min.bmp", caption_button(p, G_MIN))
    put("mdi.bmp", mdi_strip(p))

    # controls
    put("button.bmp", hstrip([face_button(p, 24, 22, s) for s in (1, 2, 3, 4, 5)]))
    put("check.bmp", check_strip(p, radio=False))
    put("radio.bmp", check_strip(p, radio=True))

    trough = panel(p, 20, 14, [(0, darker(p.face, 0.1)), (1, lighter(p.face, 0.5))], darker(p.face, 0.4), 3)
    fill = panel(p, 20, 14, [(0, lighter(p.accent, 0.45)), (0.5, p.accent), (1, darker(p.accent, 0.15))],
                 darker(p.accent, 0.3), 3)
    put("progress.bmp", hstrip([trough, fill]))
    chunk = Img(8, 10)
    chunk.vgrad(0, 0, 6, 10, [(0, lighter(p.accent, 0.4)), (1, darker(p.accent, 0.1))])
    put("chunk.bmp", chunk)

    put("groupedge.bmp", hstrip([panel(p, 16, 16, [(0, p.face), (1, p.face)], darker(p.face, 0.3), 3),
                                 panel(p, 16, 16, [(0, p.face), (1, p.face)], darker(p.face, 0.2), 3)]))
    put("grouplabel.bmp", panel(p, 40, 18, [(0, lighter(p.face, 0.6)), (1, p.face)], darker(p.face, 0.3), 5))
    put("tabs.bmp", tabs(p))
    put("tabborder.bmp", panel(p, 20, 20, [(0, lighter(p.face, 0.6)), (1, lighter(p.face, 0.6))],
                               darker(p.face, 0.4)))
    put("tabpane.bmp", panel(p, 20, 20, [(0, lighter(p.face, 0.6)), (1, p.face)], darker(p.face, 0.4)))
    # Status-bar panels: lowered, raised, without a bevel.
    status = []
    for k in range(3):
        f = Img(12, 20)
        f.vgrad(0, 0, 12, 20, [(0, lighter(p.face, 0.3)), (1, darker(p.face, 0.08))])
        if k == 0:
            f.fill(0, 0, 12, 1, darker(p.face, 0.3))
        if k == 1:
            f.fill(0, 0, 12, 1, (255, 255, 255))
            f.fill(11, 3, 12, 17, darker(p.face, 0.3))
        status.append(f)
    put("status.bmp", hstrip(status))
    put("toolbar.bmp", hstrip([face_button(p, 22, 22, s, radius=3) for s in (1, 2, 3, 4, 5)]))
    put("combobtn.bmp", combo_button(p))
    put("sunkedge.bmp", sunk_edge(p))
    put("extra.bmp", combo_glyphs(p))
    header = []
    for s in (1, 4, 2, 3, 5):
        f = Img(30, 20)
        f.vgrad(0, 0, 30, 20, [(0, lighter(p.face, 0.6)), (1, darker(p.face, 0.06))] if s != 4 else
                [(0, lighter(p.accent, 0.8)), (1, lighter(p.accent, 0.6))])
        f.fill(0, 19, 30, 20, darker(p.face, 0.3))
        f.fill(29, 3, 30, 17, darker(p.face, 0.25))
        if s == 2:
            f.fill(0, 0, 30, 20, darker(p.face, 0.12))
        header.append(f)
    put("header.bmp", hstrip(header))
    # Menu items: normal (the menu's background shows), separator, -, selected, -.
    items = []
    for s in range(5):
        f = Img(30, 20)
        if s == 1:
            # A separator is a thin etched line; the painter takes the bottom rows of
            # this frame for a short item, so the line sits low.
            f.fill(0, 0, 30, 20, MAGENTA)
            f.fill(2, 15, 28, 16, darker(p.face, 0.3))
            f.fill(2, 16, 28, 17, lighter(p.face, 0.8))
        elif s == 3:
            # Deep enough for the selected item's white text.
            edge = darker(p.accent, 0.25)
            f.vgrad(0, 0, 30, 20, [(0, lighter(p.accent, 0.25)), (1, darker(p.accent, 0.1))])
            f.frame(0, 0, 30, 20, edge)
            f.round_corners(0, 0, 30, 20, 3, edge=edge)
        else:
            f.fill(0, 0, 30, 20, MAGENTA)
        items.append(f)
    put("menuitem.bmp", hstrip(items))
    menubg = Img(40, 40)
    menubg.hgrad(0, 0, 40, 40, [(0, lighter(p.face, 0.7)), (1, lighter(p.face, 0.4))])
    menubg.fill(0, 0, 22, 40, mix(p.face, p.accent, 0.12))
    put("menubg.bmp", menubg)
    put("scrollbar.bmp", scrollbar_strip(p))
    put("hscroll.bmp", track_strip(p, True))
    put("vscroll.bmp", track_strip(p, False))
    put("hthumb.bmp", thumb_strip(p, True))
    put("vthumb.bmp", thumb_strip(p, False))
    put("thumbh.bmp", thumb_strip5(p, 11, 20, None))
    put("thumbv.bmp", thumb_strip5(p, 20, 11, None))
    put("thumbl.bmp", thumb_strip5(p, 20, 11, "l"))
    put("thumbr.bmp", thumb_strip5(p, 20, 11, "r"))
    put("thumbu.bmp", thumb_strip5(p, 11, 20, "u"))
    put("thumbd.bmp", thumb_strip5(p, 11, 20, "d"))
    put("updownh.bmp", updown_strip(p, 12, 16))
    put("updownv.bmp", updown_strip(p, 16, 11))
    put("updownhg.bmp", updown_glyphs(p, G_LEFT, G_RIGHT))
    put("updownvg.bmp", updown_glyphs(p, G_UP, G_DOWN))
    track = Img(16, 4)
    track.fill(0, 0, 16, 4, lighter(p.face, 0.6))
    track.frame(0, 0, 16, 4, darker(p.face, 0.4))
    put("track.bmp", track)
    trackv = Img(4, 16)
    trackv.fill(0, 0, 4, 16, lighter(p.face, 0.6))
    trackv.frame(0, 0, 4, 16, darker(p.face, 0.4))
    put("trackvert.bmp", trackv)

    files["skin.ini"] = description(p).encode("ascii")
    return files


def rgb(c):
    return "%d %d %d" % c


def description(p):
    cap_in_text = mix(p.text, p.cap_in[-1][1], 0.4)
    edge_mid = p.caption
    L = []
    w = L.append
    w("; Zorvel skin: %s" % p.name)
    w("[Personality]")
    w("Left=left.bmp")
    w("LeftTopHeight=%d" % edge_mid)
    w("LeftBotHeight=8")
    w("LeftFrame=2")
    w("LeftStretch=1")
    w("LeftTrans=1")
    w("Right=right.bmp")
    w("RightTopHeight=%d" % edge_mid)
    w("RightBotHeight=8")
    w("RightFrame=2")
    w("RightStretch=1")
    w("RightTrans=1")
    w("Top=top.bmp")
    w("TopTopHeight=30")
    w("TopBotHeight=30")
    w("TopFrame=2")
    w("TopStretch=1")
    w("TopTrans=1")
    w("Bottom=bottom.bmp")
    w("BottomTopHeight=0")
    w("BottomBotHeight=0")
    w("BottomFrame=2")
    w("BottomStretch=1")
    w("BottomTrans=0")
    w("TextBack=titleback.bmp")
    w("TextShift=28")
    w("TextShiftVert=%d" % ((p.caption - 14) // 2))
    w("TextRightClip=80")
    w("TextAlignment=0")
    w("Textbackground=0")
    w("TXTBackleft=4")
    w("TXTBackRight=4")
    for prefix, c in (("ActiveText", p.text), ("InActiveText", cap_in_text)):
        for ch, v in zip("RGB", c):
            w("%s%s=%d" % (prefix, ch, v))
    w("menuBar=menubar.bmp")
    w("TileMenu=1")
    w("TileLeftMenu=1")
    w("TileRightMenu=1")
    w("")
    w("[Colours]")
    text = (24, 28, 36)
    w("WindowText=" + rgb(text))
    w("ButtonFace=" + rgb(p.face))
    w("HilightText=255 255 255")
    w("Hilight=" + rgb(p.accent))
    w("Menubar=" + rgb(lighter(p.face, 0.3)))
    w("Menu=" + rgb(lighter(p.face, 0.6)))
    w("MenuText=" + rgb(text))
    w("ButtonText=" + rgb(text))
    w("ButtonHilight=255 255 255")
    w("Buttonlight=" + rgb(lighter(p.face, 0.5)))
    w("ButtonShadow=" + rgb(darker(p.face, 0.35)))
    w("ButtonDkShadow=" + rgb(darker(p.face, 0.6)))
    w("MenuBarText=" + rgb(text))
    w("TitleTextActive=" + rgb(p.text))
    w("TitleTextNoActive=" + rgb(cap_in_text))
    w("")
    w("[Fonts]")
    w("FontHeight=%d" % (14 if p.caption >= 28 else 13))
    w("")
    top_y = (p.caption - 18) // 2
    for name, action, xcoord in (("Close", 0, 24), ("Max", 1, 44), ("Min", 2, 64)):
        w("[Button.%s]" % name)
        w("Action=%d" % action)
        w("Align=1")
        w("Xcoord=%d" % (xcoord + p.border - 4))
        w("Ycoord=%d" % top_y)
        w("Visibility=%d" % {0: 0, 1: 6, 2: 8}[action])
        w("Visibility1=0")
        w("frame=4")
        w("ButtonImage=%s.bmp" % name.lower())
        w("")
    w("[Button.SysMenu]")
    w("Action=3")
    w("Align=0")
    w("Xcoord=%d" % (p.border + 4))
    w("Ycoord=%d" % ((p.caption - 16) // 2))
    w("Visibility=0")
    w("")
    w("[MDICONTROLS]")
    w("Image=mdi.bmp")
    w("")
    w("[Buttons]")
    w("Bitmap=button.bmp")
    w("LeftWidth=5")
    w("RightWidth=5")
    w("TopHeight=5")
    w("BottomHeight=5")
    w("Trans=1")
    w("Tile=0")
    w("CheckButton=check.bmp")
    w("CheckButtonFrame=4")
    w("RadioButton=radio.bmp")
    w("RadioButtonFrame=4")
    w("NormalColour2=" + rgb(text))
    w("MouseOverColour2=" + rgb(darker(p.accent, 0.5)))
    w("PressedColour2=" + rgb(text))
    w("")

    def element(section, image, margins=(0, 0, 0, 0), trans=0, tile=0, frame=None, extra=()):
        w("[%s]" % section)
        w("Image=%s" % image)
        w("LeftWidth=%d" % margins[0])
        w("TopHeight=%d" % margins[1])
        w("RightWidth=%d" % margins[2])
        w("BottomHeight=%d" % margins[3])
        w("Trans=%d" % trans)
        w("Tile=%d" % tile)
        if frame is not None:
            w("Frame=%d" % frame)
        for line in extra:
            w(line)
        w("")

    w("[Progress]")
    w("Bitmap=progress.bmp")
    w("Style=0")
    w("LeftWidth=4")
    w("TopHeight=4")
    w("RightWidth=4")
    w("BottomHeight=4")
    w("Trans=1")
    w("Tile=0")
    w("")
    element("Progress.Chunk", "chunk.bmp", (0, 0, 0, 0), 1, 1, 1)
    element("GroupBoxEdge", "groupedge.bmp", (5, 5, 5, 5), 1, 0, 2)
    element("GroupBox", "grouplabel.bmp", (6, 6, 6, 6), 1, 0, None,
            ("BackgroundAlignment=0", "BackgroundLeftShift=6", "BackgroundRightShift=6"))
    element("Tabs", "tabs.bmp", (5, 5, 5, 3), 1, 0, None, ("Border=tabborder.bmp",))
    element("StatusBarEdges", "status.bmp", (3, 3, 3, 3), 0, 0, 3)
    element("Tab.Pane", "tabpane.bmp", (3, 3, 3, 3), 0, 0, 1)
    element("ToolBars", "toolbar.bmp", (4, 4, 4, 4), 1, 0, 5)
    element("ComboButton", "combobtn.bmp", (3, 3, 3, 3), 1, 0)
    element("SunkEdge", "sunkedge.bmp", (3, 3, 3, 3), 0, 0, 4)
    element("ExtraImages", "extra.bmp", (0, 0, 0, 0), 1, 0, 5)
    element("Headerbar", "header.bmp", (3, 3, 3, 3), 0, 0, 5)
    element("MenuItem", "menuitem.bmp", (4, 4, 4, 4), 1, 0, 5,
            ("NormalColour=$%06X" % bgr(text), "MouseOverColour=$%06X" % bgr(darker(p.accent, 0.6))))
    element("MenuBackground", "menubg.bmp", (24, 0, 0, 0), 0, 0, 1)
    element("Scrollbar", "scrollbar.bmp", (0, 0, 0, 0), 1, 0, 23)
    element("HorzScroll", "hscroll.bmp", (2, 2, 2, 2), 0, 0, 4)
    element("VertScroll", "vscroll.bmp", (2, 2, 2, 2), 0, 0, 4)
    element("HorzScrollThumb", "hthumb.bmp", (4, 4, 4, 4), 1, 0, None, ("FrameCount=3",))
    element("VertScrollThumb", "vthumb.bmp", (4, 4, 4, 4), 1, 0, None, ("FrameCount=3",))
    element("Trackbar.ThumbHorz", "thumbh.bmp", (0, 0, 0, 0), 1, 0, 5)
    element("Trackbar.ThumbVert", "thumbv.bmp", (0, 0, 0, 0), 1, 0, 5)
    element("Trackbar.ThumbLeft", "thumbl.bmp", (0, 0, 0, 0), 1, 0, 5)
    element("Trackbar.ThumbRight", "thumbr.bmp", (0, 0, 0, 0), 1, 0, 5)
    element("Trackbar.ThumbUp", "thumbu.bmp", (0, 0, 0, 0), 1, 0, 5)
    element("Trackbar.ThumbDown", "thumbd.bmp", (0, 0, 0, 0), 1, 0, 5)
    element("UpDown.Horz", "updownh.bmp", (3, 3, 3, 3), 1, 0, None, ("GlyphImage=updownhg.bmp",))
    element("UpDown.Vert", "updownv.bmp", (3, 3, 3, 3), 1, 0, None, ("GlyphImage=updownvg.bmp",))
    element("Track", "track.bmp", (3, 1, 3, 1), 0, 0, 1)
    element("TRACKVERT", "trackvert.bmp", (1, 3, 1, 3), 0, 0, 1)
    return "\r\n".join(L) + "\r\n"


def bgr(c):
    return c[0] | (c[1] << 8) | (c[2] << 16)


# The order in which the files go into each archive: the description first.
def ordered(files):
    names = ["skin.ini"] + sorted(n for n in files if n != "skin.ini")
    return names


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    for index, p in enumerate(SKINS):
        folder = os.path.join(out, "SkinItem%d" % index)
        os.makedirs(folder, exist_ok=True)
        files = make_skin(p)
        for old in os.listdir(folder):
            if old not in files:
                os.remove(os.path.join(folder, old))
        for name in ordered(files):
            with open(os.path.join(folder, name), "wb") as f:
                f.write(files[name])
        with open(os.path.join(folder, "files.txt"), "w") as f:
            f.write("\n".join(ordered(files)) + "\n")


if __name__ == "__main__":
    main()
