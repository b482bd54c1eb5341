#!/usr/bin/env python3
"""Draws the program's named bitmaps into bitmaps/<name>.bmp (24-bit, bottom-up) and bitmaps.rc.

Shapes are tests on continuous coordinates (pixel i spans [i, i+1)), sampled at sample centres.
Bitmaps drawn over a background keep hard edges on magenta, the colour the image lists treat as
transparent; those with an opaque background are sampled 4x4 and averaged against it.
Run it again after changing a drawing: python3 make_bitmaps.py
"""
import math, os, struct, sys

MAGENTA = (255, 0, 255)
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
GLYPH = (235, 235, 235)        # header glyphs, on 0x1F1F1F
GRIP = (170, 170, 170)
SORT = (96, 96, 96)
INK = (40, 40, 40)
GREEN = (46, 160, 67)
AMBER = (245, 180, 0)
RED = (214, 48, 49)
BLUE = (33, 110, 200)
ORANGE = (235, 105, 25)
STEEL = (112, 128, 144)
GLASS = (205, 228, 250)
PAPER = (250, 250, 250)
LINE = (150, 150, 150)
STRAW = (232, 190, 80)
WOOD = (150, 95, 45)
CARTON = (205, 155, 95)
PANEL = (240, 240, 240)


def darker(colour, f=0.6):
    return tuple(int(c * f) for c in colour)


# ---- shapes: callables (x, y) -> bool ----

def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1

def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r

def seg_dist(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))

def stroke(points, width):
    """A polyline of the given width with round joints."""
    pairs = list(zip(points, points[1:]))
    return lambda x, y: any(seg_dist(x, y, *a, *b) <= width / 2 for a, b in pairs)

def poly(points):
    def inside(x, y):
        hit = False
        for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                hit = not hit
        return hit
    return inside

def arc(cx, cy, r, width, start, end):
    """A ring band from angle start to end (degrees, counter-clockwise as seen, 0 = right)."""
    def inside(x, y):
        if abs(math.hypot(x - cx, y - cy) - r) > width / 2:
            return False
        a = math.degrees(math.atan2(cy - y, x - cx)) % 360
        return (a - start) % 360 <= (end - start) % 360
    return inside

def arrow_arc(cx, cy, r, width, start, end, head):
    """An arc whose end carries an arrow head pointing on counter-clockwise."""
    t = math.radians(end)
    ex, ey = cx + r * math.cos(t), cy - r * math.sin(t)
    rx, ry = math.cos(t), -math.sin(t)            # outwards
    tx, ty = -math.sin(t), -math.cos(t)           # counter-clockwise tangent
    tip = (ex + tx * head, ey + ty * head)
    half = width / 2 + head * 0.75
    base = [(ex + rx * half, ey + ry * half), (ex - rx * half, ey - ry * half)]
    return union(arc(cx, cy, r, width, start, end), poly([base[0], tip, base[1]]))

def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)

def minus(shape, cut):
    return lambda x, y: shape(x, y) and not cut(x, y)

def check(points, width):
    return stroke(points, width)

def cross(x0, y0, x1, y1, width):
    return union(stroke([(x0, y0), (x1, y1)], width), stroke([(x0, y1), (x1, y0)], width))

def shield(x0, y0, x1, y1):
    w, h = x1 - x0, y1 - y0
    mx = (x0 + x1) / 2
    return poly([(x0, y0 + h * 0.12), (mx, y0), (x1, y0 + h * 0.12), (x1, y0 + h * 0.5),
                 (x1 - w * 0.12, y0 + h * 0.74), (mx, y1), (x0 + w * 0.12, y0 + h * 0.74), (x0, y0 + h * 0.5)])


# ---- canvas ----

