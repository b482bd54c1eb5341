#!/usr/bin/env python3
"""Draws the program's named bitmaps into bitmaps/<name>.bmp (24-bit, bottom-up) and bitmaps.rc,
each also at 150 % and 200 % as <name>_150 and <name>_200 for windows at those scalings.

Shapes are tests on continuous coordinates (pixel i spans [i, i+1) at 100 %), sampled at sample
centres of the larger pixel grid for the larger sizes, so those are drawn, not enlarged. Where a thin
line must stay even (box outlines, bars), the drawing places it on whole pixels with Canvas.px,
on_grid and device_rect. Bitmaps drawn over a background keep hard edges on magenta, the colour the windows
treat as transparent; those with an opaque background are sampled 4x4 and averaged against it, and
a matte one is averaged against the ground it will lie on where drawn, magenta elsewhere.
Run it again after changing a drawing: python3 make_bitmaps.py
"""
import math, os, struct, sys

MAGENTA = (255, 0, 255)
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
GLYPH = (235, 235, 235)        # header glyphs, on 0x1F1F1F
GRIP = (200, 200, 200)
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

SCALES = ((1, ''), (1.5, '_150'), (2, '_200'))


def scaled(length, s):
    """Pixels at scale s, rounded as the windows round (MulDiv), so a variant is the size drawn."""
    return int(length * s + 0.5)


