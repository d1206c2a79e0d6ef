"""Pictures for the artwork's generator and the tests alike, held in Pillow
images: read from any file Pillow knows (BMP, PNG, PPM), drawn from SVG by
rsvg-convert, compared, cropped and written."""
import io
import struct
import subprocess
import zlib

from PIL import Image, ImageChops, ImageStat


class Picture:
    """A Pillow image in RGB or RGBA; a pixel is a tuple of its mode."""

    def __init__(self, image):
        self.image = image

    @classmethod
    def read(cls, source, mode="RGB"):
        """The picture of a file, given by path or as its bytes."""
        with Image.open(io.BytesIO(source) if isinstance(source, bytes) else source) as image:
            image.load()
            return cls(_in(mode, image))

    @property
    def w(self):
        return self.image.width

    @property
    def h(self):
        return self.image.height

    @property
    def rgb(self):
        """The pixels' red, green and blue bytes, rows top-down."""
        return _in("RGB", self.image).tobytes()

    @property
    def rows(self):
        """Rows top-down, each a list of pixels."""
        pixels = list(self.image.getdata())
        return [pixels[y * self.w:(y + 1) * self.w] for y in range(self.h)]

    def pixel(self, x, y):
        return self.image.getpixel((x, y))

    def crop(self, x, y, w, h):
        return Picture(self.image.crop((x, y, x + w, y + h)))

    def __eq__(self, other):
        return isinstance(other, Picture) and (
            (self.image.mode, self.image.size, self.image.tobytes())
            == (other.image.mode, other.image.size, other.image.tobytes()))

    def differing(self, other, rects):
        """Where this picture and other, of its size, differ outside rects:
        the (x, y) of each such pixel."""
        # Any band that differs makes the pixel's grey level nonzero.
        changed = ImageChops.difference(self.image, other.image).point(
            lambda v: v and 255).convert("L")
        for x, y, w, h in rects:
            changed.paste(0, (x, y, x + w, y + h))
        if not changed.getbbox():
            return []
        return [(i % self.w, i // self.w) for i, v in enumerate(changed.getdata()) if v]

    def halved(self):
        """Each 2 x 2 block of pixels as their mean."""
        return Picture(self.image.reduce(2))

    def difference(self, other):
        """The mean absolute difference of two pictures' colour values."""
        means = ImageStat.Stat(ImageChops.difference(self.image, other.image)).mean
        return sum(means) / len(means)

    def opaque(self, background):
        """The picture laid over a solid colour, in RGB."""
        out = Image.new("RGB", self.image.size, background)
        out.paste(self.image, mask=self.image.getchannel("A"))
        return Picture(out)

    def save(self, path):
        """Written in the format its name ends with."""
        self.image.save(path)

    def bmp(self):
        """An uncompressed Windows bitmap of the image's mode (24 bits a pixel
        in RGB), rows bottom-up, at 2835 pixels a metre (72 DPI) as every
        committed bitmap says."""
        out = io.BytesIO()
        self.image.save(out, "BMP", dpi=(72, 72))
        return out.getvalue()

    def png(self):
        """An RGBA PNG with no time or text chunks. By hand: Pillow filters
        each row as it sees fit, and the committed files' rows are unfiltered."""
        data, stride = _in("RGBA", self.image).tobytes(), 4 * self.w
        raw = b"".join(b"\0" + data[y * stride:(y + 1) * stride] for y in range(self.h))

        def chunk(kind, body):
            return struct.pack(">I", len(body)) + kind + body + struct.pack(
                ">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

        return (b"\x89PNG\r\n\x1a\n"
                + chunk(b"IHDR", struct.pack(">IIBBBBB", self.w, self.h, 8, 6, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))

    def ico(self):
        """A one-entry icon of 256 colours with an AND mask, in the classic
        device-independent layout the resource compiler takes. By hand:
        Pillow's bitmap icons have no mask and no plane count. Pixels with
        alpha below half are transparent; the others must use at most 256
        colours."""
        w, h, rows = self.w, self.h, self.rows
        colours = sorted({px[:3] for row in rows for px in row if px[3] >= 128})
        if len(colours) > 256:
            raise ValueError("icon has %d colours" % len(colours))
        index = {c: i for i, c in enumerate(colours)}
        palette = b"".join(bytes((b, g, r, 0)) for r, g, b in colours)
        palette += b"\0" * (1024 - len(palette))
        xor_stride = (w + 3) & ~3
        and_stride = ((w + 31) // 32) * 4
        xor, mask = b"", b""
        for row in reversed(rows):
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


def _in(mode, image):
    return image if image.mode == mode else image.convert(mode)


def render(svg, w, h):
    """SVG text drawn at w x h pixels, in RGBA."""
    png = subprocess.run(["rsvg-convert", "-w", str(w), "-h", str(h), "-f", "png"],
                         input=svg.encode("utf-8"), stdout=subprocess.PIPE,
                         check=True).stdout
    picture = Picture.read(png, "RGBA")
    if (picture.w, picture.h) != (w, h):
        raise RuntimeError("rsvg-convert gave %dx%d, wanted %dx%d" % (picture.w, picture.h, w, h))
    return picture
