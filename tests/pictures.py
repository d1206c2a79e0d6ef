"""Bitmap files no program may choke on, written by hand: no correct
encoder writes them."""
import struct


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
