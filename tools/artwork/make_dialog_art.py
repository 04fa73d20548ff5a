#!/usr/bin/env python3
"""Draws the main dialog's pictures as 24-bit BMP files.

  DialogSky.bmp        923 x 573 background: a light control panel on the
                       left, a deep night sky with a faint nebula on the right
  TrackUpper.bmp       135 x 12 track of the upper (nebula) sliders
  TrackLower.bmp       135 x 12 track of the lower (star) sliders
  Knob.bmp             12 x 10 slider knob
  Dot0.bmp..Dot9.bmp   8 x 8 memory dots: empty, pinned, unpinned, pinned
                       current, unpinned current; each normal then pressed
  ThumbFrame.bmp       96 x 96 frame of the memory dots' thumbnail
  OpenHand.cur         32 x 32 cursor over a preview that can be dragged
  ClosedHand.cur       32 x 32 cursor while the preview is dragged
  Icon<n>.ico          the icon buttons' pictures, n the control number
                       (resource 200 + n): a small glyph and the command's
                       word for the 60 x 29 buttons, a glyph alone for the
                       small ones; 32-bit with soft edges

Deterministic (fixed seed): running it again reproduces the files byte for
byte:  python3 tools/artwork/make_dialog_art.py resources
"""
import math
import os
import random
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_about_art import ValueNoise, mix, smooth, write_bmp  # noqa: E402

W, H = 923, 573
PANEL_RIGHT = 392  # the light panel ends left of the dots and the preview

# Where black text and controls sit on the sky: light cards behind them.
STATUS_CARD = (553, 474, 914, 496)  # left, top, right, bottom
UPPER_CARD = (8, 34, 384, 268)
LOWER_CARD = (8, 372, 384, 516)
BOTTOM_CARD = (8, 524, 384, 566)


