"""Readers for the committed resource files, shared by the asset checks."""
import os
import struct

from tools.pictures import Picture

ROOT = os.path.normpath(os.path.join(os.path.dirname(__file__), "..", ".."))
RESOURCES = os.path.join(ROOT, "resources")


def path(*parts):
    return os.path.join(RESOURCES, *parts)


def read(*parts):
    with open(path(*parts), "rb") as f:
        return f.read()


def bitmap(*parts):
    """(width, height, rows top-down of (r, g, b)) of a 24-bit bitmap file,
    after checking that it is the one layout the game's loaders expect: by
    hand, as Pillow reads many layouts alike."""
    data = read(*parts)
    magic, size, _, _, offset = struct.unpack_from("<2sIHHI", data)
    hsize, w, h, planes, bpp, compression, image, _, _, used, _ = struct.unpack_from(
        "<IiiHHIIiiII", data, 14)
    stride = (w * 3 + 3) & ~3
    problems = [what for what, bad in (
        ("signature", magic != b"BM"), ("file size field", size != len(data)),
        ("header size", hsize != 40), ("pixel offset", offset != 54),
        ("bottom-up rows", h <= 0), ("planes", planes != 1), ("bits", bpp != 24),
        ("compression", compression != 0), ("colour table", used != 0),
        ("image size", image not in (0, stride * h) or len(data) != 54 + stride * h)) if bad]
    if problems:
        raise AssertionError("%s: bad %s" % ("/".join(parts), ", ".join(problems)))
    return w, h, Picture.read(data).rows
