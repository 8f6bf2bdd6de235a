#!/usr/bin/env python3
"""Draws the program's icon (a map pin with a figure on a map tile) and its pointing-hand
cursor as PNG files next to this script. Standard library only; shapes are signed distance
fields so edges are anti-aliased and outlines come for free. Re-run after changing a shape:
    python3 res/draw_artwork.py
"""
import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def write_png(path, width, height, rgba_rows):
    raw = b"".join(b"\x00" + bytes(row) for row in rgba_rows)

    def chunk(tag, data):
        body = tag + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


# --- distance functions (negative inside) ---------------------------------------------------

def circle(px, py, cx, cy, r):
    return math.hypot(px - cx, py - cy) - r


def rounded_box(px, py, x0, y0, x1, y1, r):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r
    qx, qy = abs(px - cx) - hx, abs(py - cy) - hy
    outside = math.hypot(max(qx, 0), max(qy, 0))
    return outside + min(max(qx, qy), 0) - r


def capsule(px, py, ax, ay, bx, by, r):
    pax, pay, bax, bay = px - ax, py - ay, bx - ax, by - ay
    h = max(0.0, min(1.0, (pax * bax + pay * bay) / (bax * bax + bay * bay)))
    return math.hypot(pax - bax * h, pay - bay * h) - r


def triangle(px, py, a, b, c):
    # Exact distance to a triangle: min distance to the edges, signed by inside test.
    def seg(p0, p1):
        return capsule(px, py, p0[0], p0[1], p1[0], p1[1], 0.0)

    d = min(seg(a, b), seg(b, c), seg(c, a))

    def side(p0, p1):
        return (p1[0] - p0[0]) * (py - p0[1]) - (p1[1] - p0[1]) * (px - p0[0])

    s1, s2, s3 = side(a, b), side(b, c), side(c, a)
    inside = (s1 >= 0 and s2 >= 0 and s3 >= 0) or (s1 <= 0 and s2 <= 0 and s3 <= 0)
    return -d if inside else d


def coverage(d, pixel):
    """Fraction of a pixel covered by the shape, from a distance in shape units."""
    return max(0.0, min(1.0, 0.5 - d / pixel))


def over(dst, rgb, alpha):
    """Source-over compositing of a colour with the given alpha onto dst (r, g, b, a floats)."""
    if alpha <= 0:
        return dst
    r, g, b, a = dst
    out_a = alpha + a * (1 - alpha)
    if out_a <= 0:
        return (0, 0, 0, 0)
    mix = lambda s, d: (s * alpha + d * a * (1 - alpha)) / out_a
    return (mix(rgb[0], r), mix(rgb[1], g), mix(rgb[2], b), out_a)


def render(size, layers, samples=3):
    """layers: list of (distance function of (x, y) in unit space, rgb). Drawn in order."""
    rows = []
    pixel = 1.0 / size
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(samples):
                for sx in range(samples):
                    ux = (x + (sx + 0.5) / samples) / size
                    uy = (y + (sy + 0.5) / samples) / size
                    c = (0.0, 0.0, 0.0, 0.0)
                    for dist, rgb in layers:
                        c = over(c, rgb, coverage(dist(ux, uy), pixel / samples))
                    # premultiplied accumulation so transparent samples do not darken edges
                    acc[0] += c[0] * c[3]
                    acc[1] += c[1] * c[3]
                    acc[2] += c[2] * c[3]
                    acc[3] += c[3]
            n = samples * samples
            a = acc[3] / n
            if a > 0:
                rgb = [acc[i] / acc[3] for i in range(3)]
            else:
                rgb = [0, 0, 0]
            row += [int(round(v * 255)) for v in rgb] + [int(round(a * 255))]
        rows.append(row)
    return rows


# --- icon 128: a map tile with a pin carrying a small figure ----------------------------------

TILE = (0.23, 0.55, 0.42)
GRID = (0.36, 0.68, 0.55)
PIN_EDGE = (0.45, 0.10, 0.06)
PIN = (0.89, 0.30, 0.18)
FIGURE = (1.0, 1.0, 1.0)
LINE = 0.035


def icon_layers():
    tile = lambda x, y: rounded_box(x, y, 0.05, 0.12, 0.95, 0.95, 0.10)
    grid = lambda x, y: max(tile(x, y) + 0.04,
                            min(abs(x - 0.28) - 0.012, abs(x - 0.72) - 0.012,
                                abs(y - 0.72) - 0.012))

    def pin(x, y):
        head = circle(x, y, 0.5, 0.37, 0.29)
        tip = triangle(x, y, (0.26, 0.50), (0.74, 0.50), (0.5, 0.93))
        return min(head, tip)

    def figure(x, y):
        head = circle(x, y, 0.5, 0.28, 0.075)
        body = rounded_box(x, y, 0.38, 0.38, 0.62, 0.56, 0.09)
        return min(head, body)

    return [
        (tile, TILE),
        (grid, GRID),
        (lambda x, y: pin(x, y) - LINE, PIN_EDGE),
        (pin, PIN),
        (figure, FIGURE),
    ]


# --- cursor 133: a pointing hand, fingertip (hot spot) at pixel 15, 1 of 32 x 32 ---------------

def hand(x, y):
    # coordinates in pixels of the 32 x 32 cursor
    finger = rounded_box(x, y, 13.0, 1.0, 18.0, 17.0, 2.5)
    palm = rounded_box(x, y, 10.0, 12.0, 26.0, 28.0, 3.5)
    knuckle1 = rounded_box(x, y, 18.0, 10.0, 22.0, 17.0, 2.0)
    knuckle2 = rounded_box(x, y, 22.0, 11.5, 26.0, 18.0, 2.0)
    thumb = capsule(x, y, 11.5, 22.0, 5.5, 15.5, 2.6)
    return min(finger, palm, knuckle1, knuckle2, thumb)


def cursor_layers():
    s = 32.0
    outline = lambda x, y: hand(x * s, y * s) / s - 1.0 / s
    fill = lambda x, y: hand(x * s, y * s) / s
    # finger separations drawn as thin dark strokes inside the palm
    creases = lambda x, y: max(fill(x, y) + 1.5 / s,
                               min(abs(x * s - 18.0) - 0.45, abs(x * s - 22.0) - 0.45) / s,
                               -(y * s - 11.0) / s, (y * s - 19.0) / s)
    return [
        (outline, (0.0, 0.0, 0.0)),
        (fill, (1.0, 1.0, 1.0)),
        (creases, (0.0, 0.0, 0.0)),
    ]


def main():
    for size in (16, 24, 32, 48, 64, 128):
        write_png(os.path.join(HERE, "icon128_%d.png" % size), size, size,
                  render(size, icon_layers(), samples=4 if size <= 32 else 3))
    write_png(os.path.join(HERE, "cursor133.png"), 32, 32, render(32, cursor_layers(), samples=4))


if __name__ == "__main__":
    main()
