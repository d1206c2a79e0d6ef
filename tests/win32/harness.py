"""Runs the Windows program under Wine on its own Xvfb screen and plays it
through the driver; reads the facts to check from facts.json and the
resource files."""
import os
import shutil
import struct
import subprocess
import zipfile
from pathlib import Path

from PIL import Image

BUILD = Path(os.environ["QUINTARA_WINDOWS_BUILD"])
PREFIX = os.environ["QUINTARA_WINEPREFIX"]
EXE = BUILD / "src/shell/win32/quintara.exe"
DRIVER = BUILD / "tests/win32/driver/quintara_driver.exe"
PLANTED_WINMM = BUILD / "tests/win32/driver/winmm.dll"
HELP_FILE = "quintara-help.chm"

from tests import endtoend
from tests.endtoend import CONTROLS, RESOURCES, centre, rect  # noqa: F401
from tests.xserver import start_xvfb
from tools import catalogue, facts
from tools.pictures import Picture

const, function = facts.CONSTS.__getitem__, facts.__dict__.__getitem__
placeId = function("placeId")
INSTALLER = BUILD / f"quintara-{facts.VERSION}-setup.exe"
# Bitmap resource id -> file, from the list the resource script is made of.
RC_BITMAPS = {i: f for i, f in facts.carried("win32").items() if f.endswith(".bmp")}


def place_rect(k, scale=1):
    return rect(placeId(k), scale)


# --- the program under Wine ---------------------------------------------------
def wine_env(display, **extra):
    """The environment of Wine's processes: the game in English unless extra
    names another language."""
    return {**os.environ, "DISPLAY": display, "WINEPREFIX": PREFIX, "WINEDEBUG": "-all",
            "QUINTARA_LANG": "en", **extra}


SUBSTITUTES = r"HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes"
WINDOWS_FACES = {about["windowsFace"]: subprocess.run(
    ["fc-match", "-f", "%{family[0]}", "sans-serif:lang=" + about["fontconfig"]],
    capture_output=True, text=True, check=True).stdout
    for about in catalogue.ABOUT.values() if isinstance(about, dict) and "windowsFace" in about}


def make_prefix(dpi=None):
    """A fresh Wine prefix for this test run (of a screen DPI if given);
    windows are not handed to a window manager (there is none), so hiding
    one does not stall."""
    shutil.rmtree(PREFIX, ignore_errors=True)
    env = wine_env("", WINEDLLOVERRIDES="mscoree,mshtml=")
    def run(*argv):
        # A Wine client fails to start now and then (status 127, seen once
        # in a run): it is tried once more when the server has ended.
        done = subprocess.run(argv, env=env, capture_output=True)
        if done.returncode:
            print(f"{argv[0]} exited {done.returncode}: {done.stderr.decode(errors='replace')}")
            subprocess.run(["wineserver", "-w"], env=env)
            subprocess.run(argv, env=env, check=True, capture_output=True)
    run("wineboot", "-i")
    run("wine", "reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Managed",
        "/d", "N", "/f")
    # Wine has none of the faces Windows shows Chinese, Arabic, ... in: each
    # stands for the face fontconfig gives its language, the Linux
    # program's, which Wine finds through fontconfig.
    for face, family in WINDOWS_FACES.items():
        run("wine", "reg", "add", SUBSTITUTES, "/v", face, "/d", family, "/f")
    if dpi:
        run("wine", "reg", "add", r"HKCU\Control Panel\Desktop", "/v",
            "LogPixels", "/t", "REG_DWORD", "/d", str(dpi), "/f")
    run("wineserver", "-w")


def remove_prefix():
    subprocess.run(["wineserver", "-k"], env=wine_env(""))
    shutil.rmtree(PREFIX, ignore_errors=True)


def install(folder, *extras):
    """A folder holding the program, its ball folders and the extras (below
    resources/), as the zip lays them out."""
    endtoend.lay_out(folder, EXE, *extras)
    return folder


def shortcut(path):
    """(target, working folder) of a shell link file that names both."""
    data = Path(path).read_bytes()
    flags, = struct.unpack_from("<I", data, 0x14)
    info = 0x4E + struct.unpack_from("<H", data, 0x4C)[0]  # after the id list
    base = info + struct.unpack_from("<16xI", data, info)[0]
    at = info + struct.unpack_from("<I", data, info)[0]
    for bit in (4, 8):  # the name and relative path come first
        at += 2 + 2 * struct.unpack_from("<H", data, at)[0] if flags & bit else 0
    count, = struct.unpack_from("<H", data, at)
    return (data[base:data.index(b"\0", base)].decode(),
            data[at + 2:at + 2 + 2 * count].decode("utf-16-le").rstrip("\0"))


def opened(folder):
    """The names of the files in folder that a process holds open, as a
    viewer holds its document."""
    held = set()
    for fd in Path("/proc").glob("[0-9]*/fd/*"):
        try:
            path = Path(os.readlink(fd))
        except OSError:
            continue
        if path.parent == folder:
            held.add(path.name)
    return held


