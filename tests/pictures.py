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
