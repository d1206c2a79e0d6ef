#!/usr/bin/env python3
"""The Windows executable checked from the file itself: a hardened GUI
program that imports only system DLLs (winmm not among them), carrying every
resource under its number from facts.json, all in language 0x1009, and the
manifest that tells Windows how to run it."""
import struct
import unittest
from xml.etree import ElementTree

from tests.win32.harness import CONTROLS, EXE, RC_BITMAPS, const, facts, function

SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "shell32.dll",
               "msvcrt.dll", "ole32.dll", "oleaut32.dll", "oleacc.dll"}
RT_BITMAP, RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 2, 3, 14, 16, 24
LANGUAGE = 0x1009
# The project's version and the Windows build number of the release.
VERSION = (*map(int, facts.VERSION.split(".")), 1)
VISTA, WIN7, WIN8, WIN81, WIN10 = (  # Windows 10 stands for 11 too
    "{e2011457-1546-43c5-a5fe-008deee3d3f0}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}")


class PortableExecutable:
    def __init__(self, data):
        self.data = data
        pe, = struct.unpack_from("<I", data, 0x3C)
        assert data[pe:pe + 4] == b"PE\0\0"
        sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
        opt = pe + 24
        self.magic, = struct.unpack_from("<H", data, opt)
        self.subsystem, self.dll_characteristics = struct.unpack_from(
            "<HH", data, opt + 68)
        self.directories = [struct.unpack_from("<II", data, opt + 112 + 8 * i)
                            for i in range(16)]
        table = opt + optional_size
        self.sections = [struct.unpack_from("<8xIIII", data, table + 40 * i)
                         for i in range(sections)]

    def offset(self, rva):
        for size, address, raw_size, raw in self.sections:
            if address <= rva < address + max(size, raw_size):
                return raw + rva - address
        raise ValueError(hex(rva))

    def string(self, rva):
        at = self.offset(rva)
        return self.data[at:self.data.index(b"\0", at)].decode()

    def imports(self):
        at = self.offset(self.directories[1][0])
        names = []
        while True:
            name_rva = struct.unpack_from("<12xI", self.data, at)[0]
            if not name_rva:
                return names
            names.append(self.string(name_rva))
            at += 20

    def resources(self):
        """{(type, id, language): data}; a named type or id as its text."""
        base = self.offset(self.directories[2][0])
        found = {}

        def walk(at, path):
            named, ids = struct.unpack_from("<12xHH", self.data, at)
            for i in range(named + ids):
                name, target = struct.unpack_from("<II", self.data, at + 16 + 8 * i)
                if name & 0x80000000:
                    start = base + (name & 0x7FFFFFFF)
                    length, = struct.unpack_from("<H", self.data, start)
                    name = self.data[start + 2:start + 2 + 2 * length].decode(
                        "utf-16-le")
                if target & 0x80000000:
                    walk(base + (target & 0x7FFFFFFF), path + (name,))
                else:
                    rva, size = struct.unpack_from("<II", self.data, base + target)
                    at_data = self.offset(rva)
                    found[path + (name,)] = self.data[at_data:at_data + size]

        walk(base, ())
        return found


