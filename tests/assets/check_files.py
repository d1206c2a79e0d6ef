"""Every committed resource file in the exact format, size and layout the
game loads, and the window face with its fields and cells under the
controls."""
import html
import os
import re
import shutil
import struct
import subprocess
import tempfile
import unittest

from tests.assets.files import ROOT, bitmap, path, read

from tools import catalogue, facts
from tools.assets import balls, build, help_pages, sounds
from tools.pictures import Picture

HELP_SOURCES = os.path.join(ROOT, "tools", "assets", "help")
with open(os.path.join(HELP_SOURCES, "quintara.hhp"), encoding="utf-8") as _f:
    HELP_FILES = _f.read().split("[FILES]")[1].split()


class Bitmaps(unittest.TestCase):
    def test_buttons_and_check_box_have_their_controls_size(self):
        for face in facts.FACES:
            for name, id_name in facts.BUTTONS:
                c = facts.control(id_name, face)
                for suffix in ("", "-pressed"):
                    w, h, _ = bitmap(face.folder + "buttons", name + suffix + ".bmp")
                    self.assertEqual((w, h), (c.w, c.h), face.folder + name + suffix)
            box = facts.control("ID_SPORTS", face)
            w, h, _ = bitmap(face.folder + facts.check_box_file(True, "held"))
            self.assertEqual((w, h), (box.w, box.h), face.folder + "check box")

    def test_pressed_differs_from_normal(self):
        for name, _ in facts.BUTTONS:
            self.assertNotEqual(bitmap("buttons", name + ".bmp")[2],
                                bitmap("buttons", name + "-pressed.bmp")[2], name)

    def test_balls_are_place_sized_on_cell_grey(self):
        place = facts.places()[0]
        for folder, kind in (("ColorIcons", "ball"), ("SportIcons", "sport")):
            for n in range(8):
                w, h, rows = bitmap(folder, "%s%d.bmp" % (kind, n))
                self.assertEqual((w, h), (place.w, place.h))
                for x, y in ((2, 2), (w - 3, 2), (2, h - 3), (w - 3, h - 3)):
                    self.assertEqual(rows[y][x], balls.CELL, "%s%d at %d,%d" % (kind, n, x, y))
        self.assertEqual(bitmap("ColorIcons", "ball0.bmp")[2],
                         bitmap("SportIcons", "sport0.bmp")[2])

    def test_sport_balls_differ_without_colour(self):
        # Seen in grey only, every two sport balls must still look different.
        grey = [[0.299 * r + 0.587 * g + 0.114 * b for row in bitmap(
            "SportIcons", "sport%d.bmp" % n)[2] for r, g, b in row] for n in range(1, 8)]
        for i in range(7):
            for j in range(i + 1, 7):
                diff = sum(abs(a - b) for a, b in zip(grey[i], grey[j])) / len(grey[i])
                self.assertGreater(diff, 10, "sport%d and sport%d" % (i + 1, j + 1))


