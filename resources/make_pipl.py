#!/usr/bin/env python3
"""Writes Stellane.pipl, the plug-in property list embedded as PIPL 16000.

The host reads this list before it loads the module. Windows layout: a 0x0001
word, version 0, the property count, then each property as vendor, key, id,
length and data, all little-endian; four-char codes are stored as the number
they spell, so their bytes appear reversed. Lengths are padded to a multiple
of four with at least one zero byte after every string, because some hosts
step over properties by the stored length without rounding it.

Run it after changing a property; the output is committed so that the build
needs no Python: python3 resources/make_pipl.py resources/Stellane.pipl
"""
import struct
import sys


def code(four):
    assert len(four) == 4
    return struct.pack("<I", int.from_bytes(four.encode("ascii"), "big"))


def pascal(text):
    raw = text.encode("ascii")
    return bytes([len(raw)]) + raw


def cstring(text):
    return text.encode("ascii") + b"\0"


def padded(data, is_string):
    size = len(data) + (1 if is_string else 0)
    size = (size + 3) // 4 * 4
    return data + b"\0" * (size - len(data))


def prop(key, data, is_string=False):
    body = padded(data, is_string)
    return code("8BIM") + code(key) + struct.pack("<II", 0, len(body)) + body


def fici():
    flat = bytes([1, 1, 1, 0])         # straight data, no source copy first
    transparent = bytes([1, 1, 3, 0])  # ... and works with blank data
    return flat * 3 + transparent * 4


PROPERTIES = [
    prop("kind", code("8BFM")),
    prop("name", pascal("Stellane..."), True),
    prop("catg", pascal("Quillwork"), True),
    prop("vers", struct.pack("<I", 4 << 16)),
    prop("8664", cstring("PluginMain"), True),
    prop("hstm", struct.pack("<I", 0) + code("Zrnb") + code("Zrnb") + struct.pack("<h", 16000)
         + cstring("Quillwork Stellane"), True),
    prop("mode", bytes([0x50, 0x00])),
    prop("enbl", cstring("in (PSHOP_ImageMode, RGBMode, GrayScaleMode, RGB48Mode, Gray16Mode) "),
         True),
    prop("fici", fici()),
]


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "Stellane.pipl"
    data = struct.pack("<HII", 1, 0, len(PROPERTIES)) + b"".join(PROPERTIES)
    with open(out, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
