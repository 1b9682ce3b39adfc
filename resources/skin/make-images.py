#!/usr/bin/env python3
"""Draws the images of the "Studio Blue" skin as small PNG files.

Only the standard library is used: every shape is given as a coverage
function, sampled 4 x 4 times per pixel for smooth edges, and written with
zlib. Run it from anywhere; the images land in studio-blue/ beside it.
"""

import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "studio-blue")
SAMPLES = 4


def hex_rgba(text, alpha=255):
    text = text.lstrip("#")
    return (int(text[0:2], 16), int(text[2:4], 16), int(text[4:6], 16), alpha)


def lerp(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(4))


class Canvas:
    def __init__(self, width, height):
        self.width = width
        self.height = height
        # premultiplied-free RGBA floats, composited with "over"
        self.pixels = [[(0.0, 0.0, 0.0, 0.0) for _ in range(width)] for _ in range(height)]

    def paint(self, coverage, color):
        """coverage(x, y) -> 0..1 at a sample point; color(x, y) -> RGBA."""
        for py in range(self.height):
            for px in range(self.width):
                hits = 0.0
                for sy in range(SAMPLES):
                    for sx in range(SAMPLES):
                        x = px + (sx + 0.5) / SAMPLES
                        y = py + (sy + 0.5) / SAMPLES
                        hits += coverage(x, y)
                cover = hits / (SAMPLES * SAMPLES)
                if cover <= 0:
                    continue
                r, g, b, a = color(px + 0.5, py + 0.5)
                a = a / 255.0 * cover
                dr, dg, db, da = self.pixels[py][px]
                out_a = a + da * (1 - a)
                if out_a <= 0:
                    continue
                mixc = lambda s, d: (s * a + d * da * (1 - a)) / out_a
                self.pixels[py][px] = (mixc(r, dr), mixc(g, dg), mixc(b, db), out_a)

    def save(self, name):
        raw = bytearray()
        for row in self.pixels:
            raw.append(0)
            for r, g, b, a in row:
                raw += bytes((round(r), round(g), round(b), round(a * 255)))
        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)
        png = b"\x89PNG\r\n\x1a\n"
        png += chunk(b"IHDR", struct.pack(">IIBBBBB", self.width, self.height, 8, 6, 0, 0, 0))
        png += chunk(b"IDAT", zlib.compress(bytes(raw), 9))
        png += chunk(b"IEND", b"")
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(png)


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        if x < x0 or x > x1 or y < y0 or y > y1:
            return 0.0
        return 1.0 if (x - cx) ** 2 + (y - cy) ** 2 <= r * r else 0.0
    return inside


def circle(cx, cy, r):
    return lambda x, y: 1.0 if (x - cx) ** 2 + (y - cy) ** 2 <= r * r else 0.0


def ring(cx, cy, r_outer, r_inner):
    return lambda x, y: 1.0 if r_inner * r_inner < (x - cx) ** 2 + (y - cy) ** 2 <= r_outer * r_outer else 0.0


def difference(a, b):
    return lambda x, y: 1.0 if a(x, y) and not b(x, y) else 0.0


def polyline(points, width):
    half = width / 2.0
    def near(x, y):
        for (ax, ay), (bx, by) in zip(points, points[1:]):
            dx, dy = bx - ax, by - ay
            t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
            if math.hypot(x - (ax + t * dx), y - (ay + t * dy)) <= half:
                return 1.0
        return 0.0
    return near


def polygon(points):
    def inside(x, y):
        result = False
        j = len(points) - 1
        for i in range(len(points)):
            xi, yi = points[i]
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                result = not result
            j = i
        return 1.0 if result else 0.0
    return inside


def vertical(top, bottom, y0, y1):
    return lambda x, y: lerp(top, bottom, min(1.0, max(0.0, (y - y0) / (y1 - y0))))


def horizontal(left, right, x0, x1):
    return lambda x, y: lerp(left, right, min(1.0, max(0.0, (x - x0) / (x1 - x0))))


def flat(color):
    return lambda x, y: color


# The scheme: one hue, light faces, a strong blue accent.
BORDER = hex_rgba("#4f73a6")
ACCENT = hex_rgba("#2a6fd0")
ACCENT_DARK = hex_rgba("#1d4f96")
FACE_TOP = hex_rgba("#ffffff")
FACE_BOTTOM = hex_rgba("#dbe6f4")
HOVER_TOP = hex_rgba("#ffffff")
HOVER_BOTTOM = hex_rgba("#c7dbf6")
GREY_BORDER = hex_rgba("#a9b5c6")
GREY_FACE = hex_rgba("#e9edf2")
GREY_MARK = hex_rgba("#8d9aae")
TICK = hex_rgba("#ffffff")


