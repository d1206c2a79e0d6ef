"""What the end-to-end tests of the Linux and Windows programs share: the
game's facts, read through tools/assets/layout.py, a program folder as a
player lays it out, and waiting on what they observe."""
import os
import shutil
import sys
import time

ROOT = os.path.normpath(os.path.join(os.path.dirname(__file__), ".."))
RESOURCES = os.path.join(ROOT, "resources")
sys.path.insert(0, os.path.join(ROOT, "tools", "assets"))
import layout  # noqa: E402

ID, TEXT, BODY = layout.IDS, layout.TEXTS, layout.ball_bodies()
W, H, TITLE = layout.WINDOW_W, layout.WINDOW_H, layout.TITLE
windowX, windowY = layout.function("windowX"), layout.function("windowY")
CONTROLS = {c.id: c for c in layout.CONTROLS}
PLACES = [c.id for c in layout.places()]
STATICS = [c.id for c in layout.CONTROLS if c.kind == "Static"]
COLOR, SPORT = TEXT["COLOR_ICONS"], TEXT["SPORT_ICONS"]
IDLE = [1, 2, 1, 2] + [0] * 12  # the values the idle board shows


def rect(cid, scale=1):
    c = CONTROLS[cid]
    return tuple(scale * v for v in (c.x, c.y, c.w, c.h))


def centre(cid, scale=1):
    x, y, w, h = rect(cid, scale)
    return x + w // 2, y + h // 2


def ball_file(prefix, value, scale=1):
    """The picture, below resources/ or a program's folder, of a ball path
    prefix such as COLOR at scale 1 or 2."""
    return "2x/" * (scale - 1) + prefix.replace("\\", "/") + "%d.bmp" % value


def lay_out(folder, program, *extras):
    """folder holding the program, the ball folders and the extras (below
    resources/); the program's path in it."""
    os.makedirs(folder, exist_ok=True)
    shutil.copy2(program, folder)
    for part in ("ColorIcons", "SportIcons") + extras:
        source = os.path.join(RESOURCES, part)
        if os.path.isdir(source):
            shutil.copytree(source, os.path.join(folder, part),
                            dirs_exist_ok=True)
        else:
            shutil.copy2(source, folder)
    return os.path.join(folder, os.path.basename(program))


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
