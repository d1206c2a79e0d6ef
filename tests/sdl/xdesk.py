"""A throw-away X desktop for driving the Linux program with the real mouse:
Xvfb with a small window manager, screenshots, and the pictures the program
carries."""

import os
import re
import signal
import subprocess

from tests.endtoend import ID, wait_for
from tests.xserver import start_xvfb
from tools import facts
from tools.pictures import Picture

SCREEN_W, SCREEN_H = 1024, 768


# Skin pictures per button id, from the list the executable embeds.
SKINS = {}
for r in facts.RESOURCES:
    if "skin" in r.entry:
        SKINS.setdefault(ID[r.entry["skin"]], {})["Pressed" if r.entry["pressed"] else "Normal"] = r.file


# --- the desktop ----------------------------------------------------------

class Desktop:
    """Xvfb on a free display with openbox and a D-Bus session of its own
    (never the machine's, nor one libdbus starts for a program finding
    none); every process started through it or its bus ends by close()."""

    def __init__(self, log_dir, size=(SCREEN_W, SCREEN_H)):
        self.log_dir, self.size = log_dir, size
        self.processes = []
        self.env = dict(os.environ)
        for name in ("WAYLAND_DISPLAY", "AT_SPI_BUS_ADDRESS", "NO_AT_BRIDGE"):
            self.env.pop(name, None)
        try:
            self.env["DISPLAY"] = self.start_server()
            bus = os.path.join(log_dir, "bus")
            if os.path.exists(bus):
                os.remove(bus)
            self.env["DBUS_SESSION_BUS_ADDRESS"] = "unix:path=" + bus
            self.start(["dbus-daemon", "--session", "--nofork", "--address=unix:path=" + bus],
                       "bus.log")
            wait_for("the bus", lambda: os.path.exists(bus))
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
        return Picture.read(data)

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