def check_box(name, checked, hover=False, greyed=False, mixed=False):
    c = Canvas(13, 13)
    box = rounded_rect(0.5, 0.5, 12.5, 12.5, 2.2)
    inner = rounded_rect(1.5, 1.5, 11.5, 11.5, 1.4)
    if greyed:
        border, top, bottom = GREY_BORDER, GREY_FACE, GREY_FACE
    elif checked or mixed:
        border, top, bottom = ACCENT_DARK, hex_rgba("#5b97e6"), ACCENT
    else:
        border = ACCENT if hover else BORDER
        top, bottom = (HOVER_TOP, HOVER_BOTTOM) if hover else (FACE_TOP, FACE_BOTTOM)
    if hover and (checked or mixed):
        top, bottom = hex_rgba("#7bb0f2"), hex_rgba("#3a80de")
    c.paint(box, flat(border))
    c.paint(inner, vertical(top, bottom, 1.5, 11.5))
    mark = GREY_MARK if greyed else TICK
    if checked:
        c.paint(polyline([(3.3, 6.6), (5.5, 9.0), (9.8, 3.8)], 1.9), flat(mark))
    elif mixed:
        c.paint(rounded_rect(3.2, 5.6, 9.8, 7.4, 0.8), flat(mark))
    c.save(name)


def radio_button(name, selected, hover=False, greyed=False):
    c = Canvas(13, 13)
    if greyed:
        border, top, bottom = GREY_BORDER, GREY_FACE, GREY_FACE
    else:
        border = ACCENT if hover else BORDER
        top, bottom = (HOVER_TOP, HOVER_BOTTOM) if hover else (FACE_TOP, FACE_BOTTOM)
    c.paint(circle(6.5, 6.5, 6.0), flat(border))
    c.paint(circle(6.5, 6.5, 5.0), vertical(top, bottom, 1.5, 11.5))
    if selected:
        dot_top, dot_bottom = (GREY_MARK, GREY_MARK) if greyed else (hex_rgba("#5b97e6"), ACCENT_DARK)
        c.paint(circle(6.5, 6.5, 2.8), vertical(dot_top, dot_bottom, 3.7, 9.3))
    c.save(name)


def slider(name, vertical_bar, active):
    # A rounded handle, 10 px across inside a 14 px bar, sliced 5 px at both
    # ends; the grip lines sit in the middle slice, which is stretched.
    w, h = (14, 24) if vertical_bar else (24, 14)
    c = Canvas(w, h)
    light = hex_rgba("#8fb8ee") if active else hex_rgba("#b9cfea")
    dark = hex_rgba("#3b7bd6") if active else hex_rgba("#7f9fca")
    edge = hex_rgba("#2a5fae") if active else hex_rgba("#6784ad")
    if vertical_bar:
        c.paint(rounded_rect(0.5, 0.5, w - 0.5, h - 0.5, 4.5), flat(edge))
        c.paint(rounded_rect(1.5, 1.5, w - 1.5, h - 1.5, 3.5), horizontal(light, dark, 1.5, w - 1.5))
    else:
        c.paint(rounded_rect(0.5, 0.5, w - 0.5, h - 0.5, 4.5), flat(edge))
        c.paint(rounded_rect(1.5, 1.5, w - 1.5, h - 1.5, 3.5), vertical(light, dark, 1.5, h - 1.5))
    c.save(name)


def arrow_down(name):
    c = Canvas(9, 6)
    c.paint(polygon([(0.5, 0.8), (8.5, 0.8), (4.5, 5.4)]), flat(ACCENT_DARK))
    c.save(name)


def main():
    os.makedirs(OUT, exist_ok=True)
    check_box("checkbox-normal.png", False)
    check_box("checkbox-selected.png", True)
    check_box("checkbox-hl-normal.png", False, hover=True)
    check_box("checkbox-hl-selected.png", True, hover=True)
    check_box("checkbox-grey-normal.png", False, greyed=True)
    check_box("checkbox-grey-selected.png", True, greyed=True)
    check_box("checkbox-mixed.png", False, mixed=True)
    radio_button("radio-normal.png", False)
    radio_button("radio-selected.png", True)
    radio_button("radio-hl-normal.png", False, hover=True)
    radio_button("radio-hl-selected.png", True, hover=True)
    radio_button("radio-grey-normal.png", False, greyed=True)
    radio_button("radio-grey-selected.png", True, greyed=True)
    slider("slider-h.png", False, False)
    slider("slider-h-a.png", False, True)
    slider("slider-v.png", True, False)
    slider("slider-v-a.png", True, True)
    arrow_down("arrow-down.png")


if __name__ == "__main__":
    main()
