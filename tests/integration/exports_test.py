#!/usr/bin/python3
"""The dialog's exports through `stellane`, read back by readers of our own
choosing: the PSD file (without a photo) by psd-tools for the structure and
the pixels, exiftool for the resources and ImageMagick for a second
decoding; the presets page by Python's HTML parser, with the pictures it
links to measured by ImageMagick.

Usage: exports_test.py STELLANE (run in the build folder)
"""
import glob
import html.parser
import json
import os
import shutil
import subprocess
import sys
import unittest
import urllib.parse

import numpy as np
from psd_tools import PSDImage
from psd_tools.constants import BlendMode, ColorMode, Compression

STELLANE = ""
SCRATCH = "exports-tmp"
SIZE = (23, 37)  # odd sizes catch swapped axes


def run(*args):
    subprocess.run([STELLANE, *args, "-q", "--seed", "11"], check=True)


def export(depth):
    path = os.path.join(SCRATCH, f"e{depth}.psd")
    run("psd", path, "--size", "37x23", "--depth", str(depth))
    return path


def rendered_layer(depth):
    """`stellane render` with the same stars over a transparent picture,
    writing the rendered layer's transparency: the layer, as ImageMagick
    (16 bits a sample) reads it."""
    ext, kind = {8: ("png", "PNG32:"), 16: ("png", "PNG64:"), 32: ("tif", "")}[depth]
    blank = os.path.join(SCRATCH, f"t{depth}.{ext}")
    out = os.path.join(SCRATCH, f"r{depth}.{ext}")
    subprocess.run(f"convert -size 37x23 xc:none -type TrueColorAlpha -define "
                   f"quantum:format=floating-point -depth {depth} {kind}{blank} 2>/dev/null",
                   shell=True)
    run("render", blank, out, "--glue", "normal", "--replace-alpha")
    raw = subprocess.run(["convert", out, "-depth", "16", "-endian", "MSB", "rgba:-"],
                         capture_output=True, check=True).stdout
    return np.frombuffer(raw, ">u2").reshape(SIZE + (4,)) / 65535


class ExportedPsd(unittest.TestCase):
    def test_every_depth(self):
        # depth: merged channels (16 bits keep the transparency as a fourth),
        # merged compression, the blocks that mark 16/32-bit layers
        cases = {8: (3, Compression.RLE, []), 16: (4, Compression.RLE, [b"Mt16", b"Lr16"]),
                 32: (3, Compression.RAW, [b"Mt32", b"Lr32"])}
        for depth, (channels, compression, keys) in cases.items():
            with self.subTest(depth=depth):
                path = export(depth)
                psd = PSDImage.open(path)
                self.assertEqual((psd.depth, psd.channels, psd.color_mode, psd.height, psd.width),
                                 (depth, channels, ColorMode.RGB) + SIZE)
                self.assertEqual(psd._record.image_data.compression, compression)
                blocks = psd._record.layer_and_mask_information.tagged_blocks
                self.assertEqual([k.value for k in blocks.keys()] if blocks else [], keys)
                # Float files carry the HDR toning block, named "Default".
                mode_data = bytes(psd._record.color_mode_data.value)
                self.assertEqual(mode_data[:4], b"hdrt" if depth == 32 else b"")
                self.assertEqual(b"\x07Default" in mode_data, depth == 32)
                ids = [1005, 1011, 1016, 1035, 1028, 1058, 1024, 1026]
                if depth == 32:
                    ids[6:6] = [1069, 1072]
                resources = psd.image_resources
                self.assertEqual([int(r) for r in resources.keys()], ids)
                # Four identity transfer functions: 0, eleven unset points, 1000,
                # no override; the one layer is the target, in no group.
                identity = ([0] + [65535] * 11 + [1000], 0)
                self.assertEqual([(f.curve, f.override) for f in resources.get_data(1016)],
                                 [identity] * 4)
                self.assertEqual(resources.get_data(1024), 1)
                self.assertEqual(list(resources.get_data(1026)), [0])

                self.assertEqual(len(psd), 1)
                layer = psd[0]
                self.assertEqual((layer.name, layer.blend_mode, layer.opacity),
                                 ("layer 1", BlendMode.NORMAL, 255))
                pixels = layer.numpy()
                # The merged picture: the layer itself where it is opaque.
                merged = psd.numpy()
                self.assertLessEqual(np.abs(merged - pixels[..., :channels]).max(), 1e-6)
                # The layer is the render's (ImageMagick clips floats to 0..1).
                self.assertLessEqual(np.abs(np.clip(pixels, 0, 1) - rendered_layer(depth)).max(),
                                     0.5 / 65535)
                info = subprocess.run(["identify", "-format", "%w %h %z %[label]|", path],
                                      capture_output=True, text=True, check=True).stdout
                self.assertEqual(info, f"37 23 {depth} |37 23 {depth} layer 1|")

    def test_resources_as_exiftool_reads_them(self):
        out = subprocess.run(["exiftool", "-j", "-XResolution", "-DisplayedUnitsX", "-Keywords",
                              "-Caption-Abstract", "-DateCreated", "-Source", export(8)],
                             capture_output=True, text=True, check=True).stdout
        facts = json.loads(out)[0]
        self.assertEqual((facts["XResolution"], facts["DisplayedUnitsX"]), (72, "inches"))
        self.assertEqual((facts["Keywords"], facts["Caption-Abstract"]),
                         ("Stellane", "Made with Stellane"))
        self.assertRegex(facts["DateCreated"], r"^\d{4}:\d\d:\d\d$")
        self.assertTrue(facts["Source"].startswith("https://"))