class ExeFile(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.exe = PortableExecutable(EXE.read_bytes())
        cls.resources = cls.exe.resources()

    def test_hardened_gui_program_importing_system_dlls_only(self):
        self.assertEqual(self.exe.magic, 0x20B)  # 64-bit
        self.assertEqual(self.exe.subsystem, 2)  # GUI, no console
        high_entropy, dynamic_base, nx_compat = 0x20, 0x40, 0x100
        for flag in (high_entropy, dynamic_base, nx_compat):
            self.assertTrue(self.exe.dll_characteristics & flag, hex(flag))
        imports = {name.lower() for name in self.exe.imports()}
        self.assertLessEqual(imports, SYSTEM_DLLS)
        self.assertNotIn("winmm.dll", imports)

    def test_resources_by_number_and_language(self):
        skinned = [(c.id, c.w, c.h) for c in CONTROLS.values()
                   if c.kind == "SkinnedButton"]
        sizes = {const("BMP_FACE"): (const("WINDOW_W"), const("WINDOW_H"))}
        for id, w, h in skinned:
            sizes[function("skinNormal")(id)] = sizes[function("skinPressed")(id)] = (w, h)
        sounds = {function("soundResource")(k) for k in range(1, const("SOUNDS") + 1)}
        groups = {const("ICON_GROUP_EXE"): 2, const("ICON_GROUP_SMALL"): 1}
        # Also the game's own balls and every picture at 2x, checked at
        # their sizes by the program's tests at 192 DPI.
        expected = ({(RT_BITMAP, id) for id in sizes.keys() | RC_BITMAPS.keys()}
                    | {(RT_ICON, id) for id in groups.values()}
                    | {(RT_GROUP_ICON, id) for id in groups}
                    | {("WAVE", id) for id in sounds}
                    | {(RT_VERSION, const("VERSION_RECORD")), (RT_MANIFEST, 1)})
        self.assertEqual({key[:2] for key in self.resources}, expected)
        self.assertEqual({key[2] for key in self.resources}, {LANGUAGE})

        data = {key[:2]: value for key, value in self.resources.items()}
        for id, size in sizes.items():
            w, h, _, bits = struct.unpack_from("<4xiiHH", data[RT_BITMAP, id])
            self.assertEqual(((w, abs(h)), bits), (size, 24), id)
        for group, icon in groups.items():
            count, = struct.unpack_from("<4xH", data[RT_GROUP_ICON, group])
            width, icon_id = struct.unpack_from("<B11xH", data[RT_GROUP_ICON, group], 6)
            self.assertEqual((count, width, icon_id), (1, 32, icon), group)
        for id in sounds:
            wave = data["WAVE", id]
            self.assertEqual((wave[:4], wave[8:12]), (b"RIFF", b"WAVE"), id)

        record = data[RT_VERSION, const("VERSION_RECORD")]
        fixed = record.index(struct.pack("<I", 0xFEEF04BD))
        (file_ms, file_ls, product_ms, product_ls, _, flags, _,
         file_type) = struct.unpack_from("<8I", record, fixed + 8)
        split = lambda ms, ls: (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
        self.assertEqual(split(file_ms, file_ls), VERSION)
        self.assertEqual(split(product_ms, product_ls), VERSION)
        self.assertEqual((flags, file_type), (0, 1))  # no flags; an application
        self.assertIn("MIT License, see LICENSE".encode("utf-16-le"), record)

    def test_manifest(self):
        """Vista to 11, no elevation, themed controls, UTF-8 narrow calls,
        long paths; scaled by the program at each monitor's DPI."""
        manifest = ElementTree.fromstring(self.resources[RT_MANIFEST, 1, LANGUAGE])
        found = [(e.tag.split("}")[1], e.attrib, (e.text or "").strip())
                 for e in manifest.iter()]
        tagged = lambda *names: [(n, a, t) for n, a, t in found if n in names]
        self.assertEqual(tagged("supportedOS"), [("supportedOS", {"Id": id}, "")
                         for id in (VISTA, WIN7, WIN8, WIN81, WIN10)])
        self.assertEqual(tagged("requestedExecutionLevel")[0][1],
                         {"level": "asInvoker", "uiAccess": "false"})
        self.assertEqual(tagged("assemblyIdentity")[1][1], {
            "type": "win32", "name": "Microsoft.Windows.Common-Controls",
            "version": "6.0.0.0", "processorArchitecture": "*",
            "publicKeyToken": "6595b64144ccf1df", "language": "*"})
        settings = manifest.find("*/{urn:schemas-microsoft-com:asm.v3}windowsSettings")
        self.assertEqual([(e.tag, e.text) for e in settings], [
            ("{http://schemas.microsoft.com/SMI/2019/WindowsSettings}activeCodePage", "UTF-8"),
            ("{http://schemas.microsoft.com/SMI/2016/WindowsSettings}longPathAware", "true"),
            ("{http://schemas.microsoft.com/SMI/2005/WindowsSettings}dpiAware", "true/pm"),
            ("{http://schemas.microsoft.com/SMI/2016/WindowsSettings}dpiAwareness",
             "PerMonitorV2, PerMonitor")])


if __name__ == "__main__":
    unittest.main(verbosity=2)
