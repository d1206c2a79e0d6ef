#!/usr/bin/env python3
"""Plays the Linux program in a real X server with the mouse and checks what
the screen shows: start-up, the idle board, the sport set, a held button,
a game's first two rounds, the help error box, dragging and closing; then
the help viewer path from another current folder; then a round with keys."""

import argparse
import glob
import itertools
import os
import struct
import subprocess
import sys
import threading
import time
import wave

from tests.endtoend import (BODY, COLOR, CONTROLS, H, ID, IDLE, PLACES, RESOURCES, SPORT,
                            STATICS, TEXT, TITLE, W, Failure, art, centre, check,
                            hostile_folders, lay_out, rect, shown_values, wait_for,
                            windowX, windowY)
from tests.sdl.xdesk import SCREEN_W, SCREEN_H, SKINS, Desktop
from tools import facts
from tools.assets import help_pages

ERROR_TITLE = TEXT["TEXT_HELP_ERROR_TITLE"]


class Game:
    def __init__(self, desk, program, cwd, env, log, scale=1, face=facts.LANDSCAPE):
        self.desk, self.scale, self.face = desk, scale, face
        started = time.monotonic()
        self.process = desk.start([program], log, cwd=cwd, env=env)
        face = art(face.folder + "face.bmp", scale)
        probe = (face.w // 2, 5)

        # The window and where it is are read again at each look: the
        # window manager may still be placing it.
        def shown():
            self.wid = desk.windows().get(TEXT["WINDOW_TITLE"], [None])[-1]
            if not self.wid:
                return False
            try:
                self.x, self.y, self.w, self.h = desk.geometry(self.wid)
            except AttributeError:  # gone meanwhile: xwininfo told nothing
                return False
            return self.shot().pixel(*probe) == face.pixel(*probe)
        wait_for("the first frame", shown, step=0.01)
        self.startup = time.monotonic() - started

    def shot(self, name=None):
        return self.saved(self.desk.screenshot().crop(self.x, self.y, self.w,
                                                      self.h), name)

    def seen(self, what, holds, name=None, **wait):
        """The window's pixels once holds is true of them."""
        return self.saved(wait_for(what, lambda: (lambda s: holds(s) and s)(
            self.shot()), **wait), name)

    def saved(self, shot, name):
        """shot, saved as name.ppm beside the desktop's logs if named."""
        if name:
            shot.save(os.path.join(self.desk.log_dir, name + ".ppm"))
        return shot

    def board(self, what, holds, name=None):
        """The places' values once holds is true of them."""
        return self.values(self.seen(what, lambda s: holds(self.values(s)), name))

    def rect(self, cid):
        return rect(cid, self.scale, self.face)

    def at(self, cid):
        x, y = centre(cid, self.scale, self.face)
        return self.x + x, self.y + y

    def click(self, cid, times=1):
        self.desk.click(*self.at(cid), times=times)

    def hold(self, cid):
        self.desk.xdotool("mousemove", "--sync", *self.at(cid), "mousedown", 1)

    def drag(self, start, moves):
        """Drags from point start of the window by each move in turn, the
        window following, and waits for it to stay where the last left it."""
        x0, y0 = self.x, self.y
        px, py = x0 + start[0], y0 + start[1]
        self.desk.xdotool("mousemove", "--sync", px, py, "mousedown", 1)
        for dx, dy in moves:
            follow(self.desk, self.wid, (px + dx, py + dy), (x0 + dx, y0 + dy))
        self.desk.xdotool("mouseup", 1)
        self.x, self.y = x0 + moves[-1][0], y0 + moves[-1][1]
        wait_for("the window to stay put", lambda: self.desk.geometry(
            self.wid)[:2] == (self.x, self.y))

    def region(self, shot, cid):
        return shot.crop(*self.rect(cid)).rgb

    def same(self, a, b, cid):
        """Whether control cid looks the same in shots a and b."""
        return self.region(a, cid) == self.region(b, cid)

    def skinned(self, shot, cid, state):
        """Whether button cid shows its picture of state in shot."""
        return self.region(shot, cid) == art(self.face.folder + SKINS[cid][state],
                                             self.scale).rgb

    def values(self, shot, prefix=COLOR):
        """The colour value each place shows, None where no picture fits."""
        return shown_values(shot, prefix, self.scale, self.face)

    def cpu_ms(self):
        fields = open("/proc/%d/stat" % self.process.pid).read()
        fields = fields[fields.rindex(")") + 2:].split()
        return (int(fields[11]) + int(fields[12])) * 1000 / os.sysconf(
            "SC_CLK_TCK")

    def run_ns(self):
        """CPU time of all its threads to the nanosecond, from schedstat."""
        tasks = "/proc/%d/task" % self.process.pid
        return sum(int(open(os.path.join(tasks, t, "schedstat")).read().split()[0])
                   for t in os.listdir(tasks))

    def ended(self, who=""):
        """Waits for the program to end, which it must with exit code 0."""
        wait_for("the program to end", lambda: self.process.poll() is not None, 10)
        check(self.process.returncode == 0,
              who + "exit code %d" % self.process.returncode)

    def quit(self, cid=ID["ID_QUIT"]):
        self.click(cid)
        self.ended()

    def wakeups(self, seconds):
        """Wake-ups (voluntary context switches) of each thread over seconds,
        by name/id."""
        def counts():
            found = {}
            for task in glob.glob("/proc/%d/task/*" % self.process.pid):
                try:
                    found[open(task + "/comm").read().strip() + task[
                        task.rindex("/"):]] = sum(int(line.split()[1]) for line
                        in open(task + "/status")
                        if line.startswith("voluntary_ctxt_switches"))
                except FileNotFoundError:  # the thread has ended
                    pass
            return found
        before = counts()
        time.sleep(seconds)
        return {t: n - before.get(t, 0) for t, n in counts().items()}


def follow(desk, wid, pointer, corner):
    """Moves the held pointer and waits for the window manager to move the
    window with it. The manager takes the pointer a moment after the press,
    and motion before that reaches no one: so the pointer is nudged and put
    back until the window is where the pointer says."""
    end = time.monotonic() + 20
    while True:
        desk.xdotool("mousemove", "--sync", *pointer)
        try:
            return wait_for("the window to follow the pointer", lambda:
                            desk.geometry(wid)[:2] == corner, timeout=1)
        except Failure:
            if time.monotonic() > end:
                raise
        desk.xdotool("mousemove", "--sync", pointer[0] + 1, pointer[1])


def idle_pixels(game, shot):
    """Outside the statics and the check box the idle window is exactly the
    face, the normal skins and the idle board's pictures."""
    wrong = shot.differing(art(game.face.folder + "face.bmp", game.scale),
                           map(game.rect, CONTROLS))
    check(not wrong, "%d face pixels differ, the first at %s" % (len(wrong), wrong[:1]))
    for cid in SKINS:
        check(game.skinned(shot, cid, "Normal"),
              "button %d is not its normal picture" % cid)
    check(game.values(shot) == IDLE, "idle board %s" % game.values(shot))


def press_help(game):
    """Presses Help and waits for the error box: its window."""
    game.click(ID["ID_HELP"])
    return wait_for("the help error box",
                    lambda: game.desk.windows().get(ERROR_TITLE, [None])[0])


def main_session(desk, args, env):
    folder = os.path.join(args.out, "program")
    program = lay_out(folder, args.program)

    # Without a display: at once, a failure and one line on stderr.
    started = time.monotonic()
    alone = subprocess.run([program], cwd=folder, capture_output=True,
                           timeout=10, env={k: v for k, v in env.items()
                                            if k != "DISPLAY"})
    said = alone.stderr.decode()
    check(alone.returncode != 0 and time.monotonic() - started < 2 and
          said.count("\n") == 1 and "graphical display" in said,
          "without a display: exit %d, said %r" % (alone.returncode, said))

    game = Game(desk, program, folder, env, "program.log")
    print("start-up to the first shown frame: %.2f s" % game.startup)

    # Position, size and the window manager's view of it.
    check((game.x, game.y) == (windowX(SCREEN_W), windowY(SCREEN_H)),
          "window at %d,%d" % (game.x, game.y))
    check((game.w, game.h) == (W, H), "window %dx%d" % (game.w, game.h))
    hints = desk.run(["xprop", "-id", game.wid, "WM_NORMAL_HINTS",
                      "_NET_FRAME_EXTENTS"])
    size = "%d by %d" % (W, H)
    check("minimum size: " + size in hints and "maximum size: " + size in hints,
          "the window can be resized: " + hints)
    check("= 0, 0, 0, 0" in hints, "the window has a frame: " + hints)
    check("Icon (32 x 32)" in desk.run(["xprop", "-id", game.wid,
                                        "_NET_WM_ICON"]), "no 32x32 icon")

    idle = game.shot("idle")
    idle_pixels(game, idle)

    if not args.sanitized:
        # utime+stime counts whole clock ticks; schedstat is exact, so the
        # limit is checked on it.
        before, before_ns = game.cpu_ms(), game.run_ns()
        woken = game.wakeups(10)
        used = game.cpu_ms() - before
        exact = (game.run_ns() - before_ns) / 1e6
        print("CPU time in 10 idle seconds: %.0f ms (utime+stime), %.1f ms "
              "(schedstat); wake-ups by thread %s" % (used, exact, woken))
        check(exact < 20, "idle CPU %.1f ms" % exact)
        check(sum(woken.values()) <= 1, "idle wake-ups %s" % woken)

    # The sport set and back; the box shows its mark meanwhile.
    box = ID["ID_SPORTS"]
    game.click(box)
    sport = game.seen("the sport set", lambda s: game.values(s, SPORT) == IDLE,
                      "sport")
    check(not game.same(sport, idle, box), "the check box shows no mark")
    game.click(box)
    game.seen("the colour set", lambda s: game.values(s) == IDLE)
    check(game.same(game.shot(), idle, box), "the check box kept its mark")

    # Held: the pressed picture; moved off: normal; released off: no click.
    count, ball_count = ID["ID_COLORCOUNT"], ID["ID_BALLCOUNT"]
    game.hold(count)
    game.seen("the pressed picture", lambda s: game.skinned(s, count, "Pressed"),
              "pressed")
    desk.xdotool("mousemove", "--sync", game.x + 300, game.y + 340)
    game.seen("the normal picture", lambda s: game.skinned(s, count, "Normal"))
    desk.xdotool("mouseup", 1)
    time.sleep(0.3)
    check(game.same(game.shot(), idle, ball_count),
          "a release off the button counted as a click")

    # A new game deals places 1 to 4 and greys the check box.
    game.click(ID["ID_NEWGAME"])
    started = time.monotonic()
    dealt = game.seen("the dealt board", lambda s: (lambda v: v[4:] == [0] * 12
                      and not {None, 0} & set(v[:4]))(game.values(s)), "dealt")
    board = game.values(dealt)[:4]
    print("dealt", board)
    check(all(1 <= v <= 2 for v in board), "dealt %s with two colours" % board)
    check(not game.same(dealt, idle, box), "the check box is not greyed")
    game.click(box)
    time.sleep(0.3)
    check(game.values(game.shot())[:4] == board,
          "a click on the greyed check box was taken")

    # The help error box comes up, and the countdown goes on behind it.
    error_box = press_help(game)
    desk.xdotool("windowmove", "--sync", error_box, 0, 0)
    game.seen("the blanking", lambda s: game.values(s) == [0] * 16, "blank")
    blanked = time.monotonic() - started
    print("blanked %.1f s after the new game" % blanked)
    # Screenshots of a busy machine may come late, never early.
    check(9.0 < blanked < 14.0, "blanked after %.1f s" % blanked)
    check(error_box in desk.windows().get(ERROR_TITLE, []),
          "the error box went away by itself")
    desk.screenshot().save(os.path.join(args.out, "error-box.ppm"))
    close_box(game)

    # Rebuilt from what was seen, a colour 2 with a double click; the win
    # deals round 2 with eight places.
    for k, value in enumerate(board):
        game.click(PLACES[k], times=value)
        time.sleep(0.15)
    round2 = game.board("round 2", lambda v: v[8:] == [0] * 8 and
                        set(v[:8]) <= {1, 2}, "round2")
    print("round 2 dealt", round2[:8])

    # Dragged by the title strip, and not from just right of it.
    right, bottom = TITLE[2:]
    game.drag((right - 1, bottom - 1), [(-30 * n, 20 * n) for n in range(1, 6)])
    desk.xdotool("mousemove", "--sync", game.x + right, game.y + 10,
                 "mousedown", 1, "mousemove", "--sync", game.x + right + 40,
                 game.y + 60, "mouseup", 1)
    time.sleep(0.3)
    check(desk.geometry(game.wid)[:2] == (game.x, game.y),
          "a press right of the title strip moved the window")

    game.quit(ID["ID_CLOSE"])
    said = open(os.path.join(args.out, "program.log")).read()
    check(said == "", "the program said: " + said)
    return idle


def at_twice(args, env, name, screen, face, more=lambda game, shot: None):
    """QUINTARA_SCALE=2 on a screen of its own: the window of face twice the
    size, exactly its 2x pictures; more(game, shot of the idle window); a
    ball placed by clicks and the window dragged by its title strip."""
    out = os.path.join(args.out, name)
    program = lay_out(out, args.program)
    desk = Desktop(out, screen)
    try:
        game = Game(desk, program, out,
                    dict(env, DISPLAY=desk.env["DISPLAY"], QUINTARA_SCALE="2"),
                    name + ".log", scale=2, face=face)
        check((game.w, game.h) == (2 * face.w, 2 * face.h),
              "window %dx%d at 2x" % (game.w, game.h))
        shot = game.shot("idle")
        idle_pixels(game, shot)
        more(game, shot)
        game.click(ID["ID_NEWGAME"])
        game.seen("the blanking", lambda s: game.values(s) == [0] * 16, "dealt")
        game.click(PLACES[0])
        game.seen("a ball placed", lambda s: game.values(s)[0] == 1)
        game.drag((2 * face.title[2] - 1, 2 * face.title[3] - 1), [(-40, 30)])
        game.quit()
    finally:
        desk.close()


def scale_session(args, env, idle):
    """At 2x: like the 1x window once halved, and the pressed picture; then
    on a phone's screen held upright (720 x 1440), the upright face."""
    def like_1x(game, shot):
        # Halved, nearly the 1x window; a text, drawn anew at its size,
        # differs by less than half its ink (none would by all of it).
        half = shot.halved()
        whole = half.difference(idle)
        print("2x halved against 1x: mean difference %.2f" % whole)
        check(whole < 2, "the 2x window halved is not the 1x one")
        for cid in STATICS:
            small = idle.crop(*rect(cid))
            ink = sum(255 - v for v in small.rgb) / len(small.rgb)
            check(half.crop(*rect(cid)).difference(small) < ink / 2,
                  "static %d at 2x halved is not its 1x text" % cid)
        count = ID["ID_COLORCOUNT"]
        game.hold(count)
        game.seen("the 2x pressed picture",
                  lambda s: game.skinned(s, count, "Pressed"))
        game.desk.xdotool("mouseup", 1)
    at_twice(args, env, "scale2", (1600, 1000), facts.LANDSCAPE, like_1x)
    at_twice(args, env, "phone", (720, 1440), facts.PORTRAIT)


def close_box(game):
    """Closes the help error box by its button and waits for it and its
    processes to end: a press of Help meanwhile finds it still up."""
    desk = game.desk
    desk.xdotool("windowactivate", "--sync", desk.windows()[ERROR_TITLE][0],
                 "key", "Return")
    wait_for("the error box to close", lambda: ERROR_TITLE not in desk.windows())
    wait_for("the box's processes to end", lambda: all(
        int(pid) == game.process.pid or stat.startswith("Z") for pid, stat in
        map(str.split, desk.run(["ps", "-o", "pid=,stat=", "-s",
                                 str(game.process.pid)]).splitlines())))


def stub_viewer(out, env):
    """An xdg-open that notes what it was given and runs until the test
    makes the file release, then exits with the code in exit_file: (env with
    it on the PATH, the file of its arguments, exit_file, release)."""
    stub = os.path.join(out, "bin")
    os.makedirs(stub, exist_ok=True)
    record = os.path.join(out, "xdg-open.args")
    exit_file = os.path.join(out, "xdg-open.exit")
    release = os.path.join(out, "xdg-open.release")
    with open(os.path.join(stub, "xdg-open"), "w") as f:
        f.write('#!/bin/sh\necho "$@" >> "%s"\n'
                'while [ ! -e "%s" ]; do sleep 0.05; done\nrm "%s"\n'
                'exit "$(cat "%s")"\n' % (record, release, release, exit_file))
    os.chmod(os.path.join(stub, "xdg-open"), 0o755)
    open(exit_file, "w").write("0\n")
    for old in (record, release):
        if os.path.exists(old):
            os.remove(old)
    return (dict(env, PATH=stub + os.pathsep + env["PATH"]), record,
            exit_file, release)


def opened_page(record, lang="en"):
    """The one file xdg-open was given: an existing .html file, by absolute
    path, that is the help's first page in lang."""
    given = open(record).read().split()
    check(len(given) == 1 and given[0].endswith(".html") and
          os.path.isabs(given[0]) and os.path.isfile(given[0]),
          "xdg-open got %s" % given)
    check(open(given[0], "rb").read() == help_pages.page("index.html", lang),
          given[0] + " is not the first help page")
    return given[0]


def help_session(desk, args, env):
    """The help pages beside the executable go to xdg-open, also from
    another current folder, and the game does not wait for the viewer; a
    viewer that fails, or none, brings the box."""
    folder = os.path.join(args.out, "helped")
    program = lay_out(folder, args.program, "help")
    env, record, exit_file, release = stub_viewer(args.out, env)
    elsewhere = os.path.join(args.out, "elsewhere")
    os.makedirs(elsewhere, exist_ok=True)
    game = Game(desk, program, elsewhere, env, "helped.log")

    # No ball pictures in this folder: the stand-in discs.
    shot = game.shot("stand-ins")
    for k, value in ((0, 1), (1, 2), (4, 0)):
        check(shows_stand_in(shot, k, value), "place %d is no stand-in" % (k + 1))

    # Minimised and brought back, it shows the same again.
    game.click(ID["ID_MINIMISE"])
    state = lambda: desk.run(["xprop", "-id", game.wid, "WM_STATE"])
    wait_for("the window to minimise", lambda: "Iconic" in state())
    desk.xdotool("windowactivate", "--sync", game.wid)
    wait_for("the window to come back", lambda: "Normal" in state())
    game.seen("the window's pictures", lambda s: s.rgb == shot.rgb)

    count = ID["ID_BALLCOUNT"]
    game.click(ID["ID_HELP"])
    wait_for("xdg-open", lambda: os.path.exists(record))
    game.click(ID["ID_COLORCOUNT"])
    game.seen("a click while the viewer runs",
              lambda s: not game.same(s, shot, count))
    open(release, "w").close()
    wait_for("the viewer to end", lambda: not os.path.exists(release))
    time.sleep(0.5)
    check(opened_page(record).startswith(os.path.realpath(folder) + os.sep),
          "the help pages beside the program were not opened")
    check(ERROR_TITLE not in desk.windows(), "an error box after a good viewer")

    open(exit_file, "w").write("3\n")
    open(release, "w").close()
    press_help(game)
    close_box(game)
    game.quit()

    # No viewer at all: three presses bring one box, and Quit ends it with
    # every process the game started.
    game = Game(desk, program, elsewhere, dict(env, PATH=elsewhere),
                "unhelped.log")
    for _ in range(3):
        press_help(game)
        time.sleep(0.5)
    check(len(desk.windows()[ERROR_TITLE]) == 1, "more than one box")
    for _ in range(20):  # a box that never showed came once in twenty
        close_box(game)
        press_help(game)
    game.quit()
    wait_for("the box to go", lambda: ERROR_TITLE not in desk.windows())
    wait_for("no process left", lambda: subprocess.run(
        ["pgrep", "-s", str(game.process.pid)], capture_output=True)
        .returncode == 1)
    for log in ("helped.log", "unhelped.log"):
        said = open(os.path.join(args.out, log)).read()
        check(said == "", "the program said: " + said)


def keys_session(desk, args, env):
    """A round won with keys only, the board read from the screen (no
    picture fits the place under the cursor); a click hides the cursor."""
    folder = os.path.join(args.out, "program")
    program = os.path.join(folder, os.path.basename(args.program))
    game = Game(desk, program, folder, env, "keys.log")
    desk.xdotool("windowactivate", "--sync", game.wid)
    key = lambda *keys: desk.xdotool("key", "--delay", 60, *keys)
    shown = lambda holds: game.board("the board", holds)
    status, idle = ID["ID_STATUS"], game.shot()
    key("F2")  # the status line is written last, once the board is dealt
    game.seen("the study phase", lambda s: not game.same(s, idle, status))
    board = shown(lambda v: v[4:] == [0] * 12 and set(v[:4]) <= {1, 2})
    key("Right")
    shown(lambda v: v == [None] + [0] * 15)
    for k, value in enumerate(board[:4]):
        key(*["space"] * value + ["Right"] * (k < 3))
    shown(lambda v: v[8:] == [0] * 8 and set(v[:3] + v[4:8]) <= {1, 2} and
          v[3] is None)
    game.click(ID["ID_CANCEL"])
    shown(lambda v: None not in v)
    key("ctrl+q")
    game.ended()


def shows_stand_in(shot, k, value):
    x, y, w, h = rect(PLACES[k])
    return (shot.pixel(x + w // 2, y + 8) == BODY[value] and
            shot.pixel(x, y) == BODY[0])


def hostile_session(desk, args, env):
    """Each hostile file as ball1.bmp: the window in 5 s with stand-ins on
    places 1 and 3, a game dealt, little memory, and a clean end."""
    for name, folder, program in hostile_folders(
            os.path.join(args.out, "hostile"), args.program):
        started = time.monotonic()
        game = Game(desk, program, folder, env, "hostile-%s.log" % name)
        check(time.monotonic() - started < 5, name + ": slow start")
        shot = game.shot()
        check(shows_stand_in(shot, 0, 1) and shows_stand_in(shot, 2, 1),
              name + ": no stand-ins")
        box = ID["ID_SPORTS"]
        game.click(ID["ID_NEWGAME"])
        game.seen(name + ": a dealt game", lambda s: not game.same(s, shot, box))
        peak = int(open("/proc/%d/status" % game.process.pid).read().split(
            "VmHWM:")[1].split()[0]) // 1024
        print("%s: peak memory %d MB" % (name, peak))
        check(args.sanitized or peak < 100, "%s: %d MB" % (name, peak))
        # The last one's window is destroyed by another client instead.
        if name == "loop":
            desk.xdotool("windowclose", game.wid)
        else:
            game.click(ID["ID_QUIT"])
        game.ended(name + ": ")
        wait_for("the window to go", lambda: game.wid not in desk.windows().get(
            TEXT["WINDOW_TITLE"], []))


BLOCK = 0.005  # seconds a step of a sound's loudness envelope


def envelope(samples, rate, channels):
    """Loudness every BLOCK, each the mean over four blocks: over one block,
    a low tone's loudness depends on where its wave falls in the block, and
    a sound that starts anywhere must fit itself."""
    n = max(1, int(rate * BLOCK)) * channels
    sums = list(itertools.accumulate(map(abs, samples), initial=0))
    return [(sums[i + 4 * n] - sums[i]) / (4 * n)
            for i in range(0, len(samples) - 4 * n + 1, n)]


def wav_envelope(path):
    """The envelope of a WAV's first 0.3 s."""
    w = wave.open(path)
    raw = w.readframes(w.getnframes())
    samples = ([b - 128 for b in raw] if w.getsampwidth() == 1 else
               list(struct.unpack("<%dh" % (len(raw) // 2), raw)))
    # The silence after a short sound belongs to its shape.
    silence = [0] * (3 * int(w.getframerate() * BLOCK) * w.getnchannels())
    return envelope(samples + silence, w.getframerate(),
                    w.getnchannels())[:60]


def found_at(record, template, around):
    """Where within 0.6 s of around the template fits the recording best,
    and how well: (correlation, seconds)."""
    def centred(xs):
        mean = sum(xs) / len(xs)
        ds = [x - mean for x in xs]
        return ds, sum(d * d for d in ds) ** 0.5 or 1
    dt, st = centred(template)
    best = (-1, around)
    for lag in range(max(0, int((around - 0.6) / BLOCK)),
                     min(len(record) - len(dt), int((around + 0.6) / BLOCK))):
        ds, ss = centred(record[lag:lag + len(dt)])
        best = max(best, (sum(a * b for a, b in zip(dt, ds)) / (ss * st),
                          lag * BLOCK))
    return best


class Recording:
    """What SDL's disk driver writes into a pipe (44.1 kHz, 16 bits,
    stereo). The program closes its device between sounds, so a buffer that
    comes after a pause goes where it came; one that a busy machine held up
    a little goes right after the one before, as a sound card would play
    it."""

    def __init__(self, path):
        self.path, self.data = path, bytearray()
        if os.path.exists(path):
            os.remove(path)
        os.mkfifo(path)
        # Open for writing too: a device closing is then no end of the pipe.
        self.fd, self.begun = os.open(path, os.O_RDWR), time.monotonic()
        threading.Thread(target=self.read, daemon=True).start()

    def read(self):
        while True:
            chunk = os.read(self.fd, 1 << 16)
            late = int((time.monotonic() - self.begun) * 44100) * 4
            if late - len(self.data) > 44100 * 4 // 4:
                self.data += bytes(late - len(self.data))
            self.data += chunk

    def envelope(self):
        data = bytes(self.data)
        return envelope(struct.unpack("<%dh" % (len(data) // 2), data), 44100,
                        2)


def sound_envelope(sound):
    return wav_envelope(os.path.join(RESOURCES, "sounds", sound + ".wav"))


def clock_game(args):
    """A game started on a desktop of its own, recorded by the disk driver,
    left to run its clock out while the other sessions go on, its wake-ups
    counted after the blanking: (desk, game, recording, the idle check box,
    the count's thread)."""
    out = os.path.join(args.out, "clock")
    program = lay_out(os.path.join(out, "program"), args.program)
    record = Recording(os.path.join(out, "sounds.raw"))
    desk = Desktop(out)
    try:
        # Its wake-ups are the game's own: no readers' bridge.
        game = Game(desk, program, out, dict(
            desk.env, SDL_AUDIODRIVER="disk", SDL_DISKAUDIOFILE=record.path,
            NO_AT_BRIDGE="1"), "clock.log")
        box = game.region(game.shot(), ID["ID_SPORTS"])
        game.click(ID["ID_NEWGAME"])
        counting = threading.Timer(15, lambda: setattr(
            game, "woken", game.wakeups(10)))
        counting.daemon = True
        counting.start()
    except BaseException:
        desk.close()
        raise
    return desk, game, record, box, counting


def time_up(clock):
    """Ten seconds of study and 04:59 of rebuilding after its new game, the
    clock game ends (its check box comes back) with the time-up sound.
    While its clock runs only its tick wakes it: the timer's thread, and the
    main thread a few times for each tick."""
    desk, game, recorded, box, counting = clock
    counting.join()
    ticks = sum(n for t, n in game.woken.items() if t.startswith("SDLTimer/"))
    main = game.woken.get("quintara/%d" % game.process.pid, 0)
    print("wake-ups in 10 s of the clock game, by thread", game.woken)
    check(ticks <= 12 and main <= 4 * ticks and
          sum(game.woken.values()) == ticks + main,
          "the clock game's wake-ups %s" % game.woken)
    game.seen("the time to run out", lambda s: game.region(
        s, ID["ID_SPORTS"]) == box, timeout=400, step=0.5)
    time.sleep(3)
    game.quit()
    record = recorded.envelope()
    template = sound_envelope("time-up")
    fit, when = max(found_at(record, template, 290 + 1.2 * i)
                    for i in range(int((len(record) * BLOCK - 290) / 1.2) + 1))
    print("time-up: at %.2f s, fit %.2f" % (when, fit))
    # The recording starts with the window, the new game a moment later.
    check(fit > 0.75 and 295 < when < 320,
          "no time-up sound as the time ran out (best %.2f at %.2f s)"
          % (fit, when))


def sound_session(desk, args, env):
    """What the program plays, recorded by SDL's disk driver: each sound
    starts at its event (each found from the one before, as the recording
    runs a little slower than the clock)."""
    folder = os.path.join(args.out, "sounds")
    program = lay_out(folder, args.program)
    recorded = Recording(os.path.join(args.out, "sounds.raw"))
    env = dict(env, SDL_AUDIODRIVER="disk", SDL_DISKAUDIOFILE=recorded.path)
    game = Game(desk, program, folder, env, "sounds.log")
    # The first sound comes long after the device has been opened and closed
    # at the start.
    wait_for("the recording", lambda: recorded.data)
    time.sleep(5)
    begun, events = recorded.begun, []

    # Each event is timed as the test's click reaches the X server, never
    # when the test sees its effect.
    def event(sound, cid):
        game.click(cid)
        events.append((sound, time.monotonic() - begun))
        time.sleep(1)
    event("alert", ID["ID_CANCEL"])
    event("click", ID["ID_COLORCOUNT"])
    event("minimise", ID["ID_MINIMISE"])
    desk.xdotool("windowactivate", "--sync", game.wid)
    event("new-game", ID["ID_NEWGAME"])
    board = game.board("the deal", lambda v: not {0, None} & set(v[:4]))[:4]
    game.seen("the blanking", lambda s: game.values(s) == [0] * 16)
    # The blanking and its sound come with the tenth tick of the study; the
    # first click, which cuts the sound, waits for its first half second.
    events.append(("hidden", events[-1][1] + 10))
    time.sleep(max(0, begun + events[-1][1] + 0.5 - time.monotonic()))
    clicks = [PLACES[k] for k, value in enumerate(board) for _ in range(value)]
    for n, place in enumerate(clicks):
        event("round-won" if n == len(clicks) - 1 else "ball", place)
    time.sleep(1)
    game.quit()

    record = recorded.envelope()
    shift = 0
    for sound, at in events:
        fit, when = found_at(record, sound_envelope(sound), at + shift)
        print("%s: at %.2f s, %.0f ms after its event, fit %.2f" % (
            sound, when, 1000 * (when - at), fit))
        check(fit > 0.75, "no %s sound near %.2f s" % (sound, at + shift))
        shift = when - at


def main():
    parser = argparse.ArgumentParser()
    # The pictures and sounds are those of the tree this test is in.
    parser.add_argument("--source")
    parser.add_argument("--program", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--sanitized", action="store_true")
    parser.add_argument("--suppressions")
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    desk = Desktop(args.out)
    env = dict(desk.env)
    env.pop("SDL_AUDIODRIVER", None)
    if args.sanitized:
        env["ASAN_OPTIONS"] = "detect_leaks=1"
        env["UBSAN_OPTIONS"] = "print_stacktrace=1"
        env["LSAN_OPTIONS"] = "suppressions=%s:print_suppressions=0" % (
            args.suppressions)
    # The sanitized run leaves the five-minute clock to the plain one.
    clock = None if args.sanitized else clock_game(args)
    try:
        idle = main_session(desk, args, env)
        scale_session(args, env, idle)
        for session in (help_session, keys_session, hostile_session,
                        sound_session):
            session(desk, args, env)
        if clock:
            time_up(clock)
    except Failure as failure:
        print("FAILED:", failure)
        desk.screenshot().save(os.path.join(args.out, "failure.ppm"))
        return 1
    finally:
        desk.close()
        if clock:
            clock[0].close()
    print("screenshots in", args.out)
    return 0


if __name__ == "__main__":
    sys.exit(main())