def unpack_zip(folder):
    """The zip made by cpack, unpacked into folder: the folder it holds."""
    archive, = Path(os.environ["QUINTARA_ZIP_FOLDER"]).glob("*.zip")
    with zipfile.ZipFile(archive) as z:
        z.extractall(folder)
    return folder / archive.stem


class Game:
    """quintara.exe started in folder cwd on a fresh screen, with the driver
    attached. Use as a context manager: it ends every process it started."""

    def __init__(self, folder, cwd=None, screen=(1024, 768), said=None, **env):
        """said: a file for what the program writes on its standard error."""
        self.xvfb, self.display = start_xvfb(*screen)
        self.env = wine_env(self.display, **env)
        self.process = self.driver = None
        try:
            self.process = subprocess.Popen(
                ["wine", str(folder / "quintara.exe")], cwd=cwd or folder,
                env=self.env, stdout=subprocess.DEVNULL,
                stderr=open(said, "w") if said else subprocess.DEVNULL,
            )
            self.driver = subprocess.Popen(
                # Any other dialog Wine shows may carry bytes of another
                # code page; it must not end a poll for the right one.
                ["wine", str(DRIVER)], env=self.env, text=True, encoding="utf-8",
                errors="replace",
                stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                stderr=subprocess.DEVNULL,
            )
            if self.ask("wait") != "ok":
                raise RuntimeError("the game window did not appear")
        except BaseException:
            self.close()
            raise

    def __enter__(self):
        return self

    def __exit__(self, *_):
        self.close()

    def close(self):
        if self.driver:
            self.driver.kill()
            self.driver.wait()
            self.driver.stdin.close()
            self.driver.stdout.close()
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        # The next game must not reach this wineserver while it shuts down:
        # it would be killed with it.
        subprocess.run(["wineserver", "-k"], env=self.env)
        subprocess.run(["wineserver", "-w"], env=self.env)
        self.xvfb.terminate()
        self.xvfb.wait()

    def ask(self, line):
        self.driver.stdin.write(line + "\n")
        self.driver.stdin.flush()
        return self.driver.stdout.readline().rstrip("\n")

    def text(self, id):
        return self.ask(f"text {id}")

    def heard(self, id):
        """What a screen reader gets of control id: (name, role, state,
        value)."""
        name, role, state, value = self.ask(f"heard {id}").split("|")
        return name, int(role, 16), int(state, 16), value

    def texts(self):
        return [self.text(i) for i in endtoend.STATICS]

    def click(self, id, times=1):
        for _ in range(times):
            self.ask(f"click {id}")

    def quit(self, id=endtoend.ID["ID_QUIT"]):
        """Clicks id: the exit code the game ends with."""
        self.click(id)
        return self.exit_code()

    def tick(self, n=1):
        self.ask(f"tick {n}")

    def rect(self):
        return tuple(map(int, self.ask("rect").split()))

    def screen(self):
        x, y, right, bottom = self.rect()
        w, h = right - x, bottom - y
        grab = bytes.fromhex(self.ask(f"grab {x} {y} {w} {h}"))
        return Picture(Image.frombytes("RGB", (w, h), grab))

    def until(self, condition, timeout=15):
        """The window's pixels once condition holds for them (window drawing
        reaches the screen a moment after the call that drew it)."""
        return endtoend.poll(self.screen, condition, timeout)

    def poll(self, question, condition, timeout=10):
        """The driver's answer to question once condition holds for it."""
        return endtoend.poll(lambda: self.ask(question), condition, timeout)

    def keys(self, *names):
        """Key presses, such as "space" or "ctrl+q"."""
        subprocess.run(["xdotool", "key", *names], env=self.env, check=True)

    def mouse(self, *actions):
        """xdotool actions at client points of the window: ("move", x, y),
        ("down",), ("up",), ("double",)."""
        x0, y0 = self.rect()[:2]
        for action, *point in actions:
            if action == "move":
                args = ["mousemove", "--sync", str(x0 + point[0]),
                        str(y0 + point[1])]
            elif action == "double":
                args = ["click", "--repeat", "2", "--delay", "80", "1"]
            else:
                args = ["mouse" + action, "1"]
            subprocess.run(["xdotool", *args], env=self.env, check=True)

    def press(self, id, *actions, scale=1):
        """The mouse moved to the middle of control id (at scale), and there
        the actions (a click if none)."""
        self.mouse(("move", *centre(id, scale)), *(actions or (("down",), ("up",))))

    def exit_code(self):
        """The game's Windows exit code once it has ended. Its Unix process
        only has to be gone: Wine kills a process that takes more than a
        second to end after ExitProcess, which a busy machine can cause."""
        code = self.ask("exit")
        self.process.wait(15)
        return int(code) if code.isdigit() else code

    def ink(self, weight, face, text):
        """How many letters of text face lacks, and the dark pixels of each
        column where the driver draws it."""
        missing, *columns = map(int, self.ask(f"ink {weight} {face}|{text}").split())
        return missing, columns

    def shot(self, name):
        """Saves the whole screen when QUINTARA_SHOTS names a folder."""
        folder = os.environ.get("QUINTARA_SHOTS")
        if folder:
            subprocess.run(["import", "-window", "root", f"{folder}/{name}.png"],
                           env=self.env)