class Canvas:
    def __init__(self, w, h, background, ss=1):
        self.w, self.h, self.ss, self.background = w, h, ss, background
        self.n = w * ss
        self.samples = [background] * (w * ss * h * ss)

    def fill(self, shape, colour, border=None, bw=1.0):
        """Fills the shape; with a border colour its outer band of width bw gets that colour."""
        ss, n = self.ss, self.n
        mask = [shape((i % n + 0.5) / ss, (i // n + 0.5) / ss) for i in range(len(self.samples))]
        reach = int(round(bw * ss))
        kernel = [(dx, dy) for dx in range(-reach, reach + 1) for dy in range(-reach, reach + 1)
                  if 0 < dx * dx + dy * dy <= reach * reach]
        rows = len(mask) // n
        for i, hit in enumerate(mask):
            if not hit:
                continue
            colour_here = colour
            if border is not None:
                x, y = i % n, i // n
                for dx, dy in kernel:
                    u, v = x + dx, y + dy
                    if not (0 <= u < n and 0 <= v < rows) or not mask[v * n + u]:
                        colour_here = border
                        break
            self.samples[i] = colour_here
        return self

    def pixels(self):
        """Rows of (r, g, b), top row first; samples averaged per pixel."""
        ss, n = self.ss, self.n
        rows = []
        for y in range(self.h):
            row = []
            for x in range(self.w):
                acc = [0, 0, 0]
                for sy in range(ss):
                    for sx in range(ss):
                        c = self.samples[(y * ss + sy) * n + x * ss + sx]
                        acc = [a + b for a, b in zip(acc, c)]
                row.append(tuple(int(round(a / (ss * ss))) for a in acc))
            rows.append(row)
        return rows


def glyph(w, h):
    return Canvas(w, h, MAGENTA)

def picture(w, h, background=WHITE):
    return Canvas(w, h, background, ss=4)


# ---- window title bar and status bar (white on black) ----

def if_minimize():
    return glyph(16, 16).fill(rect(4, 11, 12, 13), WHITE)

def if_maximize():
    return glyph(16, 16).fill(minus(rect(3, 3, 13, 13), rect(4, 5, 12, 12)), WHITE)

def if_close():
    return glyph(16, 16).fill(cross(4, 4, 12, 12, 1.6), WHITE)

def if_sizegrip():
    c = glyph(11, 11)
    for i in range(3):
        for j in range(3):
            if i + j >= 2:
                c.fill(rect(3 * i + 2, 3 * j + 2, 3 * i + 4, 3 * j + 4), GRIP)
    return c


# ---- pane header buttons (light on dark grey) ----

def btn_refresh():
    return glyph(16, 16).fill(arrow_arc(8, 8, 5, 2.0, 100, 30, 3.2), GLYPH)

def btn_add():
    return glyph(16, 16).fill(union(rect(7, 3, 9, 13), rect(3, 7, 13, 9)), GLYPH)

def btn_remove():
    return glyph(16, 16).fill(rect(3, 7, 13, 9), GLYPH)

def btn_clear():
    lines = union(rect(2, 3, 12, 5), rect(2, 7, 9, 9), rect(2, 11, 7, 13))
    return glyph(16, 16).fill(lines, GLYPH).fill(cross(9.5, 9.5, 14, 14, 1.6), GLYPH)

def btn_validate():
    return glyph(16, 16).fill(check([(3, 8.5), (6.5, 12), (13, 4.5)], 2.0), GLYPH)

def btn_edit():
    # A pencil along the diagonal: body, then a gap, the point, and the eraser cut off by another gap.
    d, n = (0.7071, -0.7071), (0.7071, 0.7071)
    def band(ax, ay, t0, t1, h):
        at = lambda t, s: (ax + d[0] * t + n[0] * s, ay + d[1] * t + n[1] * s)
        return [at(t0, -h), at(t1, -h), at(t1, h), at(t0, h)]
    body = poly(band(2.5, 13.5, 4.2, 11.0, 1.8))
    eraser = poly(band(2.5, 13.5, 12.2, 14.2, 1.8))
    point = poly(band(2.5, 13.5, 3.0, 3.0, 1.8)[1:3] + [(2.0, 14.0)])
    return glyph(16, 16).fill(union(body, eraser, point), GLYPH)


# ---- list-view header sort arrows ----

def sort_up():
    return glyph(9, 5).fill(poly([(4.5, 0), (9.5, 5), (-0.5, 5)]), SORT)

def sort_down():
    return glyph(9, 5).fill(poly([(-0.5, 0), (9.5, 0), (4.5, 5)]), SORT)


# ---- safety classes: one shield, three colours, three marks ----

def safety(colour, mark, mark_colour=WHITE):
    return glyph(16, 16).fill(shield(1, 0, 15, 16), colour, darker(colour)).fill(mark, mark_colour)

def fsafe16():
    return safety(GREEN, check([(4.5, 7.5), (7, 10), (11.5, 5)], 1.8))

def fpunsafe16():
    return safety(AMBER, union(rect(7, 3, 9, 9), rect(7, 10.5, 9, 12.5)), INK)

def funsafe16():
    return safety(RED, cross(5, 4.5, 11, 10.5, 1.8))


# ---- message-box pictures (32x32 on white) ----

def round_badge(colour, mark, mark_colour=WHITE):
    return picture(32, 32).fill(disc(16, 16, 14.5), colour, darker(colour, 0.75), 1.2).fill(mark, mark_colour)

def exclamation(cx, top, bottom, width):
    bar = poly([(cx - width / 2, top), (cx + width / 2, top), (cx + width * 0.3, bottom), (cx - width * 0.3, bottom)])
    return union(bar, disc(cx, bottom + width * 0.95, width * 0.6))

def ERROR():
    return round_badge(RED, cross(10.5, 10.5, 21.5, 21.5, 3.4))

def WARNING():
    c = picture(32, 32)
    rounded = lambda x, y: poly([(16, 4), (29, 27.5), (3, 27.5)])(x, y) or \
        stroke([(16, 4), (29, 27.5), (3, 27.5), (16, 4)], 3.0)(x, y)
    return c.fill(rounded, (250, 200, 20), (190, 140, 0), 1.2).fill(exclamation(16, 10, 20.5, 3.2), INK)

def INFORMATION():
    i = union(disc(16, 9, 2.2), rect(14.4, 13, 17.6, 23.5), rect(12.5, 13, 17.6, 14.8), rect(12.5, 22, 19.5, 24))
    return round_badge(BLUE, i)

def CONFIRM():
    hook = union(arc(16, 12.5, 4.8, 3.0, 300, 180), stroke([(18.4, 16.6), (16, 18.6), (16, 20)], 3.0))
    return round_badge(BLUE, union(hook, disc(16, 24.5, 2.0)))

def IMPORTANT():
    c = picture(32, 32)
    def diamond(x, y):
        # A square with rounded corners, turned on its point.
        u, v = abs(x - 16 + y - 16) / math.sqrt(2), abs(x - 16 - (y - 16)) / math.sqrt(2)
        half, r = 11.2, 2.6
        qu, qv = u - half + r, v - half + r
        return math.hypot(max(qu, 0), max(qv, 0)) + min(max(qu, qv), 0) <= r
    return c.fill(diamond, ORANGE, darker(ORANGE, 0.75), 1.2).fill(exclamation(16, 7.5, 18.5, 3.4), WHITE)

def SAFE():
    c = picture(32, 32).fill(shield(3.5, 1.5, 28.5, 30.5), GREEN, darker(GREEN, 0.75), 1.2)
    return c.fill(check([(9.5, 16), (14, 20.5), (22.5, 10.5)], 3.4), WHITE)


# ---- main toolbar (22x22, coloured with darker outlines, over a light toolbar) ----

def general22():
    def gear(x, y):
        r = math.hypot(x - 11, y - 11)
        a = math.atan2(y - 11, x - 11)
        spoke = round(a / (math.pi / 4)) * (math.pi / 4)
        tooth = r * abs(math.sin(a - spoke)) <= 1.8 and r <= 9.8
        return (r <= 7.0 or tooth) and r > 3.0
    return glyph(22, 22).fill(gear, STEEL, darker(STEEL))

def scanner22():
    c = glyph(22, 22)
    c.fill(stroke([(13.5, 13.5), (19, 19)], 4.0), WOOD, darker(WOOD))
    return c.fill(disc(9, 9, 7.5), GLASS, INK, 1.5).fill(arc(9, 9, 4, 1.2, 100, 170), WHITE)

def validator22():
    c = glyph(22, 22).fill(rect(3, 1, 17, 20), PAPER, LINE)
    for y in (5, 9, 13):
        c.fill(rect(6, y, 14, y + 1), LINE)
    return c.fill(check([(9, 15), (12.5, 18.5), (19.5, 10.5)], 3.6), GREEN, darker(GREEN), 0.8)

def cleaner22():
    c = glyph(22, 22)
    c.fill(stroke([(19.5, 1.5), (12, 10)], 2.4), WOOD, darker(WOOD))
    bristles = poly([(9.5, 8.5), (14.5, 13.5), (9, 20.5), (1.5, 20.5), (1.5, 16.5)])
    c.fill(bristles, STRAW, darker(STRAW))
    for a, b in (((11, 12), (6, 19)), ((9, 11), (3.5, 18))):
        c.fill(stroke([a, b], 0.9), darker(STRAW, 0.75))
    return c.fill(stroke([(9.5, 9.5), (13, 13)], 2.4), RED, darker(RED))

def minus_badge(c, cx, cy, r):
    c.fill(disc(cx, cy, r + 1), MAGENTA)
    return c.fill(disc(cx, cy, r), RED, darker(RED)).fill(rect(cx - r + 2, cy - 1, cx + r - 2, cy + 1), WHITE)

def uninstall22():
    c = glyph(22, 22)
    c.fill(rect(2, 6, 17, 19), CARTON, darker(CARTON))
    c.fill(poly([(2, 6.5), (5, 2.5), (20, 2.5), (17, 6.5)]), (225, 185, 130), darker(CARTON))
    c.fill(rect(8, 7, 11, 12), (240, 220, 180))
    return minus_badge(c, 16, 16, 5.5)

def save22():
    c = glyph(22, 22)
    c.fill(poly([(2, 2), (17, 2), (20, 5), (20, 20), (2, 20)]), BLUE, darker(BLUE))
    c.fill(rect(6, 3, 16, 9), (200, 205, 215), darker(BLUE))
    c.fill(rect(12, 4, 14, 8), darker(BLUE))
    return c.fill(rect(5, 12, 17, 20), PAPER, darker(BLUE)).fill(rect(7, 15, 15, 16), LINE)

def refresh22():
    return glyph(22, 22).fill(arrow_arc(11, 11, 6.8, 3.0, 100, 35, 4.6), GREEN, darker(GREEN))


# ---- list editor toolbar: the simpler set, flat shapes without outlines ----

S2_ADD = (40, 150, 60)
S2_REMOVE = (200, 50, 50)
S2_MOVE = (40, 100, 190)
S2_LIST = (120, 120, 120)

def plus(cx, cy, span, thick):
    return union(rect(cx - thick / 2, cy - span / 2, cx + thick / 2, cy + span / 2),
                 rect(cx - span / 2, cy - thick / 2, cx + span / 2, cy + thick / 2))

def uninstall22s2():
    c = glyph(22, 22).fill(rect(2, 3, 17, 16), WHITE, S2_LIST, 1.5).fill(rect(2, 3, 17, 6), S2_LIST)
    c.fill(rect(9, 12, 22, 20), MAGENTA)
    return c.fill(rect(10, 14, 21, 18), S2_REMOVE)


def add22s2():
    return glyph(22, 22).fill(plus(11, 11, 16, 4), S2_ADD)

def addmultiple22s2():
    c = glyph(22, 22).fill(plus(8, 8, 12, 3), (120, 195, 130))
    c.fill(plus(14, 14, 15, 5), MAGENTA)
    return c.fill(plus(14, 14, 13, 3.5), S2_ADD)

def remove22s2():
    return glyph(22, 22).fill(rect(3, 9, 19, 13), S2_REMOVE)

def clear22s2():
    c = glyph(22, 22).fill(union(rect(2, 3, 18, 6), rect(2, 9, 13, 12), rect(2, 15, 9, 18)), S2_LIST)
    return c.fill(cross(13, 13, 20, 20, 3.6), MAGENTA).fill(cross(13, 13, 20, 20, 2.6), S2_REMOVE)

def move_up22s2():
    return glyph(22, 22).fill(union(poly([(11, 2), (20, 11), (2, 11)]), rect(8, 10, 14, 20)), S2_MOVE)

def move_down22s2():
    return glyph(22, 22).fill(union(poly([(2, 11), (20, 11), (11, 20)]), rect(8, 2, 14, 12)), S2_MOVE)


# ---- others ----

def uninstall16():
    c = glyph(16, 16).fill(rect(1, 2, 15, 14), WHITE, (90, 90, 90))
    return c.fill(rect(2, 3, 14, 6), BLUE).fill(rect(11, 4, 13, 5), WHITE).fill(rect(3, 8, 10, 9), LINE).fill(rect(3, 10, 8, 11), LINE)

def hourglass():
    c = picture(24, 24, PANEL)
    glass = union(poly([(6, 4), (18, 4), (12.8, 12), (18, 20), (6, 20), (11.2, 12)]))
    c.fill(glass, GLASS, (110, 140, 170), 0.8)
    c.fill(poly([(8.8, 8.3), (15.2, 8.3), (12, 11.6)]), STRAW)
    c.fill(poly([(12, 15), (16.6, 19.3), (7.4, 19.3)]), STRAW).fill(rect(11.6, 11, 12.4, 16), STRAW)
    return c.fill(rect(4, 2, 20, 4.5), WOOD, darker(WOOD)).fill(rect(4, 19.5, 20, 22), WOOD, darker(WOOD))


BITMAPS = [
    if_minimize, if_maximize, if_close, if_sizegrip,
    btn_refresh, btn_add, btn_remove, btn_clear, btn_validate, btn_edit,
    sort_up, sort_down,
    fsafe16, fpunsafe16, funsafe16,
    ERROR, WARNING, INFORMATION, CONFIRM, IMPORTANT, SAFE,
    general22, scanner22, validator22, cleaner22, uninstall22, save22, refresh22,
    uninstall22s2, add22s2, addmultiple22s2, remove22s2, clear22s2, move_up22s2, move_down22s2,
    uninstall16, hourglass,
]


def bmp(rows):
    h, w = len(rows), len(rows[0])
    stride = (w * 3 + 3) & ~3
    data = b''.join(bytes(v for (r, g, b) in row for v in (b, g, r)).ljust(stride, b'\0') for row in reversed(rows))
    header = struct.pack('<2sIHHI', b'BM', 14 + 40 + len(data), 0, 0, 14 + 40)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return header + info + data


def main(folder):
    os.makedirs(os.path.join(folder, 'bitmaps'), exist_ok=True)
    lines = ['// Written by make_bitmaps.py: every named bitmap, for the program and the test programs.\n']
    for draw in BITMAPS:
        canvas = draw()
        rows = canvas.pixels()
        if canvas.background != MAGENTA:
            assert all(p != MAGENTA for row in rows for p in row), draw.__name__ + ' holds the transparent colour'
        with open(os.path.join(folder, 'bitmaps', draw.__name__ + '.bmp'), 'wb') as f:
            f.write(bmp(rows))
        lines.append('%s BITMAP "bitmaps/%s.bmp"\n' % (draw.__name__, draw.__name__))
    with open(os.path.join(folder, 'bitmaps.rc'), 'w', newline='\n') as f:
        f.writelines(lines)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__)))
