#!/usr/bin/env python3
"""Draws the example preferences bundle's pictures: the tweak icon ("icon"), the maker's bar button
("NavLogo") and the nine service icons ("Service-..."), each at 2x and 3x, as PNG files.

Only the standard library: shapes are rasterised with 4x4 supersampling and written with zlib.

    scripts/draw-pane-icons.py [OUTPUT_FOLDER]   (default: examples/pane/CorvaleSettings.bundle)
"""
import math
import os
import struct
import sys
import zlib

SUPERSAMPLE = 4

# Letters on a 5x7 grid, enough for the marks below.
GLYPHS = {
    "C": ["01111", "10000", "10000", "10000", "10000", "10000", "01111"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "G": ["01111", "10000", "10000", "10011", "10001", "10001", "01111"],
    "H": ["10001", "10001", "10001", "11111", "10001", "10001", "10001"],
    "I": ["11111", "00100", "00100", "00100", "00100", "00100", "11111"],
    "P": ["11110", "10001", "10001", "11110", "10000", "10000", "10000"],
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    "T": ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    "W": ["10001", "10001", "10001", "10101", "10101", "10101", "01010"],
    "+": ["00000", "00100", "00100", "11111", "00100", "00100", "00000"],
}


def hex_colour(text, alpha=1.0):
    text = text.lstrip("#")
    return tuple(int(text[i:i + 2], 16) / 255 for i in (0, 2, 4)) + (alpha,)


WHITE = (1.0, 1.0, 1.0, 1.0)


class Canvas:
    """A square of premultiplied RGBA floats in unit coordinates (0..1 across and down)."""

    def __init__(self, pixels):
        self.size = pixels
        self.fine = pixels * SUPERSAMPLE
        self.data = [[(0.0, 0.0, 0.0, 0.0)] * self.fine for _ in range(self.fine)]

    def fill(self, inside, colour):
        r, g, b, a = colour
        for y in range(self.fine):
            v = (y + 0.5) / self.fine
            row = self.data[y]
            for x in range(self.fine):
                if inside((x + 0.5) / self.fine, v):
                    dr, dg, db, da = row[x]
                    row[x] = (r * a + dr * (1 - a), g * a + dg * (1 - a), b * a + db * (1 - a), a + da * (1 - a))

    def png(self):
        rows = []
        area = SUPERSAMPLE * SUPERSAMPLE
        for y in range(self.size):
            line = bytearray([0])
            for x in range(self.size):
                total = [0.0, 0.0, 0.0, 0.0]
                for sy in range(SUPERSAMPLE):
                    for sx in range(SUPERSAMPLE):
                        pixel = self.data[y * SUPERSAMPLE + sy][x * SUPERSAMPLE + sx]
                        for i in range(4):
                            total[i] += pixel[i]
                alpha = total[3] / area
                if alpha > 0:
                    colour = [min(255, round(total[i] / total[3] * 255)) for i in range(3)]
                else:
                    colour = [0, 0, 0]
                line += bytes(colour + [round(alpha * 255)])
            rows.append(bytes(line))
        raw = zlib.compress(b"".join(rows), 9)

        def chunk(kind, body):
            return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

        header = struct.pack(">IIBBBBB", self.size, self.size, 8, 6, 0, 0, 0)
        return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", raw) + chunk(b"IEND", b"")


def rounded_square(radius, inset=0.0):
    def inside(u, v):
        lo, hi = inset, 1 - inset
        if not (lo <= u <= hi and lo <= v <= hi):
            return False
        cu = min(max(u, lo + radius), hi - radius)
        cv = min(max(v, lo + radius), hi - radius)
        return (u - cu) ** 2 + (v - cv) ** 2 <= radius * radius
    return inside


def disc(cx, cy, radius):
    return lambda u, v: (u - cx) ** 2 + (v - cy) ** 2 <= radius * radius


def ring(cx, cy, outer, inner):
    return lambda u, v: inner * inner <= (u - cx) ** 2 + (v - cy) ** 2 <= outer * outer


def text(letters, height):
    """The letters centred, `height` of the square tall."""
    cell = height / 7
    width = cell * (len(letters) * 6 - 1)
    left, top = (1 - width) / 2, (1 - height) / 2

    def inside(u, v):
        column = int(math.floor((u - left) / cell))
        row = int(math.floor((v - top) / cell))
        if row < 0 or row >= 7 or column < 0:
            return False
        letter, offset = divmod(column, 6)
        if letter >= len(letters) or offset == 5:
            return False
        return GLYPHS[letters[letter]][row][offset] == "1"
    return inside


def triangle(points):
    (x1, y1), (x2, y2), (x3, y3) = points

    def inside(u, v):
        d1 = (u - x2) * (y1 - y2) - (x1 - x2) * (v - y2)
        d2 = (u - x3) * (y2 - y3) - (x2 - x3) * (v - y3)
        d3 = (u - x1) * (y3 - y1) - (x3 - x1) * (v - y1)
        negative = d1 < 0 or d2 < 0 or d3 < 0
        positive = d1 > 0 or d2 > 0 or d3 > 0
        return not (negative and positive)
    return inside


def envelope(canvas, colour):
    body = lambda u, v: 0.2 <= u <= 0.8 and 0.3 <= v <= 0.7
    canvas.fill(body, colour)
    flap = lambda u, v: abs(v - (0.3 + 0.25 * (1 - abs(u - 0.5) / 0.3))) < 0.045 and 0.2 <= u <= 0.8
    canvas.fill(flap, hex_colour("#2F6FDE"))


def service_icon(background, mark):
    def draw(canvas):
        canvas.fill(rounded_square(0.22), hex_colour(background))
        mark(canvas)
    return draw


def letters_mark(letters, height=0.5):
    return lambda canvas: canvas.fill(text(letters, height), WHITE)


def youtube_mark(canvas):
    canvas.fill(triangle([(0.38, 0.28), (0.38, 0.72), (0.74, 0.5)]), WHITE)


def instagram_mark(canvas):
    canvas.fill(ring(0.5, 0.5, 0.26, 0.19), WHITE)
    canvas.fill(disc(0.5, 0.5, 0.1), WHITE)
    canvas.fill(disc(0.7, 0.3, 0.045), WHITE)


def website_mark(canvas):
    canvas.fill(ring(0.5, 0.5, 0.28, 0.22), WHITE)
    canvas.fill(lambda u, v: abs(u - 0.5) < 0.03 and abs(v - 0.5) < 0.26, WHITE)
    canvas.fill(lambda u, v: abs(v - 0.5) < 0.03 and abs(u - 0.5) < 0.26, WHITE)


def email_mark(canvas):
    envelope(canvas, WHITE)


SERVICES = {
    "Service-Twitter": service_icon("#1DA1F2", letters_mark("T")),
    "Service-Reddit": service_icon("#FF4500", letters_mark("R")),
    "Service-GitHub": service_icon("#24292E", letters_mark("G")),
    "Service-Email": service_icon("#2F6FDE", email_mark),
    "Service-Website": service_icon("#3A9D5D", website_mark),
    "Service-Instagram": service_icon("#C13584", instagram_mark),
    "Service-YouTube": service_icon("#FF0000", youtube_mark),
    "Service-PayPal": service_icon("#003087", letters_mark("P")),
    "Service-GooglePlus": service_icon("#DB4437", letters_mark("G+", 0.36)),
}


def tweak_icon(canvas):
    canvas.fill(rounded_square(0.23), hex_colour("#3373E6"))
    canvas.fill(disc(0.5, 0.5, 0.3), hex_colour("#FFFFFF", 0.18))
    canvas.fill(text("C", 0.46), WHITE)


def maker_logo(canvas):
    # White so that it reads on the coloured bar; a faint dark edge keeps it visible on a light bar.
    canvas.fill(ring(0.5, 0.5, 0.46, 0.36), hex_colour("#000000", 0.25))
    canvas.fill(ring(0.5, 0.5, 0.43, 0.37), WHITE)
    canvas.fill(text("H", 0.4), WHITE)


# Name: (size in points, drawing).
PICTURES = {"icon": (29, tweak_icon), "NavLogo": (24, maker_logo)}
PICTURES.update({name: (20, draw) for name, draw in SERVICES.items()})


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "examples", "pane", "CorvaleSettings.bundle")
    os.makedirs(folder, exist_ok=True)
    for name, (points, draw) in sorted(PICTURES.items()):
        for scale in (2, 3):
            canvas = Canvas(points * scale)
            draw(canvas)
            path = os.path.join(folder, f"{name}@{scale}x.png")
            with open(path, "wb") as output:
                output.write(canvas.png())
    print(f"wrote {len(PICTURES) * 2} pictures to {os.path.normpath(folder)}")


if __name__ == "__main__":
    main()
