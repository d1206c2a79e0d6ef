"""RGB pictures for the end-to-end tests of both programs: the bitmap files
they draw, and what the screen shows."""
import struct


class Picture:
    def __init__(self, w, h, rgb):
        self.w, self.h, self.rgb = w, h, rgb

    def pixel(self, x, y):
        return tuple(self.rgb[3 * (y * self.w + x):][:3])

    def crop(self, x, y, w, h):
        rows = (self.rgb[3 * ((y + r) * self.w + x):][:3 * w] for r in range(h))
        return Picture(w, h, b"".join(rows))

    def __eq__(self, other):
        return isinstance(other, Picture) and (
            (self.w, self.h, self.rgb) == (other.w, other.h, other.rgb))

    def differing(self, other, rects):
        """Where this picture and other, of its size, differ outside rects:
        the (x, y) of each such pixel."""
        covered = bytearray(self.w * self.h)
        for x, y, w, h in rects:
            for row in range(y, y + h):
                covered[row * self.w + x:row * self.w + x + w] = b"\1" * w
        a, b = memoryview(self.rgb), memoryview(other.rgb)
        return [(i % self.w, i // self.w) for i in range(self.w * self.h)
                if not covered[i] and a[3 * i:3 * i + 3] != b[3 * i:3 * i + 3]]

    def halved(self):
        """Each 2 x 2 block of pixels as their mean."""
        rows = [self.crop(0, y, self.w, 1).rgb for y in range(self.h)]
        return Picture(self.w // 2, self.h // 2, bytes(
            (a[i] + a[i + 3] + b[i] + b[i + 3] + 2) // 4
            for a, b in zip(rows[0::2], rows[1::2])
            for x in range(0, 6 * (self.w // 2), 6) for i in (x, x + 1, x + 2)))

    def difference(self, other):
        """The mean absolute difference of two pictures' colour values."""
        return sum(abs(p - q) for p, q in zip(self.rgb, other.rgb)) / len(self.rgb)

    def save(self, path):
        with open(path, "wb") as f:
            f.write(b"P6\n%d %d\n255\n" % (self.w, self.h) + self.rgb)


def read_bmp(path):
    """A 24-bit uncompressed bitmap file, rows top-down or bottom-up."""
    with open(path, "rb") as f:
        data = f.read()
    offset, = struct.unpack_from("<I", data, 10)
    w, h, _, bits = struct.unpack_from("<iiHH", data, 18)
    if bits != 24:
        raise ValueError("%s is not a 24-bit bitmap" % path)
    stride = (3 * w + 3) & ~3
    rows = [data[offset + r * stride:][:3 * w] for r in range(abs(h))]
    if h > 0:
        rows.reverse()
    bgr = b"".join(rows)
    rgb = bytearray(len(bgr))
    rgb[0::3], rgb[1::3], rgb[2::3] = bgr[2::3], bgr[1::3], bgr[0::3]
    return Picture(w, abs(h), bytes(rgb))


def _bmp(w, h, bits=24, compression=0, offset=54, data=b"", colours=0):
    return (b"BM" + struct.pack("<IHHI", 54 + len(data), 0, 0, offset) +
            struct.pack("<IiiHHIIiiII", 40, w, h, 1, bits, compression,
                        len(data), 2835, 2835, colours, 0) + data)


def hostile_pictures(good):
    """Files no program may choke on, placed as a ball picture: name ->
    function making one at a path. good is a real ball picture to spoil."""
    import os
    import random
    rows = bytes(48 * 48 * 3)
    # Runs past the end of a row, a delta off the picture, no end mark.
    rle = b"\x00\x04" + b"\xff\x07" * 4 + b"\x00\x02\xff\xff" + b"\x10\x01"
    palette = bytes(1024)
    made = {
        "truncated": lambda: open(good, "rb").read()[:3000],
        "huge": lambda: _bmp(30000, 30000, data=bytes(100)),
        "zero-width": lambda: _bmp(0, 48, data=rows),
        "negative-width": lambda: _bmp(-48, 48, data=rows),
        "bad-offset": lambda: _bmp(48, 48, offset=0x7FFFFFF0, data=rows),
        "hostile-rle": lambda: _bmp(48, 48, 8, 1, 54 + 1024, palette + rle),
        # Within the pixel budget, but taller than SDL can stretch.
        "tall": lambda: _bmp(48, 70000, 8, 1, 54 + 1024, palette + b"\0\1"),
        "odd-masks": lambda: _bmp(48, 48, 32, 3, 66, struct.pack(
            "<III", 0xF0F0F0F0, 0x0F0F0F0F, 1) + bytes(9216)),
        # A pixel of colour 1 in a palette of one (found by fuzzing).
        "past-the-palette": lambda: _bmp(48, 48, 1, 0, 58, b"\xff\xff\xff\0" +
                                         b"\x80" + bytes(383), colours=1),
        "png": lambda: b"\x89PNG\r\n\x1a\n" + bytes(200),
        "empty": lambda: b"",
        "random": lambda: random.Random(13).randbytes(7000),
    }
    makers = {name: (lambda path, m=m: open(path, "wb").write(m()))
              for name, m in made.items()}
    makers.update({
        "directory": os.mkdir,
        "fifo": os.mkfifo,
        "dev-zero": lambda path: os.symlink("/dev/zero", path),
        "loop": lambda path: os.symlink(os.path.basename(path), path),
    })
    return makers
