"""What the end-to-end tests of the Linux and Windows programs share: the
game's facts, read through tools/facts.py, a program folder as a
player lays it out, and waiting on what they observe."""
import functools
import os
import shutil
import time

ROOT = os.path.normpath(os.path.join(os.path.dirname(__file__), ".."))
RESOURCES = os.path.join(ROOT, "resources")
from tests.pictures import hostile_pictures
from tools import facts
from tools.assets import help_pages
from tools.assets.balls import COLOURS
from tools.pictures import Picture

ID, TEXT, BODY = facts.IDS, facts.TEXTS, COLOURS
W, H, TITLE = facts.WINDOW_W, facts.WINDOW_H, facts.TITLE
windowX, windowY = facts.windowX, facts.windowY
CONTROLS = {c.id: c for c in facts.CONTROLS}
PLACES = [c.id for c in facts.places()]
STATICS = [c.id for c in facts.CONTROLS if c.kind == "Static"]
COLOR, SPORT = TEXT["COLOR_ICONS"], TEXT["SPORT_ICONS"]
IDLE = [1, 2, 1, 2] + [0] * 12  # the values the idle board shows
# What a screen reader calls the controls by id name, and their reading order.
def names(texts=TEXT):
    """What a screen reader calls the controls by id, in the language of texts."""
    return {i: texts["NAME" + n[2:]] for n, i in ID.items() if "NAME" + n[2:] in texts}


NAMES = names()
READING = PLACES + [ID[n] for n in (
    "ID_STATUS", "ID_COUNTDOWN", "ID_ROUNDS", "ID_GAMECLOCK", "ID_QUIT", "ID_COLORCOUNT",
    "ID_BALLCOUNT", "ID_CANCEL", "ID_NEWGAME", "ID_SPORTS", "ID_MINIMISE", "ID_HELP", "ID_CLOSE")]


def place_name(k, value, prefix=COLOR, texts=TEXT):
    """What place k is called while it shows ball value of set prefix, in
    the language of texts."""
    kind = "NAME_SPORT_%d" if prefix == SPORT else "NAME_COLOUR_%d"
    return texts["NAME_PLACE"] % (k, texts[kind % value if value else "NAME_EMPTY"])


def rect(cid, scale=1, face=facts.LANDSCAPE):
    c = next(c for c in face.controls if c.id == cid)
    return tuple(scale * v for v in (c.x, c.y, c.w, c.h))


def centre(cid, scale=1, face=facts.LANDSCAPE):
    x, y, w, h = rect(cid, scale, face)
    return x + w // 2, y + h // 2


def ball_file(prefix, value):
    """The picture, below resources/ or a program's folder, of a ball path
    prefix such as COLOR."""
    return prefix.replace("\\", "/") + "%d.bmp" % value


@functools.lru_cache(maxsize=None)
def art(relative, scale=1):
    """A picture below resources/ (of scale 1 or 2) as a Picture, read once."""
    return Picture.read(os.path.join(RESOURCES, "2x/" * (scale - 1) + relative))


def shown_values(shot, prefix=COLOR, scale=1, face=facts.LANDSCAPE):
    """The value of the ball picture of set prefix that each place shows in
    shot of the window, None where none fits."""
    pictures = {art(ball_file(prefix, v), scale).rgb: v for v in range(8)}
    return [pictures.get(shot.crop(*rect(p, scale, face)).rgb) for p in PLACES]


def lay_out(folder, program, *extras):
    """folder holding the program, the ball folders and the extras (below
    resources/); the program's path in it."""
    os.makedirs(folder, exist_ok=True)
    shutil.copy2(program, folder)
    for part in ("ColorIcons", "SportIcons") + extras:
        source = os.path.join(RESOURCES, part)
        if part.split("/")[0] == "help":  # "help", or "help/ru" in Russian
            help_pages.lay_out(os.path.join(folder, part), (part.split("/") + ["en"])[1])
        elif os.path.isdir(source):
            shutil.copytree(source, os.path.join(folder, part),
                            dirs_exist_ok=True)
        else:
            shutil.copy2(source, folder)
    return os.path.join(folder, os.path.basename(program))


def hostile_folders(top, program):
    """For each hostile file, a program folder below top with it as ball 1:
    (its name, the folder, the program's path)."""
    ball1 = ball_file(COLOR, 1)
    for name, make in hostile_pictures(os.path.join(RESOURCES, ball1)).items():
        folder = os.path.join(top, name)
        shutil.rmtree(folder, ignore_errors=True)
        path = lay_out(folder, program)
        os.remove(os.path.join(folder, ball1))
        make(os.path.join(folder, ball1))
        yield name, folder, path


class Failure(Exception):
    pass


def check(condition, what):
    if not condition:
        raise Failure(what)


def poll(probe, holds=bool, timeout=30.0, step=0.05):
    """Calls probe until holds its value or the time is up: the last value."""
    end = time.monotonic() + timeout
    while True:
        value = probe()
        if holds(value) or time.monotonic() > end:
            return value
        time.sleep(step)


def wait_for(what, probe, timeout=30.0, step=0.05):
    """Polls probe until it returns something true, and returns that."""
    value = poll(probe, timeout=timeout, step=step)
    check(value, "timed out waiting for " + what)
    return value
