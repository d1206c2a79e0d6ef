"""Pictures as plain pixel lists: SVG rendering through rsvg-convert, and the
few file formats the game needs, written byte by byte so that every output is
exactly the format the loaders expect and identical from run to run."""
import struct
import subprocess
import zlib


class Picture:
    """RGBA pixels, rows top-down, each pixel a 4-tuple of 0..255."""

    def __init__(self, w, h, rows):
        self.w, self.h, self.rows = w, h, rows

    def pixel(self, x, y):
        return self.rows[y][x]

    def opaque(self, background):
        """The picture laid over a solid colour."""
        out = []
        for row in self.rows:
            line = []
            for r, g, b, a in row:
                line.append(tuple((c * a + bg * (255 - a) + 127) // 255
                                  for c, bg in zip((r, g, b), background)) + (255,))
            out.append(line)
        return Picture(self.w, self.h, out)


def render(svg, w, h):
    """Render SVG text at w x h pixels."""
    png = subprocess.run(["rsvg-convert", "-w", str(w), "-h", str(h), "-f", "png"],
                         input=svg.encode("utf-8"), stdout=subprocess.PIPE,
                         check=True).stdout
    pic = read_png(png)
    if (pic.w, pic.h) != (w, h):
        raise RuntimeError("rsvg-convert gave %dx%d, wanted %dx%d" % (pic.w, pic.h, w, h))
    return pic


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def read_png(data):
    """Decode an 8-bit RGB or RGBA, non-interlaced PNG (what rsvg-convert and
    this module write)."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG")
    pos, idat = 8, b""
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            w, h, depth, ctype, _, _, interlace = struct.unpack(">IIBBBBB", body)
            if depth != 8 or ctype not in (2, 6) or interlace:
                raise ValueError("unsupported PNG layout")
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    bpp = 4 if ctype == 6 else 3
    raw = zlib.decompress(idat)
    stride = w * bpp
    prev = bytearray(stride)
    rows = []
    for y in range(h):
        ftype = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            if ftype == 1:
                line[i] = (line[i] + a) & 255
            elif ftype == 2:
                line[i] = (line[i] + b) & 255
            elif ftype == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif ftype == 4:
                line[i] = (line[i] + _paeth(a, b, c)) & 255
        prev = line
        if bpp == 4:
            rows.append([tuple(line[i:i + 4]) for i in range(0, stride, 4)])
        else:
            rows.append([tuple(line[i:i + 3]) + (255,) for i in range(0, stride, 3)])
    return Picture(w, h, rows)


def png_bytes(pic):
    """An RGBA PNG with no time or text chunks."""
    raw = b"".join(b"\0" + bytes(c for px in row for c in px) for row in pic.rows)

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(
            ">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", pic.w, pic.h, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def bmp_bytes(pic):
    """24-bit uncompressed Windows bitmap: 40-byte header, no colour table,
    rows bottom-up, each padded to four bytes."""
    stride = (pic.w * 3 + 3) & ~3
    pad = b"\0" * (stride - pic.w * 3)
    body = b"".join(bytes(c for r, g, b, _ in row for c in (b, g, r)) + pad
                    for row in reversed(pic.rows))
    info = struct.pack("<IiiHHIIiiII", 40, pic.w, pic.h, 1, 24, 0, len(body),
                       2835, 2835, 0, 0)
    return struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(body), 0, 0,
                       14 + len(info)) + info + body


def bmp_alpha_bytes(pic):
    """32-bit Windows bitmap with its alpha: a version 4 header whose masks
    say where each channel lies (BGRA in memory), rows bottom-up."""
    body = b"".join(bytes(c for r, g, b, a in row for c in (b, g, r, a))
                    for row in reversed(pic.rows))
    info = struct.pack("<IiiHHIIiiII4I4s36x12x", 108, pic.w, pic.h, 1, 32, 3, len(body),
                       2835, 2835, 0, 0, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000,
                       b"BGRs")
    return struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(body), 0, 0,
                       14 + len(info)) + info + body


def ico_bytes(pic):
    """A one-entry icon of 256 colours with an AND mask, in the classic
    device-independent layout the resource compiler takes. Pixels with alpha
    below half are transparent; the others must use at most 256 colours."""
    w, h = pic.w, pic.h
    colours = sorted({px[:3] for row in pic.rows for px in row if px[3] >= 128})
    if len(colours) > 256:
        raise ValueError("icon has %d colours" % len(colours))
    index = {c: i for i, c in enumerate(colours)}
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in colours)
    palette += b"\0" * (1024 - len(palette))
    xor_stride = (w + 3) & ~3
    and_stride = ((w + 31) // 32) * 4
    xor, mask = b"", b""
    for row in reversed(pic.rows):
        xor += bytes(index[px[:3]] if px[3] >= 128 else 0 for px in row)
        xor += b"\0" * (xor_stride - w)
        bits = 0
        for x, px in enumerate(row):
            if px[3] < 128:
                bits |= 1 << (and_stride * 8 - 1 - x)
        mask += bits.to_bytes(and_stride, "big")
    info = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 8, 0, len(xor) + len(mask),
                       0, 0, 256, 0)
    image = info + palette + xor + mask
    return (struct.pack("<HHH", 0, 1, 1)
            + struct.pack("<BBBBHHII", w, h, 0, 0, 1, 8, len(image), 22) + image)