class Canvas:
    def __init__(self, w, h, background, ss=1, s=1, matte=None):
        self.s, self.ss, self.background, self.matte = s, ss, background, matte
        self.w, self.h = scaled(w, s), scaled(h, s)
        # A size that is not whole at this scale keeps the drawing centred in the rounded one.
        self.ox, self.oy = (self.w - w * s) / 2, (self.h - h * s) / 2
        self.n = self.w * ss
        self.samples = [background] * (self.w * ss * self.h * ss)

    def px(self, length):
        """Whole pixels for a length, at least one."""
        return max(1, scaled(length, self.s))

    def device_rect(self, x0, y0, x1, y1):
        """A rectangle given in this canvas's own pixels."""
        s, ox, oy = self.s, self.ox, self.oy
        return rect((x0 - ox) / s, (y0 - oy) / s, (x1 - ox) / s, (y1 - oy) / s)

    def in_pixels(self, shape):
        """A shape given in this canvas's own pixels."""
        return lambda x, y: shape(x * self.s + self.ox, y * self.s + self.oy)

    def on_grid(self, x0, y0, x1, y1):
        """The rectangle moved onto whole pixels: from the pixel its start falls in, its length in
        whole pixels, so bars of one width stay one width."""
        s = self.s
        ax, ay = math.floor(x0 * s + self.ox + 1e-9), math.floor(y0 * s + self.oy + 1e-9)
        return self.device_rect(ax, ay, ax + self.px(x1 - x0), ay + self.px(y1 - y0))

    def fill(self, shape, colour, border=None, bw=1.0, mirror=False):
        """Fills the shape; with a border colour its outer band of width bw gets that colour.
        mirror copies the top-left quarter to the others, for shapes that must come out symmetric."""
        ss, n, s = self.ss, self.n, self.s
        rows = len(self.samples) // n
        mask = [shape(((i % n + 0.5) / ss - self.ox) / s, ((i // n + 0.5) / ss - self.oy) / s)
                for i in range(len(self.samples))]
        if mirror:
            mask = [mask[min(i // n, rows - 1 - i // n) * n + min(i % n, n - 1 - i % n)] for i in range(len(mask))]
        reach = int(bw * s * ss + 0.5)
        kernel = [(dx, dy) for dx in range(-reach, reach + 1) for dy in range(-reach, reach + 1)
                  if 0 < dx * dx + dy * dy <= reach * reach]
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
        """Rows of (r, g, b), top row first; samples averaged per pixel (the ground counting as the
        matte, and a pixel of ground alone staying ground)."""
        ss, n = self.ss, self.n
        rows = []
        for y in range(self.h):
            row = []
            for x in range(self.w):
                block = [self.samples[(y * ss + sy) * n + x * ss + sx] for sy in range(ss) for sx in range(ss)]
                if self.matte is not None:
                    if all(c == self.background for c in block):
                        row.append(self.background)
                        continue
                    block = [self.matte if c == self.background else c for c in block]
                row.append(tuple(int(round(sum(c[k] for c in block) / (ss * ss))) for k in range(3)))
            rows.append(row)
        return rows


def glyph(w, h, s):
    return Canvas(w, h, MAGENTA, s=s)

def picture(w, h, s, background=WHITE):
    return Canvas(w, h, background, ss=4, s=s)

def matte_picture(w, h, s, matte):
    """Smooth edges against the ground it will be drawn on, and see-through around."""
    return Canvas(w, h, MAGENTA, ss=4, s=s, matte=matte)


# ---- window title bar and status bar (white on black) ----

def if_minimize(s):
    c = glyph(16, 16, s)
    return c.fill(c.on_grid(4, 11, 12, 13), WHITE)

def if_maximize(s):
    # Counted in whole pixels from the edges, so left and right sides are equally wide at every size.
    c = glyph(16, 16, s)
    edge, side, top, n = c.px(3), c.px(1), c.px(2), c.w
    box = minus(c.device_rect(edge, edge, n - edge, n - edge),
                c.device_rect(edge + side, edge + top, n - edge - side, n - edge - side))
    return c.fill(box, WHITE)

def if_close(s):
    return glyph(16, 16, s).fill(cross(4, 4, 12, 12, 1.6), WHITE, mirror=True)

def if_sizegrip(s):
    # Dots of whole pixels at a whole-pixel pitch, counted from the corner the grip sits in.
    c = glyph(11, 11, s)
    dot, pitch, far = c.px(2), c.px(3), c.w - c.px(1)
    for i in range(3):
        for j in range(3):
            if i + j >= 2:
                x, y = far - (2 - i) * pitch - dot, far - (2 - j) * pitch - dot
                c.fill(c.device_rect(x, y, x + dot, y + dot), GRIP)
    return c


# ---- pane header buttons (light on dark grey) ----

def btn_refresh(s):
    return glyph(16, 16, s).fill(arrow_arc(8, 8, 5, 2.0, 100, 30, 3.2), GLYPH)

def btn_add(s):
    c = glyph(16, 16, s)
    return c.fill(union(c.on_grid(7, 3, 9, 13), c.on_grid(3, 7, 13, 9)), GLYPH)

def btn_remove(s):
    c = glyph(16, 16, s)
    return c.fill(c.on_grid(3, 7, 13, 9), GLYPH)

def btn_clear(s):
    c = glyph(16, 16, s)
    lines = union(c.on_grid(2, 3, 12, 5), c.on_grid(2, 7, 9, 9), c.on_grid(2, 11, 7, 13))
    return c.fill(lines, GLYPH).fill(cross(9.5, 9.5, 14, 14, 1.6), GLYPH)

def btn_validate(s):
    return glyph(16, 16, s).fill(check([(3, 8.5), (6.5, 12), (13, 4.5)], 2.0), GLYPH)

def btn_edit(s):
    # A pencil along the diagonal: body, then a gap, the point, and the eraser cut off by another gap.
    d, n = (0.7071, -0.7071), (0.7071, 0.7071)
    def band(ax, ay, t0, t1, h):
        at = lambda t, u: (ax + d[0] * t + n[0] * u, ay + d[1] * t + n[1] * u)
        return [at(t0, -h), at(t1, -h), at(t1, h), at(t0, h)]
    body = poly(band(2.5, 13.5, 4.2, 11.0, 1.8))
    eraser = poly(band(2.5, 13.5, 12.2, 14.2, 1.8))
    point = poly(band(2.5, 13.5, 3.0, 3.0, 1.8)[1:3] + [(2.0, 14.0)])
    return glyph(16, 16, s).fill(union(body, eraser, point), GLYPH)


# ---- list-view header sort arrows ----

def sort_arrow(s, up):
    # Counted in pixels: one or two at the point, one more each side a row, so the sides are even steps.
    c = glyph(9, 5, s)
    point = 0.5 if c.w % 2 else 1.0
    def inside(x, y):
        row = math.floor(y) if up else c.h - 1 - math.floor(y)
        return abs(x - c.w / 2) <= point + row
    return c.fill(c.in_pixels(inside), SORT)

def sort_up(s):
    return sort_arrow(s, True)

def sort_down(s):
    return sort_arrow(s, False)


# ---- safety classes: one shield, three colours, three marks ----

def safety(s, colour, mark, mark_colour=WHITE):
    return glyph(16, 16, s).fill(shield(1, 0, 15, 16), colour, darker(colour)).fill(mark, mark_colour)

def fsafe16(s):
    return safety(s, GREEN, check([(4.5, 7.5), (7, 10), (11.5, 5)], 1.8))

def fpunsafe16(s):
    return safety(s, AMBER, union(rect(7, 3, 9, 9), rect(7, 10.5, 9, 12.5)), INK)

def funsafe16(s):
    return safety(s, RED, cross(5, 4.5, 11, 10.5, 1.8))


# ---- message-box pictures (32x32 on white) ----

def round_badge(s, colour, mark, mark_colour=WHITE):
    return picture(32, 32, s).fill(disc(16, 16, 14.5), colour, darker(colour, 0.75), 1.2).fill(mark, mark_colour)

def exclamation(cx, top, bottom, width):
    bar = poly([(cx - width / 2, top), (cx + width / 2, top), (cx + width * 0.3, bottom), (cx - width * 0.3, bottom)])
    return union(bar, disc(cx, bottom + width * 0.95, width * 0.6))

def ERROR(s):
    return round_badge(s, RED, cross(10.5, 10.5, 21.5, 21.5, 3.4))

def WARNING(s):
    c = picture(32, 32, s)
    rounded = lambda x, y: poly([(16, 4), (29, 27.5), (3, 27.5)])(x, y) or \
        stroke([(16, 4), (29, 27.5), (3, 27.5), (16, 4)], 3.0)(x, y)
    return c.fill(rounded, (250, 200, 20), (190, 140, 0), 1.2).fill(exclamation(16, 10, 20.5, 3.2), INK)

def INFORMATION(s):
    i = union(disc(16, 9, 2.2), rect(14.4, 13, 17.6, 23.5), rect(12.5, 13, 17.6, 14.8), rect(12.5, 22, 19.5, 24))
    return round_badge(s, BLUE, i)

def CONFIRM(s):
    hook = union(arc(16, 12.5, 4.8, 3.0, 300, 180), stroke([(18.4, 16.6), (16, 18.6), (16, 20)], 3.0))
    return round_badge(s, BLUE, union(hook, disc(16, 24.5, 2.0)))

def IMPORTANT(s):
    c = picture(32, 32, s)
    def diamond(x, y):
        # A square with rounded corners, turned on its point.
        u, v = abs(x - 16 + y - 16) / math.sqrt(2), abs(x - 16 - (y - 16)) / math.sqrt(2)
        half, r = 11.2, 2.6
        qu, qv = u - half + r, v - half + r
        return math.hypot(max(qu, 0), max(qv, 0)) + min(max(qu, qv), 0) <= r
    return c.fill(diamond, ORANGE, darker(ORANGE, 0.75), 1.2).fill(exclamation(16, 7.5, 18.5, 3.4), WHITE)

def SAFE(s):
    c = picture(32, 32, s).fill(shield(3.5, 1.5, 28.5, 30.5), GREEN, darker(GREEN, 0.75), 1.2)
    return c.fill(check([(9.5, 16), (14, 20.5), (22.5, 10.5)], 3.4), WHITE)


# ---- main toolbar (22x22, coloured with darker outlines, over a light toolbar) ----

def general22(s):
    def gear(x, y):
        r = math.hypot(x - 11, y - 11)
        a = math.atan2(y - 11, x - 11)
        spoke = round(a / (math.pi / 4)) * (math.pi / 4)
        tooth = r * abs(math.sin(a - spoke)) <= 1.8 and r <= 9.8
        return (r <= 7.0 or tooth) and r > 3.0
    return glyph(22, 22, s).fill(gear, STEEL, darker(STEEL))

def scanner22(s):
    c = glyph(22, 22, s)
    c.fill(stroke([(13.5, 13.5), (19, 19)], 4.0), WOOD, darker(WOOD))
    return c.fill(disc(9, 9, 7.5), GLASS, INK, 1.5).fill(arc(9, 9, 4, 1.2, 100, 170), WHITE)

def validator22(s):
    c = glyph(22, 22, s).fill(rect(3, 1, 17, 20), PAPER, LINE)
    for y in (5, 9, 13):
        c.fill(rect(6, y, 14, y + 1), LINE)
    return c.fill(check([(9, 15), (12.5, 18.5), (19.5, 10.5)], 3.6), GREEN, darker(GREEN), 0.8)

def cleaner22(s):
    c = glyph(22, 22, s)
    c.fill(stroke([(19.5, 1.5), (12, 10)], 2.4), WOOD, darker(WOOD))
    bristles = poly([(9.5, 8.5), (14.5, 13.5), (9, 20.5), (1.5, 20.5), (1.5, 16.5)])
    c.fill(bristles, STRAW, darker(STRAW))
    for a, b in (((11, 12), (6, 19)), ((9, 11), (3.5, 18))):
        c.fill(stroke([a, b], 0.9), darker(STRAW, 0.75))
    return c.fill(stroke([(9.5, 9.5), (13, 13)], 2.4), RED, darker(RED))

def minus_badge(c, cx, cy, r):
    c.fill(disc(cx, cy, r + 1), MAGENTA)
    return c.fill(disc(cx, cy, r), RED, darker(RED)).fill(rect(cx - r + 2, cy - 1, cx + r - 2, cy + 1), WHITE)

def uninstall22(s):
    c = glyph(22, 22, s)
    c.fill(rect(2, 6, 17, 19), CARTON, darker(CARTON))
    c.fill(poly([(2, 6.5), (5, 2.5), (20, 2.5), (17, 6.5)]), (225, 185, 130), darker(CARTON))
    c.fill(rect(8, 7, 11, 12), (240, 220, 180))
    return minus_badge(c, 16, 16, 5.5)

def save22(s):
    c = glyph(22, 22, s)
    c.fill(poly([(2, 2), (17, 2), (20, 5), (20, 20), (2, 20)]), BLUE, darker(BLUE))
    c.fill(rect(6, 3, 16, 9), (200, 205, 215), darker(BLUE))
    c.fill(rect(12, 4, 14, 8), darker(BLUE))
    return c.fill(rect(5, 12, 17, 20), PAPER, darker(BLUE)).fill(rect(7, 15, 15, 16), LINE)

def refresh22(s):
    return glyph(22, 22, s).fill(arrow_arc(11, 11, 6.8, 3.0, 100, 35, 4.6), GREEN, darker(GREEN))


# ---- list editor toolbar: the simpler set, flat shapes without outlines ----

S2_ADD = (40, 150, 60)
S2_REMOVE = (200, 50, 50)
S2_MOVE = (40, 100, 190)
S2_LIST = (120, 120, 120)

def plus(cx, cy, span, thick):
    return union(rect(cx - thick / 2, cy - span / 2, cx + thick / 2, cy + span / 2),
                 rect(cx - span / 2, cy - thick / 2, cx + span / 2, cy + thick / 2))

def uninstall22s2(s):
    c = glyph(22, 22, s).fill(rect(2, 3, 17, 16), WHITE, S2_LIST, 1.5).fill(rect(2, 3, 17, 6), S2_LIST)
    c.fill(rect(9, 12, 22, 20), MAGENTA)
    return c.fill(rect(10, 14, 21, 18), S2_REMOVE)


def add22s2(s):
    return glyph(22, 22, s).fill(plus(11, 11, 16, 4), S2_ADD)

def addmultiple22s2(s):
    c = glyph(22, 22, s).fill(plus(8, 8, 12, 3), (120, 195, 130))
    c.fill(plus(14, 14, 15, 5), MAGENTA)
    return c.fill(plus(14, 14, 13, 3.5), S2_ADD)

def remove22s2(s):
    return glyph(22, 22, s).fill(rect(3, 9, 19, 13), S2_REMOVE)

def clear22s2(s):
    c = glyph(22, 22, s).fill(union(rect(2, 3, 18, 6), rect(2, 9, 13, 12), rect(2, 15, 9, 18)), S2_LIST)
    return c.fill(cross(13, 13, 20, 20, 3.6), MAGENTA).fill(cross(13, 13, 20, 20, 2.6), S2_REMOVE)

def move_up22s2(s):
    return glyph(22, 22, s).fill(union(poly([(11, 2), (20, 11), (2, 11)]), rect(8, 10, 14, 20)), S2_MOVE)

def move_down22s2(s):
    return glyph(22, 22, s).fill(union(poly([(2, 11), (20, 11), (11, 20)]), rect(8, 2, 14, 12)), S2_MOVE)


# ---- others ----

def uninstall16(s):
    c = glyph(16, 16, s).fill(rect(1, 2, 15, 14), WHITE, (90, 90, 90))
    return c.fill(rect(2, 3, 14, 6), BLUE).fill(rect(11, 4, 13, 5), WHITE).fill(rect(3, 8, 10, 9), LINE).fill(rect(3, 10, 8, 11), LINE)

def hourglass(s):
    # Over the white ground of the "Computing..." popup.
    c = matte_picture(32, 32, s, WHITE)
    glass = poly([(8, 5.5), (24, 5.5), (17.1, 16), (24, 26.5), (8, 26.5), (14.9, 16)])
    c.fill(glass, GLASS, (110, 140, 170), 1.0)
    c.fill(poly([(11.7, 11), (20.3, 11), (16, 15.5)]), STRAW)
    c.fill(poly([(16, 20), (22.2, 25.8), (9.8, 25.8)]), STRAW).fill(rect(15.5, 14.7, 16.5, 21.3), STRAW)
    # Even coordinates stay whole pixels at 150 %: the caps keep sharp edges.
    return c.fill(rect(6, 2, 26, 6), WOOD, darker(WOOD)).fill(rect(6, 26, 26, 30), WOOD, darker(WOOD))


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
        for s, suffix in SCALES:
            name = draw.__name__ + suffix
            canvas = draw(s)
            rows = canvas.pixels()
            if canvas.background != MAGENTA:
                assert all(p != MAGENTA for row in rows for p in row), name + ' holds the transparent colour'
            with open(os.path.join(folder, 'bitmaps', name + '.bmp'), 'wb') as f:
                f.write(bmp(rows))
            lines.append('%s BITMAP "bitmaps/%s.bmp"\n' % (name, name))
    with open(os.path.join(folder, 'bitmaps.rc'), 'w', newline='\n') as f:
        f.writelines(lines)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__)))