def inside_round(x, y, box, radius):
    l, t, r, b = box
    if x < l or x >= r or y < t or y >= b:
        return False
    cx = min(max(x, l + radius), r - 1 - radius)
    cy = min(max(y, t + radius), b - 1 - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius


def background():
    rng = random.Random(923573)
    noise = ValueNoise(rng)
    detail = ValueNoise(rng)
    stars = {}
    for _ in range(700):
        x, y = rng.randrange(PANEL_RIGHT, W), rng.randrange(0, H)
        stars[(x, y)] = rng.random() ** 3
    night_top, night_bottom = (0.02, 0.03, 0.09), (0.07, 0.08, 0.20)
    nebula_a, nebula_b = (0.30, 0.18, 0.45), (0.10, 0.30, 0.45)
    panel_top, panel_bottom = (0.86, 0.88, 0.93), (0.78, 0.81, 0.89)
    card = (0.93, 0.94, 0.97)
    edge = (0.62, 0.66, 0.78)

    def pixel(x, y):
        if x < PANEL_RIGHT:
            c = mix(panel_top, panel_bottom, y / H)
            for box in (UPPER_CARD, LOWER_CARD, BOTTOM_CARD):
                if inside_round(x, y, box, 8):
                    inner = inside_round(x, y, (box[0] + 1, box[1] + 1, box[2] - 1, box[3] - 1), 7)
                    c = card if inner else edge
            # A soft shadow line where the panel meets the sky.
            if x >= PANEL_RIGHT - 3:
                c = mix(c, (0.35, 0.38, 0.5), (x - (PANEL_RIGHT - 4)) / 4)
            return c
        c = mix(night_top, night_bottom, y / H)
        n = noise.at(x / 90.0, y / 90.0) * 0.7 + detail.at(x / 25.0, y / 25.0) * 0.3
        glow = smooth(max(0.0, min(1.0, (n - 0.45) * 2.2)))
        c = mix(c, mix(nebula_a, nebula_b, noise.at(y / 140.0 + 7, x / 140.0)), glow * 0.55)
        s = stars.get((x, y))
        if s is not None:
            c = mix(c, (1.0, 0.97, 0.9), 0.35 + 0.65 * s)
        if inside_round(x, y, STATUS_CARD, 6):
            inner = inside_round(x, y, (STATUS_CARD[0] + 1, STATUS_CARD[1] + 1,
                                        STATUS_CARD[2] - 1, STATUS_CARD[3] - 1), 5)
            c = card if inner else edge
        return c

    return pixel


def track(low, high):
    def pixel(x, y):
        if y >= 11 or x >= 133:
            return (0.93, 0.94, 0.97)  # the card under the groove's margin
        t = x / 132.0
        c = mix(low, high, t)
        if y in (0, 10) or x in (0, 132):
            return mix(c, (0.1, 0.1, 0.2), 0.6)
        # A gentle vertical shading makes the groove look rounded.
        return mix(c, (1, 1, 1), 0.25 * (1 - abs(y - 5) / 5.0))
    return pixel


def knob(x, y):
    corner = (x in (0, 11)) and (y in (0, 9))
    if corner:
        return (0.93, 0.94, 0.97)
    if x in (0, 11) or y in (0, 9):
        return (0.12, 0.14, 0.28)
    return mix((1.0, 1.0, 1.0), (0.78, 0.82, 0.95), y / 9.0)


def dot(fill, pinned, pressed):
    def pixel(x, y):
        d = math.hypot(x - 3.5, y - 3.5)
        sky = (0.04, 0.05, 0.13)
        if d > 3.9:
            return sky
        rim = (0.95, 0.95, 1.0) if pressed else (0.55, 0.6, 0.8)
        if d > 2.9:
            return rim
        if fill is None:
            return (0.25, 0.27, 0.4) if pressed else sky
        c = mix(fill, (0, 0, 0), 0.35) if pressed else fill
        if pinned and d < 1.3:
            return (1.0, 1.0, 1.0)
        return c
    return pixel


def thumb_frame(x, y):
    d = min(x, y, 95 - x, 95 - y)
    if d == 0:
        return (0.55, 0.6, 0.8)
    if d < 3:
        return mix((0.16, 0.18, 0.32), (0.3, 0.33, 0.5), d / 3.0)
    if d == 3:
        return (0.05, 0.06, 0.12)
    return (0.08, 0.09, 0.18)


def write_cur(path, shape, hot_x, hot_y):
    """shape(x, y) -> None (transparent) or an (r, g, b) tuple; 32 x 32."""
    size = 32
    colour = bytearray()
    mask = bytearray()
    for y in range(size - 1, -1, -1):  # rows bottom-up, as in a BMP
        bits = 0
        row_mask = bytearray()
        for x in range(size):
            c = shape(x, y)
            if c is None:
                colour += b"\0\0\0\0"
                bits |= 0x80 >> (x % 8)
            else:
                colour += bytes(int(v * 255 + 0.5) for v in (c[2], c[1], c[0])) + b"\xff"
            if x % 8 == 7:
                row_mask.append(bits)
                bits = 0
        mask += row_mask
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(colour) + len(mask),
                       0, 0, 0, 0)
    image = info + colour + mask
    header = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", size, size, 0, 0, hot_x, hot_y, len(image), 6 + 16)
    with open(path, "wb") as f:
        f.write(header + entry + image)


def hand(closed):
    """A white gloved hand with a dark outline, seen from the back."""
    def inside(x, y):
        # Palm: a rounded box; fingers: four capsules (short when closed);
        # thumb: a capsule to the left.
        if inside_round(x, y, (9, 14, 24, 27), 4):
            return True
        tops = (8, 6, 7, 9) if not closed else (12, 11, 11, 12)
        for i, top in enumerate(tops):
            left = 9 + i * 4 - (1 if i else 0)
            if inside_round(x, y, (left, top, left + 4, 18), 2):
                return True
        if not closed:
            return inside_round(x, y, (4, 15, 11, 20), 2) or inside_round(x, y, (5, 13, 10, 22), 2)
        return inside_round(x, y, (6, 16, 11, 22), 2)

    def shape(x, y):
        if inside(x, y):
            # Knuckle lines between the fingers.
            if not closed and y < 16 and x in (12, 16, 20):
                return (0.1, 0.12, 0.25)
            return (1.0, 1.0, 1.0)
        if any(inside(x + dx, y + dy) for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))):
            return (0.1, 0.12, 0.25)
        return None

    return shape


# ---- Button icons. Each is drawn from a few shapes, painted in order, with
# 4 x 4 samples a pixel for soft edges; the words use a small pixel font.

