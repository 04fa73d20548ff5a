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


if __name__ == "__main__":
    main()
