#!/usr/bin/env python3
"""Draws the program's main icon (a quill sweeping over a drive-blue tile) into quillsweep.ico."""
import struct, sys, math

def inside_rounded(x, y, s, r):
    cx = min(max(x, r), s - r); cy = min(max(y, r), s - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r

def seg_dist(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))

def pixel(u, v):
    """Colour at unit coordinates (0..1), as (r, g, b, a)."""
    if not inside_rounded(u, v, 1.0, 0.2):
        return (0, 0, 0, 0)
    col = (int(30 + 40 * v), int(110 + 50 * v), int(200 - 30 * v), 255)  # blue tile, lighter at the bottom
    # swept arc: three pale strokes along the bottom
    for i, y0 in enumerate((0.70, 0.78, 0.86)):
        if abs(v - (y0 + 0.12 * (u - 0.5) ** 2)) < 0.022 and 0.12 + 0.06 * i < u < 0.62 - 0.05 * i:
            col = (200, 230, 255, 255)
    # quill: a white vane from top right towards the bottom left, with a dark shaft
    d = seg_dist(u, v, 0.82, 0.14, 0.34, 0.70)
    t = max(0.0, min(1.0, ((u - 0.82) * -0.48 + (v - 0.14) * 0.56) / (0.48 ** 2 + 0.56 ** 2)))
    width = 0.13 * math.sin(math.pi * min(1.0, t * 1.15)) if t < 0.87 else 0
    if d < width:
        col = (250, 250, 250, 255)
    if d < 0.018 and t > 0.05:
        col = (40, 50, 70, 255)
    return col

def render(size, ss=4):
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(ss):
                for sx in range(ss):
                    r, g, b, a = pixel((x + (sx + 0.5) / ss) / size, (y + (sy + 0.5) / ss) / size)
                    acc[0] += r * a; acc[1] += g * a; acc[2] += b * a; acc[3] += a
            n = ss * ss
            a = acc[3] / n
            row.append((0, 0, 0, 0) if a == 0 else tuple(int(c / acc[3]) for c in acc[:3]) + (int(a),))
        rows.append(row)
    return rows

def dib(size):
    rows = render(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b''.join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    mask_row = ((size + 31) // 32) * 4
    mask = bytes(mask_row * size)  # alpha carries transparency
    return header + pixels + mask

def main(out):
    sizes = (16, 32, 48, 72, 96)  # 72 and 96: the 48-pixel form at 150 % and 200 %
    images = [dib(s) for s in sizes]
    data = struct.pack('<HHH', 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, img in zip(sizes, images):
        data += struct.pack('<BBBBHHII', s, s, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    with open(out, 'wb') as f:
        f.write(data + b''.join(images))

if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'quillsweep.ico')
