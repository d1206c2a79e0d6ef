"""The game's facts, read from src/game/facts.json by every Python tool and
test: the controls and where each face puts them, the carried pictures and
sounds with their resource numbers, the texts, and the version from the top
CMakeLists.txt. The resource numbers the Windows program has always had are
kept; every other one is given here, in the order of the list, so that two
can never meet."""
import json
import os
import re
from collections import namedtuple

ROOT = os.path.normpath(os.path.join(os.path.dirname(__file__), ".."))
SOURCE = os.path.join(ROOT, "src", "game", "facts.json")
PROGRAMS = ("win32", "sdl", "web")
ARTWORK_SCALES = (1, 2)
FIRST_GIVEN_ID = 3000  # above every fixed number

with open(SOURCE, encoding="utf-8") as _f:
    DATA = json.load(_f)

Control = namedtuple("Control", "id kind x y w h text name")
# An arrangement of the controls: the window's own, and those for a screen
# held upright and for a touch screen held sideways, whose pictures lie under
# their folders beside the window's.
Face = namedtuple("Face", "name controls w h title folder programs")
# A carried file: its symbolic name, file under resources/, the programs
# carrying it and those carrying its 2x twin too, and its number by (face
# name, scale).
Resource = namedtuple("Resource", "name file programs twice ids entry")

IDS = {c["name"]: c["id"] for c in DATA["controls"]}
TEXTS = DATA["texts"]
# The texts a translation gives, in the order of the list; the rest are
# names and paths that stay as they are.
TRANSLATED = [k for k in TEXTS if k not in DATA["untranslated"]]
PLACES = sum(c["kind"] == "Place" for c in DATA["controls"])


def _face(f):
    controls = [Control(c["id"], c["kind"], *f["controls"][c["name"]],
                        c.get("text", ""), c["name"]) for c in DATA["controls"]]
    return Face(f["name"], controls, *f["size"], tuple(f["title"]), f["folder"],
                f["programs"])


FACES = tuple(_face(f) for f in DATA["faces"])
LANDSCAPE, PORTRAIT, SIDEWAYS = FACES
CONTROLS = LANDSCAPE.controls
WINDOW_W, WINDOW_H, TITLE = LANDSCAPE.w, LANDSCAPE.h, LANDSCAPE.title


def _fixed(entry):
    """The number a resource has always had, or None: a skin's is its
    button's id minus 100, or minus 50 when pressed."""
    if "skin" in entry:
        return IDS[entry["skin"]] - (50 if entry["pressed"] else 100)
    return entry.get("id")


def _resources():
    found, given, taken = [], FIRST_GIVEN_ID, {}
    for entry in DATA["resources"]:
        ids = {}
        faces = FACES if entry.get("eachFace") else FACES[:1]
        for face in faces:
            for scale in ARTWORK_SCALES if entry.get("2x") else (1,):
                number = _fixed(entry) if face is LANDSCAPE and scale == 1 else None
                if number is None:
                    number, given = given, given + 1
                if number in taken:
                    raise SystemExit("facts.json: %s and %s both take %d"
                                     % (taken[number], entry["name"], number))
                taken[number] = entry["name"]
                ids[face.name, scale] = number
        found.append(Resource(entry["name"], entry.get("file"), entry.get("programs", []),
                              entry.get("2x", []), ids, entry))
    return found


RESOURCES = _resources()
BY_NAME = {r.name: r for r in RESOURCES}
CONSTS = dict(DATA["constants"], WINDOW_W=WINDOW_W, WINDOW_H=WINDOW_H, PLACES=PLACES,
              # the game's sounds; the beep is the self-drawn front ends' own
              SOUNDS=sum("sound" in r.entry and r.name != "WAVE_ALERT" for r in RESOURCES),
              **{r.name: r.ids["landscape", 1] for r in RESOURCES})


def resource(name, face=LANDSCAPE, scale=1):
    """The number of a carried file by its name, such as "BMP_FACE"."""
    return BY_NAME[name].ids[face.name, scale]


