#!/usr/bin/env python3
"""Draws the three bitmaps of the about box as 24-bit BMP files.

  AboutSky.bmp   the banner: a calm night sky with a faint nebula and stars
  AboutMark.bmp  the small emblem beside the product name: one soft star
  AboutRule.bmp  a thin colour rule above the button, on white

Deterministic (fixed seed), so running it again reproduces the committed
files byte for byte:  python3 tools/artwork/make_about_art.py resources
"""
import math
import os
import random
import struct
import sys

SKY_W, SKY_H = 400, 140
MARK = 48
RULE_W, RULE_H = 400, 3


def write_bmp(path, width, height, pixel):
    """pixel(x, y) -> (r, g, b) floats in 0..1, y = 0 at the top."""
    row_bytes = (width * 3 + 3) // 4 * 4
    image = bytearray()
    for y in range(height - 1, -1, -1):  # BMP rows run bottom-up
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes(max(0, min(255, int(c * 255 + 0.5))) for c in (b, g, r))
        row += b"\0" * (row_bytes - len(row))
        image += row
    header = struct.pack("<2sIHHI", b"BM", 54 + len(image), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(image), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + image)


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def smooth(t):
    return t * t * (3 - 2 * t)


class ValueNoise:
    def __init__(self, rng, size=64):
        self.size = size
        self.grid = [rng.random() for _ in range(size * size)]

    def at(self, x, y):
        n = self.size
        x0, y0 = math.floor(x), math.floor(y)
        fx, fy = smooth(x - x0), smooth(y - y0)
        def g(i, j):
            return self.grid[(j % n) * n + (i % n)]
        top = g(x0, y0) + (g(x0 + 1, y0) - g(x0, y0)) * fx
        bottom = g(x0, y0 + 1) + (g(x0 + 1, y0 + 1) - g(x0, y0 + 1)) * fx
        return top + (bottom - top) * fy

    def fbm(self, x, y, octaves=5):
        total, amplitude, scale = 0.0, 0.5, 1.0
        for _ in range(octaves):
            total += amplitude * self.at(x * scale, y * scale)
            amplitude *= 0.5
            scale *= 2.03
        return total


def sky(rng):
    noise = ValueNoise(rng)
    zenith, horizon = (0.027, 0.035, 0.094), (0.110, 0.090, 0.220)
    teal, rose = (0.10, 0.42, 0.55), (0.55, 0.22, 0.48)
    stars = []
    for _ in range(260):
        brightness = rng.random() ** 3
        warmth = rng.random()
        colour = mix((1.0, 0.82, 0.62), (0.70, 0.86, 1.0), warmth)
        stars.append((rng.uniform(0, SKY_W), rng.uniform(0, SKY_H), 0.35 + 1.6 * brightness,
                      0.25 + 0.75 * brightness, colour))
    for _ in range(3):  # a few bright ones with a long soft halo
        stars.append((rng.uniform(40, SKY_W - 40), rng.uniform(15, SKY_H - 30), 3.2, 1.0,
                      (0.95, 0.97, 1.0)))

    light = [[(0.0, 0.0, 0.0)] * SKY_W for _ in range(SKY_H)]
    for sx, sy, radius, strength, colour in stars:
        reach = int(radius * 4) + 1
        for y in range(max(0, int(sy) - reach), min(SKY_H, int(sy) + reach + 1)):
            for x in range(max(0, int(sx) - reach), min(SKY_W, int(sx) + reach + 1)):
                d2 = ((x + 0.5 - sx) ** 2 + (y + 0.5 - sy) ** 2) / (radius * radius)
                w = strength * math.exp(-2.2 * d2)
                if w > 0.002:
                    old = light[y][x]
                    light[y][x] = tuple(o + w * c for o, c in zip(old, colour))

    def pixel(x, y):
        v = y / (SKY_H - 1)
        base = mix(zenith, horizon, smooth(v))
        # A diagonal band of cloud, denser towards its middle.
        u = (x / SKY_W) * 3.0
        band = math.exp(-((v - 0.62 + 0.35 * (x / SKY_W - 0.5)) ** 2) / 0.045)
        cloud = smooth(min(1.0, max(0.0, (noise.fbm(u, v * 1.1) - 0.25) * 2.2))) * band
        tint = mix(teal, rose, smooth(min(1.0, max(0.0, noise.fbm(u + 7.3, v + 2.1) * 1.6 - 0.3))))
        c = tuple(b + 0.5 * cloud * t for b, t in zip(base, tint))
        c = tuple(a + l for a, l in zip(c, light[y][x]))
        # Tone-map softly so bright stars roll off instead of clipping.
        return tuple(1.0 - math.exp(-k) for k in c)

    return pixel


def mark():
    centre = (MARK - 1) / 2
    background = (1.0, 1.0, 1.0)
    core = (0.16, 0.22, 0.45)
    glow = (0.36, 0.62, 0.85)

    def pixel(x, y):
        dx, dy = x - centre, y - centre
        r = math.hypot(dx, dy) / centre
        # A four-pointed star: thin rays along the axes over a round glow.
        rays = math.exp(-abs(dx) / 1.6) * max(0.0, 1 - abs(dy) / centre) + \
               math.exp(-abs(dy) / 1.6) * max(0.0, 1 - abs(dx) / centre)
        halo = math.exp(-r * r * 5.0)
        t = min(1.0, 0.9 * halo + 0.8 * rays)
        colour = mix(glow, core, min(1.0, halo * 1.4))
        return mix(background, colour, t)

    return pixel


def rule():
    stops = [(0.0, (1.0, 1.0, 1.0)), (0.15, (0.36, 0.62, 0.85)), (0.5, (0.45, 0.30, 0.70)),
             (0.85, (0.93, 0.62, 0.40)), (1.0, (1.0, 1.0, 1.0))]

    def pixel(x, _y):
        t = x / (RULE_W - 1)
        for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
            if t <= t1:
                return mix(c0, c1, smooth((t - t0) / (t1 - t0)))
        return stops[-1][1]

    return pixel


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "."
    rng = random.Random(20261206)
    write_bmp(os.path.join(out, "AboutSky.bmp"), SKY_W, SKY_H, sky(rng))
    write_bmp(os.path.join(out, "AboutMark.bmp"), MARK, MARK, mark())
    write_bmp(os.path.join(out, "AboutRule.bmp"), RULE_W, RULE_H, rule())


if __name__ == "__main__":
    main()
