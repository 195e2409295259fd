#!/usr/bin/env python3
"""Draws the pictures that ship beside the editor (Python standard library only).

    scripts/make-pictures.py [DATA_DIR]

writes into DATA_DIR (default: the repository's data/ folder):
  objects/NN_TYPE.png   one icon per object type (01..13) and group layout (21..28), the
                        picture only: the side panel turns "01_TEXT.png" into the type name
                        TEXT, writes it below the picture and puts pictures whose names begin
                        with the same byte on one row
  samples/Clipboard.png the clipboard entry
  assets/*.png          built-in images of the kinds a terminal ships (buttons, bars, a dial
                        whose name carries its centre, "dial[32-32].png", ...)
  icons/hicolor/NxN/apps/vesk-resource-editor.png and icons/hicolor/scalable/apps/...svg
                        the application icon of the desktop (N = 16, 32, 48, 64, 128, 256): a
                        dialog frame with a blue title bar, a red-framed box and two boxes below,
                        as the editor draws its window icon
The output is the same bytes on every run, so the committed pictures can be checked against it.
"""

import math
import os
import struct
import sys
import zlib

# --- PNG writer ---------------------------------------------------------------------------


def png_bytes(width, height, pixels, alpha):
    """pixels: rows of (r, g, b, a) tuples. Colour type 6 with alpha, else 2."""
    raw = bytearray()
    for row in pixels:
        raw.append(0)  # filter: none
        for r, g, b, a in row:
            raw += bytes((r, g, b, a)) if alpha else bytes((r, g, b))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 6 if alpha else 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
            + chunk(b"IEND", b""))


# --- A 5 x 7 bitmap font --------------------------------------------------------------------