def atScale(number, scale):
    """The twin at scale of a picture's number at 1x."""
    return next(r.ids[face, scale] for r in RESOURCES for (face, s), n in r.ids.items()
                if n == number and s == 1)


def _by(key, value):
    return next(r for r in RESOURCES if r.entry.get(key) == value)


# The C++ helpers of the same names, for the tests.
def _skin(button_id, pressed):
    return next(r for r in RESOURCES if r.entry.get("skin") and IDS[r.entry["skin"]] == button_id
                and r.entry["pressed"] == pressed).ids["landscape", 1]


def skinNormal(button_id):
    return _skin(button_id, False)


def skinPressed(button_id):
    return _skin(button_id, True)


def soundResource(k):
    return _by("sound", k).ids["landscape", 1]


def placeId(k):
    return places()[k - 1].id


def windowX(screen_w):
    return screen_w // 2 + DATA["window"]["fromCentre"][0]


def windowY(screen_h):
    return screen_h // 2 + DATA["window"]["fromCentre"][1]


def carried(program, scales=ARTWORK_SCALES):
    """{resource number: file under resources/} of what program ("win32",
    "sdl" or "web") carries, every face of it at the scales asked."""
    found = {}
    for r in RESOURCES:
        if program not in r.programs:
            continue
        for (face_name, scale), number in r.ids.items():
            face = next(f for f in FACES if f.name == face_name)
            if program in face.programs and scale in scales and (
                    scale == 1 or program in r.twice):
                file = r.entry.get("webFile", r.file) if program == "web" else r.file
                found[number] = "%s%s%s" % ("" if scale == 1 else "%dx/" % scale,
                                            face.folder, file)
    return found


def control(id_name, face=LANDSCAPE):
    """The control of an id name such as "ID_QUIT"."""
    return next(c for c in face.controls if c.id == IDS[id_name])


def places(face=LANDSCAPE):
    """The sixteen places, in order 1..16."""
    return [c for c in face.controls if c.kind == "Place"]


# File name of each skinned button's pictures, by its id name.
BUTTONS = [(c["skin"], c["name"]) for c in DATA["controls"] if "skin" in c]
LOOKS = ("normal", "held", "disabled")


# A caption painted on the face or a button: its text's key, the typeface
# ("bold", "condensed" or "italic"), size in pixels at 1x, ink and shadow
# (or None), alignment ("start", "middle" or "end") in its box, the
# baseline's distance from the box's top, the button it lies on (its box
# then relative to the button) or None, and how much further right the
# English artwork has it (the upright face's label ends under the check
# box's margin, which the check box's own pictures draw).
Caption = namedtuple("Caption", "text font size ink shadow align x y w h baseline button shift")


def captions(face=LANDSCAPE):
    """The captions the face shows, in the order of the list."""
    found, style = [], DATA["buttonCaption"]
    for entry in DATA["captions"]:
        if "button" in entry:
            c, pad = control(entry["button"], face), style["padding"]
            found.append(Caption(entry["text"], style["font"], style["size"], style["ink"],
                                 style["shadow"], style["align"], pad, 0, c.w - 2 * pad, c.h,
                                 c.h / 2 + style["drop"], entry["button"], 0))
        elif face.name in entry:
            at = dict(entry, **entry[face.name])
            found.append(Caption(at["text"], at["font"], at["size"], at["ink"], at.get("shadow"),
                                 at["align"], *at["box"], at["baseline"], None,
                                 at.get("artworkShift", 0)))
    return found


def caption(key, face=LANDSCAPE):
    return next(c for c in captions(face) if c.text == key)


def check_box_file(ticked, look):
    """The check box's picture of a look ("normal", "held" or "disabled")."""
    return _by("checkBox", [ticked, LOOKS.index(look)]).file


def _version():
    with open(os.path.join(ROOT, "CMakeLists.txt"), encoding="utf-8") as f:
        return re.search(r"project\(\w+ VERSION ([\d.]+)", f.read()).group(1)


VERSION = _version()
