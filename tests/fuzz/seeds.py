"""Writes the picture fuzzer's seed corpus into a folder: the game's own ball
pictures, one of them in every layout a bitmap file can take, and the
hostile files of the end-to-end tests."""
import os
import struct
import sys

from tests.pictures import hostile_pictures
from tools.pictures import Picture

BITFIELDS = 3


def bmp(w, h, bits, pixels, header=40, compression=0, palette=b"",
        masks=b"", used=0):
    """A bitmap file of a layout Pillow does not write; header is 12 (core),
    40, 108 (V4) or 124 (V5), and masks follow a 40-byte header or fill the
    V4 and V5 ones."""
    if header == 12:
        info = struct.pack("<IhhHH", 12, w, h, 1, bits)
    else:
        info = struct.pack("<IiiHHIIiiII", header, w, h, 1, bits, compression,
                           len(pixels), 2835, 2835, used, 0)
        if header > 40:
            info += masks.ljust(16, b"\0") + b"BGRs"
            info = info.ljust(header, b"\0")
            masks = b""
    offset = 14 + len(info) + len(masks) + len(palette)
    return (b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset) +
            info + masks + palette + pixels)


def rows(picture, pack, bits, top_down=False):
    """Each row's pixels packed by pack(r, g, b) -> int, padded to 4 bytes,
    bottom row first unless top_down."""
    out = []
    for y in range(picture.h):
        values = [pack(*picture.pixel(x, y)) for x in range(picture.w)]
        row = bytearray()
        if bits < 8:
            per = 8 // bits
            for x in range(0, len(values), per):
                byte = 0
                for i, v in enumerate(values[x:x + per]):
                    byte |= v << (8 - bits * (i + 1))
                row.append(byte)
        else:
            for v in values:
                row += v.to_bytes(bits // 8, "little")
        out.append(bytes(row.ljust((len(row) + 3) & ~3, b"\0")))
    return b"".join(out if top_down else reversed(out))


def rle(picture, pack, four):
    """RLE8 or RLE4: runs of one index, a literal stretch in the first row,
    a delta over the second, end marks."""
    out = bytearray()
    for y in reversed(range(picture.h)):
        values = [pack(*picture.pixel(x, y)) for x in range(picture.w)]
        if y == picture.h - 2:
            out += b"\0\2\x10\0"
            values = values[16:]
        elif y == 0:
            literal = values[:6]
            out += b"\0\6" + (bytes(a << 4 | b for a, b in zip(
                literal[0::2], literal[1::2])) + b"\0" if four else
                bytes(literal))
            values = values[6:]
        x = 0
        while x < len(values):
            n = 1
            while x + n < len(values) and values[x + n] == values[x] and n < 255:
                n += 1
            out += bytes([n, values[x] * 17 if four else values[x]])
            x += n
        out += b"\0\0"
    return bytes(out[:-2]) + b"\0\1"


def grey(levels):
    def pack(r, g, b):
        return (r * 30 + g * 59 + b * 11) * (levels - 1) // 25500
    palette = b"".join(bytes([v * 255 // (levels - 1)] * 3) + b"\0"
                       for v in range(levels))
    return pack, palette


def cube(r, g, b):
    return r * 6 // 256 * 36 + g * 6 // 256 * 6 + b * 6 // 256


CUBE = b"".join(bytes([b * 51, g * 51, r * 51, 0])
                for r in range(6) for g in range(6) for b in range(6))


def variants(p):
    """One picture in each layout: name -> bytes."""
    g16, pal16 = grey(16)
    bgr = lambda r, g, b: b | g << 8 | r << 16  # noqa: E731
    rgb555 = lambda r, g, b: b >> 3 | g >> 3 << 5 | r >> 3 << 10  # noqa: E731
    rgb565 = lambda r, g, b: b >> 3 | g >> 2 << 5 | r >> 3 << 11  # noqa: E731
    argb = lambda r, g, b: bgr(r, g, b) | 0xFF000000  # noqa: E731
    m565 = struct.pack("<III", 0xF800, 0x07E0, 0x001F)
    m888 = struct.pack("<IIII", 0xFF0000, 0xFF00, 0xFF, 0xFF000000)
    return {
        "1bit": Picture(p.image.convert("1")).bmp(),
        "4bit": bmp(p.w, p.h, 4, rows(p, g16, 4), palette=pal16),
        # A colour table of fewer than 256, which Pillow never writes.
        "8bit": bmp(p.w, p.h, 8, rows(p, cube, 8), palette=CUBE, used=216),
        "16bit": bmp(p.w, p.h, 16, rows(p, rgb555, 16)),
        "24bit": p.bmp(),
        "32bit": Picture(p.image.convert("RGBA")).bmp(),
        "top-down": bmp(p.w, -p.h, 24, rows(p, bgr, 24, True)),
        "core-24bit": bmp(p.w, p.h, 24, rows(p, bgr, 24), header=12),
        "core-8bit": bmp(p.w, p.h, 8, rows(p, cube, 8), header=12,
                         palette=b"".join(CUBE[i:i + 3]
                                          for i in range(0, len(CUBE), 4)) +
                         bytes(3 * 40)),
        "rle8": bmp(p.w, p.h, 8, rle(p, cube, False), compression=1,
                    palette=CUBE, used=216),
        "rle4": bmp(p.w, p.h, 4, rle(p, g16, True), compression=2,
                    palette=pal16),
        "bitfields-16bit": bmp(p.w, p.h, 16, rows(p, rgb565, 16),
                               compression=BITFIELDS, masks=m565),
        "bitfields-32bit": bmp(p.w, p.h, 32, rows(p, argb, 32),
                               compression=BITFIELDS, masks=m888[:12]),
        "v4-32bit": bmp(p.w, p.h, 32, rows(p, argb, 32), header=108,
                        compression=BITFIELDS, masks=m888),
        "v5-32bit": bmp(p.w, -p.h, 32, rows(p, argb, 32, True), header=124,
                        compression=BITFIELDS, masks=m888),
        "v5-24bit": bmp(p.w, p.h, 24, rows(p, bgr, 24), header=124),
    }


def main(folder):
    source = os.path.join(os.path.dirname(__file__), "..", "..", "resources")
    os.makedirs(folder, exist_ok=True)
    balls = []
    for scale in ("", "2x"):
        for kind, stem in (("ColorIcons", "ball"), ("SportIcons", "sport")):
            for n in range(8):
                path = os.path.join(source, scale, kind, "%s%d.bmp" % (stem, n))
                balls.append(path)
                with open(path, "rb") as f, open(os.path.join(
                        folder, "own-%s%s%d.bmp" % (scale, stem, n)), "wb") as o:
                    o.write(f.read())
    for ball in (balls[1], balls[12]):
        picture = Picture.read(ball)
        for name, data in variants(picture).items():
            with open(os.path.join(folder, "%s-%s.bmp" % (
                    os.path.basename(ball)[:-4], name)), "wb") as o:
                o.write(data)
    for name, make in hostile_pictures(balls[1]).items():
        if name not in ("directory", "fifo", "dev-zero", "loop"):
            make(os.path.join(folder, "hostile-" + name))

if __name__ == "__main__":
    main(sys.argv[1])