FONT = {
    "A": [" ### ", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"],
    "B": ["#### ", "#   #", "#   #", "#### ", "#   #", "#   #", "#### "],
    "C": [" ### ", "#   #", "#    ", "#    ", "#    ", "#   #", " ### "],
    "D": ["#### ", "#   #", "#   #", "#   #", "#   #", "#   #", "#### "],
    "E": ["#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#####"],
    "F": ["#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#    "],
    "G": [" ### ", "#   #", "#    ", "# ###", "#   #", "#   #", " ####"],
    "H": ["#   #", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"],
    "I": [" ### ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "],
    "J": ["  ###", "   # ", "   # ", "   # ", "   # ", "#  # ", " ##  "],
    "K": ["#   #", "#  # ", "# #  ", "##   ", "# #  ", "#  # ", "#   #"],
    "L": ["#    ", "#    ", "#    ", "#    ", "#    ", "#    ", "#####"],
    "M": ["#   #", "## ##", "# # #", "# # #", "#   #", "#   #", "#   #"],
    "N": ["#   #", "#   #", "##  #", "# # #", "#  ##", "#   #", "#   #"],
    "O": [" ### ", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "],
    "P": ["#### ", "#   #", "#   #", "#### ", "#    ", "#    ", "#    "],
    "Q": [" ### ", "#   #", "#   #", "#   #", "# # #", "#  # ", " ## #"],
    "R": ["#### ", "#   #", "#   #", "#### ", "# #  ", "#  # ", "#   #"],
    "S": [" ####", "#    ", "#    ", " ### ", "    #", "    #", "#### "],
    "T": ["#####", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  "],
    "U": ["#   #", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "],
    "V": ["#   #", "#   #", "#   #", "#   #", "#   #", " # # ", "  #  "],
    "W": ["#   #", "#   #", "#   #", "# # #", "# # #", "# # #", " # # "],
    "X": ["#   #", "#   #", " # # ", "  #  ", " # # ", "#   #", "#   #"],
    "Y": ["#   #", "#   #", " # # ", "  #  ", "  #  ", "  #  ", "  #  "],
    "Z": ["#####", "    #", "   # ", "  #  ", " #   ", "#    ", "#####"],
    "0": [" ### ", "#   #", "#  ##", "# # #", "##  #", "#   #", " ### "],
    "1": ["  #  ", " ##  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "],
    "2": [" ### ", "#   #", "    #", "   # ", "  #  ", " #   ", "#####"],
    "3": ["#####", "   # ", "  #  ", "   # ", "    #", "#   #", " ### "],
    "4": ["   # ", "  ## ", " # # ", "#  # ", "#####", "   # ", "   # "],
    "5": ["#####", "#    ", "#### ", "    #", "    #", "#   #", " ### "],
    "6": ["  ## ", " #   ", "#    ", "#### ", "#   #", "#   #", " ### "],
    "7": ["#####", "    #", "   # ", "  #  ", " #   ", " #   ", " #   "],
    "8": [" ### ", "#   #", "#   #", " ### ", "#   #", "#   #", " ### "],
    "9": [" ### ", "#   #", "#   #", " ####", "    #", "   # ", " ##  "],
    " ": ["     "] * 7,
    "_": ["     "] * 6 + ["#####"],
    "-": ["     ", "     ", "     ", "#####", "     ", "     ", "     "],
    ".": ["     "] * 5 + [" ##  ", " ##  "],
}


def text_width(text, scale=1):
    return (len(text) * 6 - 1) * scale


# --- Drawing surface ------------------------------------------------------------------------


class Canvas:
    def __init__(self, width, height, background=(255, 255, 255, 255)):
        self.width, self.height = width, height
        self.rows = [[tuple(background)] * width for _ in range(height)]

    def blend(self, x, y, colour, coverage=1.0):
        if not (0 <= x < self.width and 0 <= y < self.height) or coverage <= 0:
            return
        r, g, b = colour[:3]
        a = (colour[3] if len(colour) > 3 else 255) / 255.0 * min(coverage, 1.0)
        dr, dg, db, da = self.rows[y][x]
        da /= 255.0
        out_a = a + da * (1 - a)
        if out_a <= 0:
            self.rows[y][x] = (0, 0, 0, 0)
            return

        def channel(s, d):
            return int(round((s * a + d * da * (1 - a)) / out_a))

        self.rows[y][x] = (channel(r, dr), channel(g, dg), channel(b, db), int(round(out_a * 255)))

    def fill(self, x0, y0, x1, y1, colour):
        """Fills the rectangle [x0, x1) x [y0, y1)."""
        for y in range(max(0, y0), min(self.height, y1)):
            for x in range(max(0, x0), min(self.width, x1)):
                self.blend(x, y, colour)

    def frame(self, x0, y0, x1, y1, colour, dashed=False):
        for x in range(x0, x1):
            if not dashed or (x // 3) % 2 == 0:
                self.blend(x, y0, colour)
                self.blend(x, y1 - 1, colour)
        for y in range(y0 + 1, y1 - 1):
            if not dashed or (y // 3) % 2 == 0:
                self.blend(x0, y, colour)
                self.blend(x1 - 1, y, colour)

    def gradient(self, x0, y0, x1, y1, top, bottom):
        span = max(1, y1 - y0 - 1)
        for y in range(y0, y1):
            t = (y - y0) / span
            colour = tuple(int(round(top[i] + (bottom[i] - top[i]) * t)) for i in range(3))
            self.fill(x0, y, x1, y + 1, colour)

    def shape(self, inside, x0, y0, x1, y1, colour, samples=4):
        """Fills the points where inside(x, y) holds, with coverage by supersampling."""
        for y in range(max(0, int(y0)), min(self.height, int(math.ceil(y1)) + 1)):
            for x in range(max(0, int(x0)), min(self.width, int(math.ceil(x1)) + 1)):
                hits = 0
                for sy in range(samples):
                    for sx in range(samples):
                        if inside(x + (sx + 0.5) / samples, y + (sy + 0.5) / samples):
                            hits += 1
                if hits:
                    self.blend(x, y, colour, hits / (samples * samples))

    def disc(self, cx, cy, radius, colour):
        self.shape(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius,
                   cx - radius - 1, cy - radius - 1, cx + radius + 1, cy + radius + 1, colour)

    def ring(self, cx, cy, radius, thickness, colour):
        inner = radius - thickness
        self.shape(lambda x, y: inner * inner <= (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius,
                   cx - radius - 1, cy - radius - 1, cx + radius + 1, cy + radius + 1, colour)

    def rounded(self, x0, y0, x1, y1, radius, colour):
        def inside(x, y):
            if not (x0 <= x <= x1 and y0 <= y <= y1):
                return False
            cx = min(max(x, x0 + radius), x1 - radius)
            cy = min(max(y, y0 + radius), y1 - radius)
            return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius

        self.shape(inside, x0, y0, x1, y1, colour)

    def rounded_gradient(self, x0, y0, x1, y1, radius, top, bottom):
        def inside(x, y):
            cx = min(max(x, x0 + radius), x1 - radius)
            cy = min(max(y, y0 + radius), y1 - radius)
            return x0 <= x <= x1 and (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius

        span = max(1, y1 - y0 - 1)
        for y in range(int(y0), int(math.ceil(y1))):
            t = (y - y0) / span
            colour = tuple(int(round(top[i] + (bottom[i] - top[i]) * t)) for i in range(3))
            self.shape(lambda x, yy: y <= yy < y + 1 and inside(x, yy), x0, y, x1, y, colour)

    def line(self, xa, ya, xb, yb, colour, width=1.5):
        length2 = (xb - xa) ** 2 + (yb - ya) ** 2 or 1
        half = width / 2

        def inside(x, y):
            t = max(0.0, min(1.0, ((x - xa) * (xb - xa) + (y - ya) * (yb - ya)) / length2))
            px, py = xa + t * (xb - xa), ya + t * (yb - ya)
            return (x - px) ** 2 + (y - py) ** 2 <= half * half

        self.shape(inside, min(xa, xb) - width, min(ya, yb) - width, max(xa, xb) + width, max(ya, yb) + width,
                   colour)

    def polygon(self, points, colour):
        def inside(x, y):
            result = False
            j = len(points) - 1
            for i in range(len(points)):
                xi, yi = points[i]
                xj, yj = points[j]
                if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                    result = not result
                j = i
            return result

        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        self.shape(inside, min(xs), min(ys), max(xs), max(ys), colour)

    def text(self, x, y, text, colour, scale=1):
        for index, char in enumerate(text):
            glyph = FONT[char]
            for gy, row in enumerate(glyph):
                for gx, bit in enumerate(row):
                    if bit == "#":
                        left = x + (index * 6 + gx) * scale
                        self.fill(left, y + gy * scale, left + scale, y + (gy + 1) * scale, colour)

    def centred_text(self, y, text, colour, scale=1):
        self.text((self.width - text_width(text, scale)) // 2, y, text, colour, scale)

    def save(self, path, alpha=False):
        with open(path, "wb") as out:
            out.write(png_bytes(self.width, self.height, self.rows, alpha))


# --- Colours ------------------------------------------------------------------------------

INK = (40, 48, 64)
GREY = (150, 156, 168)
LIGHT = (226, 230, 236)
WHITE = (255, 255, 255)
BLUE = (52, 120, 210)
PALE_BLUE = (200, 222, 248)
GREEN = (60, 160, 90)
ORANGE = (236, 140, 40)
RED = (210, 60, 60)

# --- Object type icons (64 x 36, the picture only: the side panel captions each entry) -------

ICON_W, ICON_H = 64, 48
OBJECT_ICON_H = 36


def object_icon(draw):
    canvas = Canvas(ICON_W, OBJECT_ICON_H)
    draw(canvas)
    return canvas


def draw_text(c):
    c.text(8, 6, "ABC", INK, 3)
    c.fill(8, 30, 56, 32, GREY)


def draw_edit(c):
    c.fill(6, 10, 58, 28, WHITE)
    c.frame(6, 10, 58, 28, INK)
    c.text(10, 15, "AB", GREY)
    c.fill(23, 13, 24, 25, INK)
    c.fill(21, 13, 26, 14, INK)
    c.fill(21, 24, 26, 25, INK)


def draw_button(c):
    c.rounded(6, 8, 58, 30, 5, GREY)
    c.rounded(6, 7, 57, 28, 5, LIGHT)
    c.text(21, 14, "OK", INK)


def draw_checkbox(c):
    c.fill(8, 10, 24, 26, WHITE)
    c.frame(8, 10, 24, 26, INK)
    c.line(11, 18, 15, 22, GREEN, 2.5)
    c.line(15, 22, 22, 12, GREEN, 2.5)
    c.fill(30, 17, 56, 19, GREY)


def draw_toggle(c):
    c.rounded(12, 10, 52, 28, 9, GREEN)
    c.disc(42.5, 19, 7, WHITE)
    c.text(17, 16, "ON", WHITE)


def draw_radiobtn(c):
    c.ring(16, 18, 8, 1.5, INK)
    c.disc(16, 18, 4, BLUE)
    c.fill(30, 17, 56, 19, GREY)


def draw_picture(c):
    c.fill(8, 4, 56, 34, PALE_BLUE)
    c.frame(8, 4, 56, 34, INK)
    c.disc(46, 12, 4, ORANGE)
    c.polygon([(9, 33), (24, 14), (36, 33)], GREEN)
    c.polygon([(28, 33), (40, 20), (55, 33)], (40, 120, 70))


def draw_canvas(c):
    c.fill(8, 4, 56, 34, WHITE)
    c.frame(8, 4, 56, 34, INK)
    previous = None
    for x in range(11, 54):
        point = (x, 19 - 10 * math.sin((x - 11) / 42 * 2 * math.pi))
        if previous:
            c.line(previous[0], previous[1], point[0], point[1], RED, 2)
        previous = point


def draw_grid(c):
    c.fill(8, 4, 56, 11, PALE_BLUE)
    for x in (8, 24, 40, 55):
        c.fill(x, 4, x + 1, 34, INK)
    for y in (4, 11, 18, 26, 33):
        c.fill(8, y, 56, y + 1, INK)


def draw_pulldown(c):
    c.fill(6, 10, 58, 26, WHITE)
    c.frame(6, 10, 58, 26, INK)
    c.fill(44, 11, 57, 25, LIGHT)
    c.fill(44, 10, 45, 26, INK)
    c.polygon([(47, 15), (55, 15), (51, 21)], INK)
    c.text(10, 15, "ABC", GREY)


def draw_progress(c):
    c.fill(6, 13, 58, 25, LIGHT)
    c.fill(6, 13, 40, 25, GREEN)
    c.frame(6, 13, 58, 25, INK)


def draw_slidebar(c):
    c.rounded(6, 17, 58, 21, 2, GREY)
    c.rounded(6, 17, 30, 21, 2, BLUE)
    c.rounded(26, 9, 36, 29, 3, INK)
    c.rounded(27, 10, 35, 28, 3, LIGHT)


def draw_meter(c):
    c.shape(lambda x, y: y <= 30 and 15 * 15 <= (x - 32) ** 2 + (y - 30) ** 2 <= 24 * 24, 6, 4, 58, 31, LIGHT)
    c.ring(32, 30, 24, 1.5, INK)
    for step in range(7):
        angle = math.pi - step * math.pi / 6
        c.line(32 + 19 * math.cos(angle), 30 - 19 * math.sin(angle), 32 + 23 * math.cos(angle),
               30 - 23 * math.sin(angle), INK, 1.2)
    c.fill(6, 31, 58, 36, WHITE)
    c.line(32, 30, 45, 15, RED, 2)
    c.disc(32, 30, 3, INK)


OBJECT_ICONS = [
    ("TEXT", draw_text),
    ("EDIT", draw_edit),
    ("BUTTON", draw_button),
    ("CHECKBOX", draw_checkbox),
    ("TOGGLE", draw_toggle),
    ("RADIOBTN", draw_radiobtn),
    ("PICTURE", draw_picture),
    ("CANVAS", draw_canvas),
    ("GRID", draw_grid),
    ("PULLDOWN", draw_pulldown),
    ("PROGRESS", draw_progress),
    ("SLIDEBAR", draw_slidebar),
    ("METER", draw_meter),
]

# --- Group layout icons -------------------------------------------------------------------


def box(c, x0, y0, x1, y1, colour=PALE_BLUE):
    c.fill(x0, y0, x1, y1, colour)
    c.frame(x0, y0, x1, y1, BLUE)


def draw_frame(c):
    c.frame(6, 3, 58, 35, INK, dashed=True)
    box(c, 10, 7, 38, 25)
    box(c, 24, 15, 54, 31, (250, 220, 180))


def draw_linear(c):
    c.frame(6, 3, 58, 35, INK)
    for x in (9, 26, 43):
        box(c, x, 7, x + 13, 31)


def draw_radio(c):
    c.frame(6, 3, 58, 35, INK)
    for y, on in ((12, True), (26, False)):
        c.ring(15, y, 5, 1.2, INK)
        if on:
            c.disc(15, y, 2.5, BLUE)
        c.fill(24, y - 1, 52, y + 1, GREY)


def draw_scroll(c):
    c.frame(6, 3, 58, 35, INK)
    for y in (6, 14, 22):
        box(c, 9, y, 47, y + 6)
    box(c, 9, 30, 47, 35)
    c.fill(50, 4, 57, 34, LIGHT)
    c.rounded(51, 8, 56, 20, 2, GREY)


def draw_page(c):
    for offset, colour in ((8, LIGHT), (4, PALE_BLUE), (0, WHITE)):
        c.fill(10 + offset, 2 + offset // 2, 46 + offset, 26 + offset // 2, colour)
        c.frame(10 + offset, 2 + offset // 2, 46 + offset, 26 + offset // 2, INK)
    for x, on in ((25, False), (32, True), (39, False)):
        c.disc(x, 33, 1.8, BLUE if on else GREY)


def draw_table(c):
    c.fill(6, 3, 58, 11, PALE_BLUE)
    for x in (6, 23, 40, 57):
        c.fill(x, 3, x + 1, 35, INK)
    for y in (3, 11, 19, 27, 34):
        c.fill(6, y, 58, y + 1, INK)


def draw_tablerow(c):
    for x in (6, 23, 40, 57):
        c.fill(x, 3, x + 1, 35, GREY)
    for y in (3, 34):
        c.fill(6, y, 58, y + 1, GREY)
    c.fill(7, 13, 57, 25, (250, 220, 180))
    for x in (6, 23, 40, 57):
        c.fill(x, 12, x + 1, 26, INK)
    c.fill(6, 12, 58, 13, INK)
    c.fill(6, 25, 58, 26, INK)


def draw_relative(c):
    c.frame(6, 3, 58, 35, INK, dashed=True)
    box(c, 9, 7, 27, 17)
    box(c, 37, 21, 55, 31, (250, 220, 180))
    c.line(27, 12, 46, 12, INK, 1.2)
    c.line(46, 12, 46, 20, INK, 1.2)
    c.polygon([(43, 17), (49, 17), (46, 21)], INK)


GROUP_ICONS = [
    ("FRAME", draw_frame),
    ("LINEAR", draw_linear),
    ("RADIO", draw_radio),
    ("SCROLL", draw_scroll),
    ("PAGE", draw_page),
    ("TABLE", draw_table),
    ("TABLEROW", draw_tablerow),
    ("RELATIVE", draw_relative),
]

# --- Clipboard sample ---------------------------------------------------------------------


def clipboard():
    c = Canvas(ICON_W, ICON_H)
    c.rounded(18, 4, 46, 44, 3, (170, 120, 70))
    c.fill(22, 10, 42, 41, WHITE)
    for y in (16, 22, 28, 34):
        c.fill(25, y, 39, y + 1, GREY)
    c.rounded(26, 1, 38, 9, 2, (120, 124, 132))
    c.fill(29, 3, 35, 5, LIGHT)
    return c


# --- Built-in images ----------------------------------------------------------------------


def button(top, bottom, label, pressed):
    c = Canvas(96, 32, (0, 0, 0, 0))
    shift = 1 if pressed else 0
    c.rounded(0, 1, 96, 32, 7, (0, 0, 0, 70))
    c.rounded_gradient(1, shift, 95, 30 + shift, 6, top, bottom)
    c.centred_text(12 + shift, label, WHITE)
    return c


def bar(colour, light):
    c = Canvas(128, 12, (0, 0, 0, 0))
    c.rounded(0, 0, 128, 12, 6, colour)
    c.rounded(3, 2, 125, 5, 1.5, light)
    return c


def thumb():
    c = Canvas(16, 24, (0, 0, 0, 0))
    c.rounded(1, 1, 15, 23, 4, (60, 70, 90))
    c.rounded(2, 2, 14, 22, 3, (230, 234, 240))
    for y in (9, 12, 15):
        c.fill(5, y, 11, y + 1, GREY)
    return c


def needle():
    c = Canvas(8, 32, (0, 0, 0, 0))
    c.polygon([(4, 0), (7, 26), (1, 26)], RED)
    c.disc(4, 27.5, 3.5, INK)
    return c


def dial():
    # The name "dial[32-32].png" carries the centre of the dial: x 32, y 32.
    c = Canvas(64, 64, (0, 0, 0, 0))
    c.disc(32, 32, 31, (52, 58, 72))
    c.disc(32, 32, 28, (240, 242, 246))
    for step in range(11):
        angle = math.radians(225 - step * 27)
        inner = 21 if step % 5 == 0 else 24
        c.line(32 + inner * math.cos(angle), 32 - inner * math.sin(angle), 32 + 27 * math.cos(angle),
               32 - 27 * math.sin(angle), INK if step < 8 else RED, 1.6 if step % 5 == 0 else 1.1)
    c.disc(32, 32, 2, GREY)
    return c


def edit_background():
    c = Canvas(128, 24)
    c.gradient(0, 0, 128, 24, (236, 238, 242), WHITE)
    c.frame(0, 0, 128, 24, GREY)
    return c


def logo():
    c = Canvas(96, 64)
    c.gradient(0, 0, 96, 64, (40, 90, 170), (20, 40, 90))
    c.disc(48, 24, 14, (255, 200, 60))
    c.disc(54, 20, 12, (40, 80, 160))
    c.centred_text(46, "LUMO", WHITE, 2)
    return c


def canvas_background():
    c = Canvas(64, 64, (252, 252, 246, 255))
    for i in range(0, 64, 8):
        c.fill(i, 0, i + 1, 64, (210, 226, 240))
        c.fill(0, i, 64, i + 1, (210, 226, 240))
    return c


def blue_background():
    c = Canvas(120, 200)
    c.gradient(0, 0, 120, 200, (70, 130, 210), (16, 40, 90))
    return c


def check(on):
    c = Canvas(24, 24, (0, 0, 0, 0))
    c.rounded(1, 1, 23, 23, 4, BLUE if on else GREY)
    c.rounded(3, 3, 21, 21, 3, BLUE if on else WHITE)
    if on:
        c.line(7, 12, 11, 16, WHITE, 2.5)
        c.line(11, 16, 18, 7, WHITE, 2.5)
    return c


ASSETS = [
    ("btn_off.png", lambda: button((150, 158, 172), (100, 108, 122), "OFF", False), True),
    ("btn_on.png", lambda: button((250, 170, 70), (214, 110, 20), "ON", True), True),
    ("bar_base.png", lambda: bar((70, 76, 90), (110, 118, 134)), True),
    ("bar_active.png", lambda: bar(GREEN, (140, 220, 160)), True),
    ("thumb.png", thumb, True),
    ("needle.png", needle, True),
    ("dial[32-32].png", dial, True),
    ("edit_bg.png", edit_background, False),
    ("logo.png", logo, False),
    ("canvas_bg.png", canvas_background, False),
    ("bg_blue.png", blue_background, False),
    ("check_on.png", lambda: check(True), True),
    ("check_off.png", lambda: check(False), True),
]


# --- Application icon ---------------------------------------------------------------------
# Drawn on a 64-unit square: a rounded dialog frame, its blue title bar, a red-framed box and two
# boxes below. Each layer is (colour, test); the top-most layer holding a sample point gives its
# colour, and a pixel averages its samples.

APP_ICON_NAME = "vesk-resource-editor"
APP_ICON_SIZES = (16, 32, 48, 64, 128, 256)
FRAME_INK = (40, 60, 90)
TITLE_BLUE = (40, 90, 160)
PAPER = (250, 250, 252)
BOX_RED = (200, 40, 40)
BOX_PINK = (255, 220, 220)
BOX_INK = (60, 60, 60)


def inside_rounded(x, y, x0, y0, x1, y1, radius):
    if not (x0 <= x <= x1 and y0 <= y <= y1):
        return False
    cx = min(max(x, x0 + radius), x1 - radius)
    cy = min(max(y, y0 + radius), y1 - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius


def inside_box(x, y, x0, y0, x1, y1):
    return x0 <= x < x1 and y0 <= y < y1


APP_ICON_LAYERS = [  # top-most first
    (WHITE, lambda x, y: inside_box(x, y, 14, 40, 29, 50) or inside_box(x, y, 35, 40, 50, 50)),
    (BOX_INK, lambda x, y: inside_box(x, y, 12, 38, 31, 52) or inside_box(x, y, 33, 38, 52, 52)),
    (BOX_PINK, lambda x, y: inside_box(x, y, 14, 25, 50, 33)),
    (BOX_RED, lambda x, y: inside_box(x, y, 12, 23, 52, 35)),
    (FRAME_INK, lambda x, y: 17 <= y < 19 and inside_rounded(x, y, 7, 7, 57, 57, 5)),
    (TITLE_BLUE, lambda x, y: y < 17 and inside_rounded(x, y, 7, 7, 57, 57, 5)),
    (PAPER, lambda x, y: inside_rounded(x, y, 7, 7, 57, 57, 5)),
    (FRAME_INK, lambda x, y: inside_rounded(x, y, 5, 5, 59, 59, 7)),
]


def app_icon(size):
    samples = 4 if size <= 64 else 2  # a pixel of the large icons covers half a unit or less
    c = Canvas(size, size, (0, 0, 0, 0))
    unit = 64.0 / size
    for py in range(size):
        for px in range(size):
            hits = []
            for sy in range(samples):
                for sx in range(samples):
                    x, y = (px + (sx + 0.5) / samples) * unit, (py + (sy + 0.5) / samples) * unit
                    for colour, test in APP_ICON_LAYERS:
                        if test(x, y):
                            hits.append(colour)
                            break
            if hits:
                mean = tuple(int(round(sum(h[i] for h in hits) / len(hits))) for i in range(3))
                c.rows[py][px] = mean + (int(round(255 * len(hits) / (samples * samples))),)
    return c


APP_ICON_SVG = """<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="64" height="64" viewBox="0 0 64 64">
  <title>Vesk Resource Editor</title>
  <rect x="6" y="6" width="52" height="52" rx="6" fill="{paper}" stroke="{ink}" stroke-width="2"/>
  <path d="M7 17V12A5 5 0 0 1 12 7H52A5 5 0 0 1 57 12V17Z" fill="{blue}"/>
  <rect x="7" y="17" width="50" height="2" fill="{ink}"/>
  <rect x="13" y="24" width="38" height="10" fill="{pink}" stroke="{red}" stroke-width="2"/>
  <rect x="13" y="39" width="17" height="12" fill="{white}" stroke="{grey}" stroke-width="2"/>
  <rect x="34" y="39" width="17" height="12" fill="{white}" stroke="{grey}" stroke-width="2"/>
</svg>
"""


def hex_colour(colour):
    return "#%02x%02x%02x" % colour[:3]


def write_app_icons(root):
    for size in APP_ICON_SIZES:
        folder = os.path.join(root, "icons", "hicolor", "%dx%d" % (size, size), "apps")
        os.makedirs(folder, exist_ok=True)
        app_icon(size).save(os.path.join(folder, APP_ICON_NAME + ".png"), alpha=True)
    folder = os.path.join(root, "icons", "hicolor", "scalable", "apps")
    os.makedirs(folder, exist_ok=True)
    svg = APP_ICON_SVG.format(paper=hex_colour(PAPER), ink=hex_colour(FRAME_INK), blue=hex_colour(TITLE_BLUE),
                              pink=hex_colour(BOX_PINK), red=hex_colour(BOX_RED), white=hex_colour(WHITE),
                              grey=hex_colour(BOX_INK))
    with open(os.path.join(folder, APP_ICON_NAME + ".svg"), "w", encoding="utf-8", newline="\n") as out:
        out.write(svg)


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..",
                                                               "data")
    for folder in ("objects", "samples", "assets"):
        os.makedirs(os.path.join(root, folder), exist_ok=True)
    for number, (name, draw) in enumerate(OBJECT_ICONS, start=1):
        object_icon(draw).save(os.path.join(root, "objects", "%02d_%s.png" % (number, name)))
    for number, (name, draw) in enumerate(GROUP_ICONS, start=21):
        object_icon(draw).save(os.path.join(root, "objects", "%02d_%s.png" % (number, name)))
    clipboard().save(os.path.join(root, "samples", "Clipboard.png"))
    for name, make, alpha in ASSETS:
        make().save(os.path.join(root, "assets", name), alpha)
    write_app_icons(root)


if __name__ == "__main__":
    main()