class Page(html.parser.HTMLParser):
    """The page's pictures (src, alt, width, height) and captions (<b> text)."""

    def __init__(self):
        super().__init__()
        self.images, self.captions, self.bold = [], [], False

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if tag == "img":
            self.images.append((a["src"], a["alt"], int(a["width"]), int(a["height"])))
        self.bold = tag == "b"
        if self.bold:
            self.captions.append("")

    def handle_data(self, data):
        if self.bold:
            self.captions[-1] += data

    def handle_endtag(self, tag):
        self.bold = False


class PresetsPage(unittest.TestCase):
    def test_every_preset_has_its_picture_and_caption(self):
        folder, site = os.path.join(SCRATCH, "presets"), os.path.join(SCRATCH, "site")
        os.makedirs(os.path.join(folder, "sub.q9r"))  # a folder, not a preset
        os.makedirs(site)
        names = ["one", "two", "three", "four", "five", "a&b <i>"]
        for name, shipped in zip(names, sorted(glob.glob("presets/*.q9r"))):
            shutil.copy(shipped, os.path.join(folder, name + ".q9r"))
        for name, text in (("bad.q9r", "xx"), ("notes.txt", "not a preset")):
            with open(os.path.join(folder, name), "w") as f:
                f.write(text)
        result = subprocess.run([STELLANE, "html", "presets", folder, site + "/page.html", "-q"])
        self.assertEqual(result.returncode, 0)
        page = Page()
        with open(os.path.join(site, "page.html"), encoding="latin-1") as f:
            page.feed(f.read())
        # The heading names the folder. Rows of five: the unreadable preset
        # takes a place without a caption, three empty cells end the row.
        self.assertEqual(page.captions[0], "Stellane presets from presets")
        self.assertEqual(sorted(c for c in page.captions[1:] if c), sorted(names))
        self.assertEqual(len(page.captions), 1 + 6 + 3)
        thumbnails = [i for i in page.images if i[0].endswith(".jpg")]
        self.assertEqual(sorted(i[1] for i in thumbnails), sorted(n + ".jpg" for n in names))
        for src, alt, width, height in page.images:
            path = os.path.join(site, urllib.parse.unquote(src))
            self.assertEqual(os.path.basename(path), alt)
            # `convert` decodes every pixel.
            size = subprocess.run(["convert", path, "-format", "%w %h", "info:"],
                                  capture_output=True, text=True, check=True).stdout
            # Thumbnails: the stored 128 x 128 picture, shown at 88; the
            # frame's pieces at their own size.
            thumbnail = alt.endswith(".jpg")
            self.assertEqual(size, "128 128" if thumbnail else f"{width} {height}")
            if thumbnail:
                self.assertEqual((width, height), (88, 88))


if __name__ == "__main__":
    STELLANE = sys.argv[1]
    shutil.rmtree(SCRATCH, ignore_errors=True)
    os.makedirs(SCRATCH)
    unittest.main(argv=sys.argv[:1], verbosity=2)
