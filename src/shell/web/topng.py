#!/usr/bin/env python3
"""Writes a 24-bit bitmap file as a PNG of the same pixels: the page's face,
button and ball pictures, a tenth of the bytes to send."""
import os
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "..",
                                "tools", "assets"))
import imaging  # noqa: E402


def read_bmp(data):
    offset, = struct.unpack_from("<I", data, 10)
    w, h, _, bits = struct.unpack_from("<iiHH", data, 18)
    if bits != 24:
        raise SystemExit("not a 24-bit bitmap")
    stride = (3 * w + 3) & ~3
    rows = [[(data[p + 2], data[p + 1], data[p], 255)
             for p in range(offset + r * stride, offset + r * stride + 3 * w, 3)]
            for r in range(abs(h))]
    return imaging.Picture(w, abs(h), rows[::-1] if h > 0 else rows)


if __name__ == "__main__":
    source, target = sys.argv[1:]
    with open(source, "rb") as f:
        picture = read_bmp(f.read())
    with open(target, "wb") as f:
        f.write(imaging.png_bytes(picture))