class Face(unittest.TestCase):
    """Each face: the window's, the upright and the sideways one."""

    @classmethod
    def setUpClass(cls):
        cls.faces = [(face, bitmap(face.folder + "face.bmp")) for face in facts.FACES]

    def test_size(self):
        for face, (w, h, _) in self.faces:
            self.assertEqual((w, h), (face.w, face.h))

    def test_white_field_under_every_static(self):
        for face, (_, _, rows) in self.faces:
            for c in face.controls:
                if c.kind == "Static":
                    for y in range(c.y, c.y + c.h):
                        for x in range(c.x, c.x + c.w):
                            self.assertEqual(rows[y][x], (255, 255, 255),
                                             "static %d at %d,%d" % (c.id, x, y))

    def test_empty_cell_under_every_place(self):
        _, _, cell = bitmap("ColorIcons", "ball0.bmp")
        for face, (_, _, rows) in self.faces:
            for p in facts.places(face):
                under = [row[p.x:p.x + p.w] for row in rows[p.y:p.y + p.h]]
                self.assertEqual(under, cell, "place %d" % p.id)

    def test_buttons_painted_as_their_normal_pictures(self):
        # Within a level: the renderer's gradients shift by one in a taller
        # picture; the programs draw the skin itself over its place anyway.
        for face, (_, _, rows) in self.faces:
            for name, id_name in facts.BUTTONS:
                c = facts.control(id_name, face)
                under = [v for row in rows[c.y:c.y + c.h] for p in row[c.x:c.x + c.w] for v in p]
                skin = [v for row in bitmap(face.folder + "buttons", name + ".bmp")[2]
                        for p in row for v in p]
                self.assertLessEqual(max(abs(a - b) for a, b in zip(under, skin)), 1,
                                     face.folder + name)

    def test_title_strip_and_ground(self):
        for face, (w, h, rows) in self.faces:
            left_of_keys = facts.control("ID_MINIMISE", face).x - 2
            self.assertEqual(rows[2][left_of_keys], (0x3F, 0x10, 0x10))
            self.assertEqual(rows[face.title[3] + 3][w // 2], (0xF0, 0xE0, 0xCF))


class Sounds(unittest.TestCase):
    def chunks(self, data):
        self.assertEqual(data[:4], b"RIFF")
        self.assertEqual(struct.unpack_from("<I", data, 4)[0], len(data) - 8)
        self.assertEqual(data[8:12], b"WAVE")
        pos, found = 12, []
        while pos < len(data):
            kind, size = struct.unpack_from("<4sI", data, pos)
            found.append((kind, data[pos + 8:pos + 8 + size]))
            pos += 8 + size + (size & 1)
        self.assertEqual(pos, len(data), "chunk sizes do not add up (pad byte?)")
        return found

    def check(self, name, expected, exact):
        found = self.chunks(read("sounds", name + ".wav"))
        self.assertEqual([k for k, _ in found], [b"fmt ", b"data"], name)
        fmt, data = found[0][1], found[1][1]
        self.assertEqual(len(fmt), 16, name)
        tag, channels, rate, byte_rate, align, bits = struct.unpack("<HHIIHH", fmt)
        self.assertEqual((tag, byte_rate, align), (1, rate * align, channels * bits // 8), name)
        channels_, rate_, bits_, size = expected
        self.assertEqual((channels, rate, bits), (channels_, rate_, bits_), name)
        if exact:
            self.assertEqual(len(data), size, name)
        if bits == 8:
            samples = [b - 128 for b in data]
            full = 128
        else:
            samples = struct.unpack("<%dh" % (len(data) // 2), data)
            full = 32768
        self.assertLess(max(abs(s) for s in samples), full * 0.95, name + " clips")
        ends = samples[:channels] + samples[-channels:]
        self.assertLess(max(abs(s) for s in ends), full * 0.02, name + " clicks at an end")

    def test_game_sounds(self):
        for name in sounds.ORDER:
            self.check(name, sounds.FORMATS[name], exact=True)

    def test_alert(self):
        self.check("alert", sounds.ALERT, exact=False)


class Icon(unittest.TestCase):
    def test_one_256_colour_entry_with_mask(self):
        data = read("quintara.ico")
        self.assertEqual(struct.unpack_from("<HHH", data), (0, 1, 1))
        w, h, colours, _, planes, bits, size, offset = struct.unpack_from("<BBBBHHII", data, 6)
        self.assertEqual((w, h, colours, planes, bits, offset), (32, 32, 0, 1, 8, 22))
        self.assertEqual(offset + size, len(data))
        hsize, bw, bh, _, bpp, compression = struct.unpack_from("<IiiHHI", data, offset)
        self.assertEqual((hsize, bw, bh, bpp, compression), (40, 32, 64, 8, 0))
        mask = data[offset + 40 + 1024 + 32 * 32:]
        self.assertEqual(len(mask), 32 * 4)
        transparent = sum(bin(b).count("1") for b in mask)
        self.assertTrue(0 < transparent < 32 * 32 // 2, transparent)
        self.assertTrue(mask[-4] & 0x80, "bottom-left corner should be clear")

    def test_mask_matches_desktop_picture(self):
        data = read("quintara.ico")
        mask = data[22 + 40 + 1024 + 32 * 32:]
        png = Picture.read(read("quintara.png"), "RGBA")
        for y in range(32):
            for x in range(32):
                clear = mask[(31 - y) * 4 + x // 8] >> (7 - x % 8) & 1
                self.assertEqual(clear, png.pixel(x, y)[3] < 128, "pixel %d,%d" % (x, y))

    def test_desktop_pictures(self):
        for size in build.ICON_SIZES:
            name = build.icon_name(size)
            data = read(name)
            self.assertEqual(data[:8], b"\x89PNG\r\n\x1a\n")
            self.assertEqual(struct.unpack_from(">II", data, 16), (size, size), name)


class Others(unittest.TestCase):
    def test_help_is_a_compiled_help_file(self):
        data = read("quintara-help.chm")
        self.assertEqual(data[:4], b"ITSF")
        for page in (b"/index.html", b"/playing.html", b"/buttons.html"):
            self.assertIn(page, data)

    @unittest.skipUnless(shutil.which("extract_chmLib"), "extract_chmLib not installed")
    def test_help_unpacks_to_every_page_with_the_games_texts(self):
        # In English and each shipped language, in its code page as declared.
        for lang in help_pages.chm_languages():
            texts = dict(facts.TEXTS, **(catalogue.translations(lang) if lang != "en" else {}))
            code_page = help_pages.code_page(lang)
            with self.subTest(lang), tempfile.TemporaryDirectory() as tmp:
                subprocess.run(["extract_chmLib", path(help_pages.chm_name(lang)), tmp],
                               check=True, stdout=subprocess.DEVNULL)
                for name in HELP_FILES:
                    self.assertTrue(os.path.isfile(os.path.join(tmp, name)), name)
                with open(os.path.join(tmp, "playing.html"), encoding=code_page) as f:
                    page = html.unescape(f.read())  # Hindi's letters are references
                self.assertNotIn("{TEXT_", page)
                self.assertIn(texts["TEXT_STUDY"], page)
                self.assertIn("charset=" + help_pages.charset(lang), page)

    def test_help_links_lead_to_pages_in_the_file(self):
        listed = set(HELP_FILES)
        for name in os.listdir(HELP_SOURCES):
            with open(os.path.join(HELP_SOURCES, name), encoding="utf-8") as f:
                for target in re.findall(r'(?:href|src|value)="([^"#:]+\.\w+)"', f.read()):
                    self.assertIn(target, listed, name)


if __name__ == "__main__":
    unittest.main(verbosity=2)
