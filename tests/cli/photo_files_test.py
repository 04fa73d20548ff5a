#!/usr/bin/python3
"""The files of `stellane psd` over a photo and of `stellane render`'s
metadata, read back by readers of their own: psd-tools and ImageMagick for
the layers, exiftool and ImageMagick for the metadata.

Usage: photo_files_test.py STELLANE-COMMAND... (run in the build folder)
"""
import json
import os
import shutil
import subprocess
import sys
import unittest

import numpy as np
from PIL import Image, ImageCms
from psd_tools import PSDImage
from psd_tools.constants import BlendMode

STELLANE = []
SCRATCH = os.path.join("cli-tmp", "photo_files")


def stellane(*args):
    return subprocess.run(STELLANE + list(args), capture_output=True, text=True)


def photo(depth):
    """An odd-sized, lopsided gradient: swapped channels or rows show."""
    y, x = np.mgrid[0:23, 0:37].astype(np.float64)
    rgb = np.dstack([x / 36, 0.2 + 0.6 * y / 22, (x * y) % 7 / 7])
    if depth == 8:
        return (rgb * 255).round().astype(np.uint8)
    return (rgb * 65535).round().astype(np.uint16)


PROFILE = ImageCms.ImageCmsProfile(ImageCms.createProfile("sRGB")).tobytes()


def save_photo(pixels, path):
    if pixels.dtype == np.uint8:
        Image.fromarray(pixels).save(path, icc_profile=PROFILE, dpi=(300, 300))
    else:  # PIL writes no 16-bit RGB PNG: ImageMagick does, from raw samples
        h, w, _ = pixels.shape
        subprocess.run(["convert", "-size", f"{w}x{h}", "-depth", "16", "-endian", "MSB", "rgb:-",
                        "PNG48:" + path], input=pixels.astype(">u2").tobytes(), check=True)


def rgb16(path, shape):
    """A picture's RGB samples at 16 bits, read by ImageMagick."""
    raw = subprocess.run(["convert", path, "-depth", "16", "-endian", "MSB", "rgb:-"],
                         capture_output=True, check=True).stdout
    return np.frombuffer(raw, ">u2").reshape(shape).astype(np.float64)


def exif_values(path):
    out = subprocess.run(["exiftool", "-j", "-b", "-ICC_Profile", "-XResolution", "-YResolution",
                          "-ResolutionUnit", "-PixelsPerUnitX", "-Comment", "-XMP-dc:Title",
                          "-Artist", path], capture_output=True, text=True, check=True)
    values = json.loads(out.stdout)[0]
    values.pop("SourceFile")
    return values


class PsdOverPhoto(unittest.TestCase):
    # glue, photo depth, layer 1's blend mode (None: glued by the plug-in,
    # normal mode, with a note)
    CASES = [
        ("screen", 8, BlendMode.SCREEN),
        ("harsh diff", 8, BlendMode.DIFFERENCE),  # |b - s|
        ("difference", 8, BlendMode.EXCLUSION),  # b + s - 2bs
        ("soft light", 8, None),  # not the PSD mode's formula
        ("overlay", 16, BlendMode.OVERLAY),
    ]

    def test_layers_modes_and_merged_picture(self):
        for glue, depth, mode in self.CASES:
            with self.subTest(glue=glue, depth=depth):
                folder = os.path.join(SCRATCH, f"{glue}{depth}".replace(" ", "_"))
                os.makedirs(folder, exist_ok=True)
                source = photo(depth)
                path = os.path.join(folder, "photo.png")
                save_photo(source, path)
                # No stars (they are placed at random): the renders repeat.
                args = ["--glue", glue, "--set", "density=0"]
                psd_path, render_path = os.path.join(folder, "o.psd"), os.path.join(folder, "r.png")
                run = stellane("psd", psd_path, path, *args)
                self.assertEqual(run.returncode, 0, run.stderr)
                self.assertEqual("no PSD blend mode" in run.stderr, mode is None, run.stderr)
                self.assertEqual(stellane("render", path, render_path, "-q", *args).returncode, 0)

                psd = PSDImage.open(psd_path)
                self.assertEqual([layer.name for layer in psd], ["Background", "layer 1"])
                self.assertEqual(psd[1].blend_mode, mode or BlendMode.NORMAL)
                full = 255.0 if depth == 8 else 65535.0
                step = 1.01 / full  # the 16-bit host range rounds by one step
                background = psd[0].numpy()[..., :3]
                self.assertLessEqual(np.abs(background - source / full).max(), step)
                # The merged picture is the render's; the editor's composite of
                # the layers gives it too, within the glue's rounding.
                rendered = rgb16(render_path, source.shape) / 65535
                merged = psd.numpy()[..., :3]
                self.assertLessEqual(np.abs(merged - rendered).max(), step)
                composite = psd.composite(force=True)
                composite = np.asarray(composite.convert("RGB"), dtype=np.float64) / 255
                self.assertLessEqual(np.abs(composite - merged).max(), 3 / 255 + step)

                if depth == 8:  # the photo's profile and resolution come along
                    facts = exif_values(psd_path)
                    self.assertEqual(facts["ICC_Profile"], exif_values(path)["ICC_Profile"])
                    self.assertEqual((facts["XResolution"], facts["YResolution"]), (300, 300))


class MetadataSurvives(unittest.TestCase):
    def test_profile_resolution_exif_xmp_and_comment(self):
        for ext in ("jpg", "png", "tif"):
            with self.subTest(ext=ext):
                folder = os.path.join(SCRATCH, "meta_" + ext)
                os.makedirs(folder, exist_ok=True)
                source, out = os.path.join(folder, "in." + ext), os.path.join(folder, "out." + ext)
                Image.fromarray(photo(8)).save(source, icc_profile=PROFILE, dpi=(300, 300))
                subprocess.run(["exiftool", "-q", "-overwrite_original", "-Comment=dusk",
                                "-XMP-dc:Title=Bay", "-Artist=Ann", source], check=True)
                before = exif_values(source)
                self.assertIn("ICC_Profile", before)
                self.assertIn("Title", before)
                self.assertTrue({"XResolution", "PixelsPerUnitX"} & before.keys(), before)
                run = stellane("render", source, out, "-q", "--glue", "screen")
                self.assertEqual(run.returncode, 0, run.stderr)
                after = exif_values(out)
                # EXIF (Artist) rides in its own TIFF directory, which the
                # TIFF writer does not carry.
                if ext == "tif":
                    before.pop("Artist", None)
                self.assertEqual(after, before)

    def test_jpeg_quality(self):
        folder = os.path.join(SCRATCH, "quality")
        os.makedirs(folder, exist_ok=True)
        source = os.path.join(folder, "in.png")
        Image.fromarray(photo(8)).save(source)
        for args, quality in (([], "92"), (["--quality", "60"], "60")):
            out = os.path.join(folder, "q%s.jpg" % quality)
            self.assertEqual(stellane("render", source, out, "-q", *args).returncode, 0)
            estimate = subprocess.run(["identify", "-format", "%Q", out],
                                      capture_output=True, text=True).stdout
            self.assertEqual(estimate, quality)


if __name__ == "__main__":
    STELLANE = sys.argv[1:]
    shutil.rmtree(SCRATCH, ignore_errors=True)
    unittest.main(argv=sys.argv[:1], verbosity=2)
