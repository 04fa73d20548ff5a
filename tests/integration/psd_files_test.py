#!/usr/bin/python3
"""The dialog's PSD export, written by `stellane psd` without a photo, read
back by readers of our own choosing: psd-tools for the structure and the
pixels, exiftool for the resources, ImageMagick for a second decoding.

Usage: psd_files_test.py STELLANE (run in the build folder)
"""
import json
import os
import shutil
import subprocess
import sys
import unittest

import numpy as np
from psd_tools import PSDImage
from psd_tools.constants import BlendMode, ColorMode, Compression, Resource

STELLANE = ""
SCRATCH = os.path.join("psd-tmp")
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
                self.assertEqual(b"D\0e\0f\0a\0u\0l\0t" in mode_data or b"Default" in mode_data,
                                 depth == 32)
                ids = [1005, 1011, 1016, 1035, 1028, 1058, 1024, 1026]
                if depth == 32:
                    ids[6:6] = [1069, 1072]
                self.assertEqual([int(r) for r in psd.image_resources.keys()], ids)

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


if __name__ == "__main__":
    STELLANE = sys.argv[1]
    shutil.rmtree(SCRATCH, ignore_errors=True)
    os.makedirs(SCRATCH)
    unittest.main(argv=sys.argv[:1], verbosity=2)
