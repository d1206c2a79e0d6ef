"""The facts that the artwork, the Windows build and the tests take from the
game's own sources, so that none carries a copy: the window's geometry and
resource numbers from layout.h, the carried files from resources.txt, the
texts from texts.h, the version from the top CMakeLists.txt and the balls'
body colours from the generated ball_colors.h."""
import os
import re
from collections import namedtuple

ROOT = os.path.normpath(os.path.join(os.path.dirname(__file__), "..", ".."))
HEADER = os.path.join(ROOT, "src", "game", "layout.h")
TEXTS_HEADER = os.path.join(ROOT, "src", "game", "texts.h")
CARRIED_LIST = os.path.join(ROOT, "src", "game", "resources.txt")

Control = namedtuple("Control", "id kind x y w h text")

_ROW = re.compile(
    r'\{(\d+),\s*ControlKind::(\w+),\s*(\d+),\s*(\d+),\s*(\d+),\s*(\d+),\s*"([^"]*)"\}')
_ENUM = re.compile(r"\b(ID_\w+)\s*=\s*(\d+)")
_CONST = re.compile(r"constexpr int (\w+) = (\d+);")


with open(HEADER, encoding="utf-8") as _f:
    LAYOUT = _f.read()


def _table(name):
    table = LAYOUT[LAYOUT.index(name + "[]"):]
    table = table[:table.index("};")]
    controls = [Control(int(i), k, int(x), int(y), int(w), int(h), t)
                for i, k, x, y, w, h, t in _ROW.findall(table)]
    if sum(c.kind == "Place" for c in controls) != CONSTS["PLACES"]:
        raise SystemExit("layout.h: the table %s did not parse" % name)
    return controls


def _rect(name):
    return tuple(map(int, re.search(
        r"%s\{(\d+), (\d+), (\d+), (\d+)\}" % name, LAYOUT).groups()))


IDS = {name: int(v) for name, v in _ENUM.findall(LAYOUT)}
CONSTS = {name: int(v) for name, v in _CONST.findall(LAYOUT)}
CONTROLS = _table("kControls")
WINDOW_W = CONSTS["WINDOW_W"]
WINDOW_H = CONSTS["WINDOW_H"]
TITLE = _rect("titleRect")

# An arrangement of the controls: the window's own, and the one for a screen
# held upright, whose pictures lie under portrait/ beside the window's.
Face = namedtuple("Face", "controls w h title folder")
LANDSCAPE = Face(CONTROLS, WINDOW_W, WINDOW_H, TITLE, "")
PORTRAIT = Face(_table("kPortraitControls"), CONSTS["PORTRAIT_W"], CONSTS["PORTRAIT_H"],
                _rect("portraitTitleRect"), "portrait/")
FACES = (LANDSCAPE, PORTRAIT)


class _Names(dict):
    """The names of layout.h for eval: ids, constants and constexpr int
    functions, each read when first asked for."""

    def __missing__(self, name):
        if name in IDS:
            return IDS[name]
        if name in ("false", "true"):
            return name == "true"
        const = re.search(r"constexpr int %s = ([^;]+);" % name, LAYOUT)
        if const:
            return evaluate(const.group(1))
        params, body = re.search(
            r"constexpr int %s\(([^)]*)\) \{ return ([^;]+); \}" % name,
            LAYOUT).groups()
        names = [p.split()[-1] for p in params.split(",")]
        return lambda *args: evaluate(body, dict(zip(names, args)))


def evaluate(expression, names=()):
    """The value of a C++ integer expression over layout.h, such as
    "skinNormal(ID_CLOSE)"."""
    return eval(expression.replace("/", "//"), {}, _Names(names))


def function(name):
    """A one-line constexpr int function of layout.h, such as skinNormal, as
    a Python function."""
    return _Names()[name]


def ball_bodies():
    """The balls' body colours from ball_colors.h: 0 the empty cell, then
    the colour values 1..7."""
    with open(os.path.join(ROOT, "resources", "ball_colors.h"),
              encoding="utf-8") as f:
        return [tuple(map(int, rgb)) for rgb in
                re.findall(r"\{(\d+), (\d+), (\d+)\}", f.read())]


def _texts():
    with open(TEXTS_HEADER, encoding="utf-8") as f:
        return {k: v.replace("\\\\", "\\") for k, v in
                re.findall(r'constexpr const char \*(\w+) = "((?:[^"\\]|\\.)*)";', f.read())}


def _version():
    with open(os.path.join(ROOT, "CMakeLists.txt"), encoding="utf-8") as f:
        return re.search(r"project\(\w+ VERSION ([\d.]+)", f.read()).group(1)


TEXTS = _texts()
VERSION = _version()


def control(id_name, face=LANDSCAPE):
    """The control of an id name such as "ID_QUIT"."""
    return next(c for c in face.controls if c.id == IDS[id_name])


def places(face=LANDSCAPE):
    """The sixteen places, in order 1..16."""
    return [c for c in face.controls if c.kind == "Place"]


def _carried():
    with open(CARRIED_LIST, encoding="utf-8") as f:
        rows = [line.split() for line in f if not line.startswith("#")]
    return [(id, file, set(programs)) for id, file, *programs in rows]


# (id expression, file under resources/, programs) of every carried file.
CARRIED = _carried()


def carried(program):
    """{resource number: file under resources/} of what program ("win32",
    "sdl" or "web") carries, with the pictures' twins at larger scales."""
    found = {}
    for id, file, programs in CARRIED:
        if program not in programs:
            continue
        found[evaluate(id)] = file
        for scale in range(2, 5):
            twin = "%dx/%s" % (scale, file)
            if (os.path.exists(os.path.join(ROOT, "resources", twin))
                    and (program != "win32" or file.endswith(".bmp"))):
                found[evaluate("atScale(%s,%d)" % (id, scale))] = twin
    return found


# File name of each skinned button's pictures, by its id name.
BUTTONS = [(os.path.basename(file)[:-len(".bmp")], id[len("skinNormal("):-1])
           for id, file, _ in CARRIED if id.startswith("skinNormal(")]
LOOKS = ("normal", "held", "disabled")


def check_box_file(ticked, look):
    """The check box's picture of a look ("normal", "held" or "disabled")."""
    id = "checkBoxPicture(%s,%d)" % ("true" if ticked else "false", LOOKS.index(look))
    return next(file for i, file, _ in CARRIED if i == id)