INK = (0.11, 0.13, 0.30)       # the dark-sky navy of the panel's text
LAVENDER = (0.50, 0.40, 0.88)  # the upper sliders' colour
GOLD = (0.93, 0.70, 0.22)      # the lower sliders' colour
TEAL = (0.16, 0.62, 0.72)
PAPER = (0.97, 0.97, 1.0)


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r, w, start=0.0, sweep=360.0):
    """A ring of width w; only the arc from `start` degrees (clockwise from
    east, y down) over `sweep` degrees."""
    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        if abs(d - r) > w / 2:
            return False
        a = math.degrees(math.atan2(y - cy, x - cx)) % 360
        return (a - start) % 360 <= sweep
    return inside


def box(l, t, r, b, radius=0.0):
    def inside(x, y):
        if x < l or x > r or y < t or y > b:
            return False
        cx = min(max(x, l + radius), r - radius)
        cy = min(max(y, t + radius), b - radius)
        return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius + 1e-9
    return inside


def segment(x0, y0, x1, y1, w):
    def inside(x, y):
        dx, dy = x1 - x0, y1 - y0
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)))
        return math.hypot(x - x0 - t * dx, y - y0 - t * dy) <= w / 2
    return inside


def polygon(points):
    def inside(x, y):
        hit = False
        for (xa, ya), (xb, yb) in zip(points, points[1:] + points[:1]):
            if (ya > y) != (yb > y) and x < xa + (y - ya) * (xb - xa) / (yb - ya):
                hit = not hit
        return hit
    return inside


def outlined(shape_fill, shape_outer, fill, ink=INK):
    """An ink shape with a coloured fill inside it."""
    return [(shape_outer, ink), (shape_fill, fill)]


# Glyphs on an 18 x 18 grid (pixel centres at .5).
def glyph_hex():  # random colours: three swatches
    return [(circle(6.5, 7, 5.2), INK), (circle(6.5, 7, 4.0), LAVENDER),
            (circle(11.5, 7, 5.2), INK), (circle(11.5, 7, 4.0), TEAL),
            (circle(9, 11.5, 5.2), INK), (circle(9, 11.5, 4.0), GOLD)]


def glyph_load():  # an open folder
    return [(polygon([(1, 4), (6, 4), (8, 6), (15, 6), (15, 15), (1, 15)]), INK),
            (polygon([(2.2, 5.2), (5.6, 5.2), (7.6, 7.2), (13.8, 7.2), (13.8, 13.8), (2.2, 13.8)]),
             (0.80, 0.76, 0.98)),
            (polygon([(4, 9), (17.5, 9), (15, 15), (1, 15)]), INK),
            (polygon([(4.8, 10.2), (15.8, 10.2), (14.2, 13.8), (2.6, 13.8)]), LAVENDER)]


def glyph_save():  # an arrow down into a tray
    return [(segment(9, 1.5, 9, 10, 2.4), INK),
            (polygon([(4.5, 7.5), (13.5, 7.5), (9, 12.5)]), INK),
            (box(1.5, 11, 16.5, 16.5, 1.5), INK),
            (box(3, 11, 15, 15, 0.5), (0.80, 0.76, 0.98)),
            (polygon([(4.5, 7.5), (13.5, 7.5), (9, 12.5)]), INK),
            (segment(5.5, 13, 12.5, 13, 1.2), LAVENDER)]


def glyph_psd():  # stacked layers
    def sheet(dy, colour):
        top = [(9, 3 + dy), (16.5, 7 + dy), (9, 11 + dy), (1.5, 7 + dy)]
        inner = [(9, 4.4 + dy), (14.2, 7 + dy), (9, 9.6 + dy), (3.8, 7 + dy)]
        return [(polygon(top), INK), (polygon(inner), colour)]
    return sheet(6, GOLD) + sheet(3, TEAL) + sheet(0, LAVENDER)


def glyph_seed():  # a four-pointed star and two small ones
    def star(cx, cy, r, k):
        pts = []
        for i in range(8):
            a = math.radians(i * 45 - 90)
            d = r if i % 2 == 0 else r * k
            pts.append((cx + d * math.cos(a), cy + d * math.sin(a)))
        return polygon(pts)
    return [(star(8, 9.5, 8, 0.28), INK), (star(8, 9.5, 5.8, 0.24), GOLD),
            (circle(14.8, 3.5, 1.6), LAVENDER), (circle(15.2, 14.5, 1.2), TEAL)]


def glyph_undo():  # a hooked arrow back to the left
    return [(ring(10, 10, 5.5, 2.4, 180, 270), INK),
            (polygon([(0.8, 6.5), (5, 1.8), (7.2, 8.8)]), INK)]


