"""A throw-away X desktop for driving the Linux program with the real mouse:
Xvfb with a small window manager, screenshots, and the window's layout read
from the program's own headers."""

import os
import re
import shutil
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), ".."))
from pictures import Picture, read_bmp  # noqa: E402,F401
from xserver import start_xvfb  # noqa: E402

SCREEN_W, SCREEN_H = 1024, 768


class Failure(Exception):
    pass


def check(condition, what):
    if not condition:
        raise Failure(what)


def wait_for(what, probe, timeout=30.0, step=0.05):
    """Polls probe until it returns something true, and returns that."""
    end = time.monotonic() + timeout
    while True:
        value = probe()
        if value:
            return value
        if time.monotonic() > end:
            raise Failure("timed out waiting for " + what)
        time.sleep(step)


# --- the layout, from src/game/layout.h and texts.h -------------------------

class Layout:
    def __init__(self, source):
        sys.path.insert(0, os.path.join(source, "tools", "assets"))
        import layout
        self.ids = layout.IDS
        self.controls = {c.id: (c.kind, c.x, c.y, c.w, c.h)
                         for c in layout.CONTROLS}
        self.window_w = layout.WINDOW_W
        self.window_h = layout.WINDOW_H
        self.title = list(layout.TITLE)
        self.windowX = layout.function("windowX")
        self.windowY = layout.function("windowY")
        self.text = layout.TEXTS
        self.body = layout.ball_bodies()
        self.places = sorted(c for c, v in self.controls.items()
                             if v[0] == "Place")
        # Skin pictures per button id, from the list the executable embeds.
        self.skins = {}
        for id, path, _ in layout.CARRIED:
            m = re.match(r"skin(Normal|Pressed)\((ID_\w+)\)$", id)
            if m:
                state, name = m.groups()
                self.skins.setdefault(self.ids[name], {})[state] = path

    def rect(self, cid):
        return self.controls[cid][1:]

    def centre(self, cid):
        x, y, w, h = self.rect(cid)
        return x + w // 2, y + h // 2

    def window_pos(self):
        return self.windowX(SCREEN_W), self.windowY(SCREEN_H)

    def icon_prefix(self, name):
        """COLOR_ICONS or SPORT_ICONS as a path with '/'."""
        return self.text[name].replace("\\", "/")


# --- pictures -------------------------------------------------------------

def read_ppm(data):
    m = re.match(rb"P6\s+(\d+)\s+(\d+)\s+(\d+)\s", data)
    w, h = int(m.group(1)), int(m.group(2))
    return Picture(w, h, data[m.end():m.end() + 3 * w * h])


# --- the desktop ----------------------------------------------------------

class Desktop:
    """Xvfb on a free display with openbox on it; every process
    started through it is ended by close()."""

    def __init__(self, log_dir, size=(SCREEN_W, SCREEN_H)):
        self.log_dir, self.size = log_dir, size
        self.processes = []
        self.env = dict(os.environ)
        self.env.pop("WAYLAND_DISPLAY", None)
        try:
            self.env["DISPLAY"] = self.start_server()
            self.wm = self.start(["openbox", "--sm-disable"], "openbox.log")
            wait_for("the window manager", lambda: "window id" in self.run(
                ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"]))
        except BaseException:
            self.close()
            raise

    def start_server(self):
        xvfb, display = start_xvfb(*self.size)
        self.processes.append(xvfb)
        return display

    def start(self, argv, log, cwd=None, env=None):
        out = open(os.path.join(self.log_dir, log), "wb")
        p = subprocess.Popen(argv, cwd=cwd, env=env or self.env, stdout=out,
                             stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL,
                             start_new_session=True)
        self.processes.append(p)
        return p

    def run(self, argv, **kw):
        return subprocess.run(argv, env=self.env, capture_output=True,
                              timeout=20, **kw).stdout.decode(errors="replace")

    def close(self):
        for p in reversed(self.processes):
            if p.poll() is None:
                os.killpg(p.pid, signal.SIGTERM)
                try:
                    p.wait(5)
                except subprocess.TimeoutExpired:
                    os.killpg(p.pid, signal.SIGKILL)
                    p.wait()
        self.processes = []

    # The screen and the mouse.
    def screenshot(self):
        data = subprocess.run(["import", "-window", "root", "-depth", "8",
                               "ppm:-"], env=self.env, capture_output=True,
                              timeout=20).stdout
        return read_ppm(data)

    def xdotool(self, *args):
        self.run(["xdotool"] + [str(a) for a in args])

    def click(self, x, y, times=1):
        # No --sync: xdotool then waits for a move that never comes when
        # the pointer is already there; the server keeps the order anyway.
        self.xdotool("mousemove", x, y, "click", "--repeat", times,
                     "--delay", 60, 1)

    def windows(self):
        """Top-level windows by name, from the window tree: name -> [id]."""
        found = {}
        for wid, name in re.findall(r'(0x[0-9a-f]+) "([^"]*)"',
                                    self.run(["xwininfo", "-root", "-tree"])):
            found.setdefault(name, []).append(wid)
        return found

    def geometry(self, wid):
        info = self.run(["xwininfo", "-id", wid])
        get = lambda key: int(re.search(key + r":\s+(-?\d+)", info).group(1))
        return (get("Absolute upper-left X"), get("Absolute upper-left Y"),
                get("Width"), get("Height"))


def copy_program(program, folder, source, help_file=False):
    """The executable with the ball folders beside it, and the help pages if
    asked for."""
    os.makedirs(folder, exist_ok=True)
    shutil.copy2(program, folder)
    resources = os.path.join(source, "resources")
    for sub in ("ColorIcons", "SportIcons"):
        shutil.copytree(os.path.join(resources, sub),
                        os.path.join(folder, sub), dirs_exist_ok=True)
    if help_file:
        shutil.copytree(os.path.join(resources, "help"),
                        os.path.join(folder, "help"), dirs_exist_ok=True)
    return os.path.join(folder, os.path.basename(program))
