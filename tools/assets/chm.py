"""The one post-fix the compiled help needs: chmcmd stamps the time of day
into the file header and into the #SYSTEM record (code 10). Both are cleared
so that the same pages always give the same file; viewers ignore them."""
import struct


def _encint(data, pos):
    value = 0
    while True:
        byte = data[pos]
        pos += 1
        value = (value << 7) | (byte & 0x7F)
        if byte < 0x80:
            return value, pos


def _entries(data):
    """(name, section, offset, length) of every file in the directory."""
    directory = struct.unpack_from("<Q", data, 0x48)[0]
    chunk_size = struct.unpack_from("<I", data, directory + 0x10)[0]
    chunks = struct.unpack_from("<I", data, directory + 0x2C)[0]
    base = directory + 0x54
    for i in range(chunks):
        start = base + i * chunk_size
        if data[start:start + 4] != b"PMGL":
            continue
        end = start + chunk_size - struct.unpack_from("<I", data, start + 4)[0]
        pos = start + 20
        while pos < end:
            n, pos = _encint(data, pos)
            name = data[pos:pos + n].decode("utf-8")
            section, pos = _encint(data, pos + n)
            offset, pos = _encint(data, pos)
            length, pos = _encint(data, pos)
            yield name, section, offset, length


def without_times(data):
    data = bytearray(data)
    if data[:4] != b"ITSF":
        raise ValueError("not a compiled help file")
    data[0x10:0x14] = bytes(4)
    content = struct.unpack_from("<Q", data, 0x58)[0]
    for name, section, offset, length in _entries(data):
        if name == "/#SYSTEM" and section == 0:
            pos, end = content + offset + 4, content + offset + length
            while pos < end:
                code, size = struct.unpack_from("<HH", data, pos)
                if code == 10:
                    data[pos + 4:pos + 4 + size] = bytes(size)
                pos += 4 + size
    return bytes(data)