def glyph_reset():  # a circular arrow
    return [(ring(9, 9.5, 6, 2.4, 300, 300), INK),
            (polygon([(11.5, 1), (17, 3.5), (12, 8.5)]), INK),
            (circle(9, 9.5, 2), LAVENDER)]


def glyph_dice():  # a die showing five
    pips = [(5.5, 5.5), (12.5, 5.5), (9, 9), (5.5, 12.5), (12.5, 12.5)]
    shapes = [(box(1.5, 1.5, 16.5, 16.5, 3.5), INK), (box(2.8, 2.8, 15.2, 15.2, 2.5), PAPER)]
    return shapes + [(circle(x, y, 1.5), INK if i != 2 else GOLD) for i, (x, y) in enumerate(pips)]


# A 5-pixel-wide font, 7 pixels high (capitals and ascenders), for the words.
FONT = {
    "D": ["####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."],
    "H": ["#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "L": ["#....", "#....", "#....", "#....", "#....", "#....", "#####"],
    "P": ["####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "S": [".###.", "#...#", "#....", ".###.", "....#", "#...#", ".###."],
    "U": ["#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "a": [".....", ".....", ".###.", "....#", ".####", "#...#", ".####"],
    "c": [".....", ".....", ".###.", "#....", "#....", "#....", ".###."],
    "d": ["....#", "....#", ".####", "#...#", "#...#", "#...#", ".####"],
    "e": [".....", ".....", ".###.", "#...#", "#####", "#....", ".###."],
    "i": [".#", "..", "##", ".#", ".#", ".#", ".#"],
    "n": [".....", ".....", "####.", "#...#", "#...#", "#...#", "#...#"],
    "o": [".....", ".....", ".###.", "#...#", "#...#", "#...#", ".###."],
    "s": [".....", ".....", ".####", "#....", ".###.", "....#", "####."],
    "t": [".#...", ".#...", "####.", ".#...", ".#...", ".#...", "..##."],
    "v": [".....", ".....", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    "x": [".....", ".....", "#...#", ".#.#.", "..#..", ".#.#.", "#...#"],
}


def word_pixels(word, left, top):
    """The set of (x, y) pixels of `word` in the pixel font."""
    pixels = set()
    x = left
    for ch in word:
        rows = FONT[ch]
        for dy, row in enumerate(rows):
            for dx, c in enumerate(row):
                if c == "#":
                    pixels.add((x + dx, top + dy))
        x += len(rows[0]) + 1
    return pixels


def word_width(word):
    return sum(len(FONT[ch][0]) + 1 for ch in word) - 1


def render_icon(width, height, shapes, glyph_left, glyph_top, scale, word=None):
    """RGBA rows: the shapes (on an 18 x 18 grid, scaled and placed), then
    the word in ink, vertically centred right of the glyph."""
    text = set()
    if word:
        left = glyph_left + int(18 * scale) + 3
        left += (width - left - word_width(word)) // 2
        text = word_pixels(word, left, (height - 7) // 2)

    def pixel(x, y):
        if (x, y) in text:
            return INK + (1.0,)
        r = g = b = a = 0.0
        n = 4
        for sy in range(n):
            for sx in range(n):
                gx = (x + (sx + 0.5) / n - glyph_left) / scale
                gy = (y + (sy + 0.5) / n - glyph_top) / scale
                colour = None
                for inside, c in shapes:
                    if inside(gx, gy):
                        colour = c
                if colour is not None:
                    r, g, b, a = r + colour[0], g + colour[1], b + colour[2], a + 1
        if a == 0:
            return (0.0, 0.0, 0.0, 0.0)
        return (r / a, g / a, b / a, a / (n * n))

    return pixel


def write_ico(path, width, height, pixel):
    """One 32-bit image with alpha; pixel(x, y) -> (r, g, b, a) floats."""
    colour = bytearray()
    mask = bytearray()
    mask_row = (width + 31) // 32 * 4
    for y in range(height - 1, -1, -1):  # rows bottom-up, as in a BMP
        bits = bytearray(mask_row)
        for x in range(width):
            r, g, b, a = pixel(x, y)
            colour += bytes(max(0, min(255, int(v * 255 + 0.5))) for v in (b, g, r, a))
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0, len(colour) + len(mask),
                       0, 0, 0, 0)
    image = info + colour + mask
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", width, height, 0, 0, 1, 32, len(image), 6 + 16)
    with open(path, "wb") as f:
        f.write(header + entry + image)


def small_glyph(kind):
    """Glyphs of the small buttons, on the same 18 x 18 grid."""
    if kind == "minus":
        return [(segment(3.5, 9, 14.5, 9, 3.2), INK)]
    if kind == "plus":
        return [(segment(3.5, 9, 14.5, 9, 3.2), INK), (segment(9, 3.5, 9, 14.5, 3.2), INK)]
    if kind == "next":  # the letter N with a small arrow: the next glue
        return [(segment(3, 15, 3, 3, 2.8), INK), (segment(3, 3, 11, 15, 2.8), INK),
                (segment(11, 15, 11, 3, 2.8), INK),
                (polygon([(13.5, 5.5), (17.5, 9), (13.5, 12.5)]), LAVENDER)]
    if kind == "info":
        return [(circle(9, 9, 8.5), INK), (circle(9, 9, 7.2), (0.80, 0.76, 0.98)),
                (circle(9, 5, 1.5), INK), (box(7.8, 7.5, 10.2, 14, 0.6), INK)]
    if kind == "page":  # a page of thumbnails
        shapes = [(box(2, 1, 16, 17, 1.5), INK), (box(3.2, 2.2, 14.8, 15.8, 0.8), PAPER)]
        for i, c in enumerate((LAVENDER, TEAL, GOLD, LAVENDER)):
            x, y = 4.5 + (i % 2) * 5, 3.8 + (i // 2) * 5.4
            shapes.append((box(x, y, x + 4, y + 4.2, 0.6), c))
        shapes.append((segment(4.5, 14.4, 13.5, 14.4, 1.0), INK))
        return shapes
    raise ValueError(kind)


# Control number -> (word or None, glyph), and the icon sizes that fit the
# buttons (60 x 29 with the word; 14 x 14, 15 x 14 and 22 x 22 alone).
WORD_ICONS = {14: ("Hex", glyph_hex), 35: ("Load", glyph_load), 26: ("Save", glyph_save),
              117: ("PSD", glyph_psd), 75: ("Seed", glyph_seed), 74: ("Undo", glyph_undo),
              115: ("Reset", glyph_reset), 72: ("Dice", glyph_dice)}
SMALL_ICONS = {12: ("next", 12, 10), 33: ("minus", 8, 8), 32: ("plus", 8, 8),
               116: ("info", 16, 16), 150: ("page", 16, 16)}


def write_icons(out):
    for control, (word, glyph) in WORD_ICONS.items():
        write_ico(os.path.join(out, "Icon%d.ico" % control), 52, 20,
                  render_icon(52, 20, glyph(), 1, 1, 1.0, word))
    for control, (kind, w, h) in SMALL_ICONS.items():
        scale = min(w, h) / 18.0
        left = (w - 18 * scale) / 2
        write_ico(os.path.join(out, "Icon%d.ico" % control), w, h,
                  render_icon(w, h, small_glyph(kind), left, (h - 18 * scale) / 2, scale))


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "resources"
    write_bmp(os.path.join(out, "DialogSky.bmp"), W, H, background())
    write_bmp(os.path.join(out, "TrackUpper.bmp"), 135, 12,
              track((0.16, 0.12, 0.36), (0.62, 0.5, 0.95)))
    write_bmp(os.path.join(out, "TrackLower.bmp"), 135, 12,
              track((0.25, 0.2, 0.1), (1.0, 0.86, 0.5)))
    write_bmp(os.path.join(out, "Knob.bmp"), 12, 10, knob)
    blue, gold = (0.35, 0.6, 1.0), (1.0, 0.8, 0.3)
    kinds = [(None, False), (blue, True), (blue, False), (gold, True), (gold, False)]
    for i, (fill, pinned) in enumerate(kinds):
        for pressed in (False, True):
            write_bmp(os.path.join(out, "Dot%d.bmp" % (2 * i + pressed)), 8, 8,
                      dot(fill, pinned, pressed))
    write_bmp(os.path.join(out, "ThumbFrame.bmp"), 96, 96, thumb_frame)
    write_cur(os.path.join(out, "OpenHand.cur"), hand(False), 16, 16)
    write_cur(os.path.join(out, "ClosedHand.cur"), hand(True), 16, 16)
    write_icons(out)


if __name__ == "__main__":
    main()
