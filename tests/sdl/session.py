#!/usr/bin/env python3
"""Plays the Linux program in a real X server with the mouse and checks what
the screen shows: start-up, the idle board, the sport set, a held button,
a game's first two rounds, the help error box, dragging and closing; then
the help viewer path from another current folder; then a round with keys."""

import argparse
import itertools
import os
import shutil
import struct
import subprocess
import sys
import time
import wave

from xdesk import (Desktop, Failure, Layout, check, copy_program, read_bmp,
                   read_ppm, wait_for)
from pictures import hostile_pictures  # noqa: E402 (on xdesk's path)


class Game:
    def __init__(self, desk, layout, source, program, cwd, env, log, scale=1):
        self.desk, self.layout, self.scale = desk, layout, scale
        self.resources = os.path.join(source, "resources")
        started = time.monotonic()
        self.process = desk.start([program], log, cwd=cwd, env=env)
        face = read_bmp(self.file("face.bmp"))
        probe = (face.w // 2, 5)

        # The window and where it is are read again at each look: the
        # window manager may still be placing it.
        def shown():
            self.wid = desk.windows().get(layout.text["WINDOW_TITLE"], [None])[-1]
            if not self.wid:
                return False
            try:
                self.x, self.y, self.w, self.h = desk.geometry(self.wid)
            except AttributeError:  # gone meanwhile: xwininfo told nothing
                return False
            return self.shot().pixel(*probe) == face.pixel(*probe)
        wait_for("the first frame", shown, step=0.01)
        self.startup = time.monotonic() - started

    def shot(self):
        return self.desk.screenshot().crop(self.x, self.y, self.w, self.h)

    def file(self, relative):
        """A picture of the game's scale."""
        folder = "%dx" % self.scale if self.scale > 1 else ""
        return os.path.join(self.resources, folder, relative)

    def rect(self, cid):
        return [v * self.scale for v in self.layout.rect(cid)]

    def at(self, cid):
        x, y, w, h = self.rect(cid)
        return self.x + x + w // 2, self.y + y + h // 2

    def click(self, cid, times=1):
        self.desk.click(*self.at(cid), times=times)

    def region(self, shot, cid):
        return shot.crop(*self.rect(cid)).rgb

    def picture(self, relative):
        return read_bmp(self.file(relative)).rgb

    def skin(self, cid, state):
        return self.picture(self.layout.skins[cid][state])

    def ball(self, prefix, value):
        return self.picture(self.layout.icon_prefix(prefix) + "%d.bmp" % value)

    def values(self, shot, prefix="COLOR_ICONS"):
        """The colour value each place shows, None where no picture fits."""
        pictures = {self.ball(prefix, v): v for v in range(8)}
        return [pictures.get(self.region(shot, p)) for p in self.layout.places]

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

    def exit_code(self, timeout=10):
        wait_for("the program to end", lambda: self.process.poll() is not None,
                 timeout)
        return self.process.returncode


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


def idle_pixels(game, layout, shot):
    """Outside the statics and the check box the idle window is exactly the
    face, the normal skins and the idle board's pictures."""
    face = read_bmp(game.file("face.bmp"))
    covered = bytearray(face.w * face.h)
    for x, y, w, h in map(game.rect, layout.controls):
        for row in range(y, y + h):
            covered[row * face.w + x:row * face.w + x + w] = b"\1" * w
    wrong = sum(1 for i in range(face.w * face.h) if not covered[i]
                and shot.rgb[3 * i:3 * i + 3] != face.rgb[3 * i:3 * i + 3])
    check(wrong == 0, "%d face pixels differ" % wrong)
    for cid in layout.skins:
        check(game.region(shot, cid) == game.skin(cid, "Normal"),
              "button %d is not its normal picture" % cid)
    check(game.values(shot) == [1, 2, 1, 2] + [0] * 12,
          "idle board %s" % game.values(shot))


def main_session(desk, layout, args, env):
    ids = layout.ids
    folder = os.path.join(args.out, "program")
    program = copy_program(args.program, folder, args.source)

    # Without a display: at once, a failure and one line on stderr.
    started = time.monotonic()
    alone = subprocess.run([program], cwd=folder, capture_output=True,
                           timeout=10, env={k: v for k, v in env.items()
                                            if k != "DISPLAY"})
    said = alone.stderr.decode()
    check(alone.returncode != 0 and time.monotonic() - started < 2 and
          said.count("\n") == 1 and "graphical display" in said,
          "without a display: exit %d, said %r" % (alone.returncode, said))

    game = Game(desk, layout, args.source, program, folder, env, "program.log")
    print("start-up to the first shown frame: %.2f s" % game.startup)

    # Position, size and the window manager's view of it.
    check((game.x, game.y) == layout.window_pos(),
          "window at %d,%d" % (game.x, game.y))
    check((game.w, game.h) == (layout.window_w, layout.window_h),
          "window %dx%d" % (game.w, game.h))
    hints = desk.run(["xprop", "-id", game.wid, "WM_NORMAL_HINTS",
                      "_NET_FRAME_EXTENTS"])
    size = "%d by %d" % (layout.window_w, layout.window_h)
    check("minimum size: " + size in hints and "maximum size: " + size in hints,
          "the window can be resized: " + hints)
    check("= 0, 0, 0, 0" in hints, "the window has a frame: " + hints)
    check("Icon (32 x 32)" in desk.run(["xprop", "-id", game.wid,
                                        "_NET_WM_ICON"]), "no 32x32 icon")

    idle = game.shot()
    idle.save(os.path.join(args.out, "idle.ppm"))
    idle_pixels(game, layout, idle)

    if not args.sanitized:
        # utime+stime counts whole clock ticks; schedstat is exact, so the
        # limit is checked on it.
        before, before_ns = game.cpu_ms(), game.run_ns()
        time.sleep(10)
        used = game.cpu_ms() - before
        exact = (game.run_ns() - before_ns) / 1e6
        print("CPU time in 10 idle seconds: %.0f ms (utime+stime), %.1f ms "
              "(schedstat)" % (used, exact))
        check(exact < 20, "idle CPU %.1f ms" % exact)

    # The sport set and back; the box shows its mark meanwhile.
    box = ids["ID_SPORTS"]
    game.click(box)
    sport = wait_for("the sport set", lambda: (lambda s: s if game.values(
        s, "SPORT_ICONS") == [1, 2, 1, 2] + [0] * 12 else None)(game.shot()))
    sport.save(os.path.join(args.out, "sport.ppm"))
    check(game.region(sport, box) != game.region(idle, box),
          "the check box shows no mark")
    game.click(box)
    wait_for("the colour set", lambda: game.values(game.shot()) ==
             [1, 2, 1, 2] + [0] * 12)
    check(game.region(game.shot(), box) == game.region(idle, box),
          "the check box kept its mark")

    # Held: the pressed picture; moved off: normal; released off: no click.
    count, ball_count = ids["ID_COLORCOUNT"], ids["ID_BALLCOUNT"]
    desk.xdotool("mousemove", "--sync", *game.at(count), "mousedown", 1)
    held = wait_for("the pressed picture", lambda: (lambda s: s if game.region(
        s, count) == game.skin(count, "Pressed") else None)(game.shot()))
    held.save(os.path.join(args.out, "pressed.ppm"))
    desk.xdotool("mousemove", "--sync", game.x + 300, game.y + 340)
    wait_for("the normal picture", lambda: game.region(game.shot(), count) ==
             game.skin(count, "Normal"))
    desk.xdotool("mouseup", 1)
    time.sleep(0.3)
    check(game.region(game.shot(), ball_count) == game.region(idle, ball_count),
          "a release off the button counted as a click")

    # A new game deals places 1 to 4 and greys the check box.
    game.click(ids["ID_NEWGAME"])
    started = time.monotonic()
    dealt = wait_for("the dealt board", lambda: (lambda s: s if game.values(
        s)[4:] == [0] * 12 and None not in game.values(s)[:4]
        and 0 not in game.values(s)[:4] else None)(game.shot()))
    dealt.save(os.path.join(args.out, "dealt.ppm"))
    board = game.values(dealt)[:4]
    print("dealt", board)
    check(all(1 <= v <= 2 for v in board), "dealt %s with two colours" % board)
    check(game.region(dealt, box) != game.region(idle, box),
          "the check box is not greyed")
    game.click(box)
    time.sleep(0.3)
    check(game.values(game.shot())[:4] == board,
          "a click on the greyed check box was taken")

    # The help error box comes up, and the countdown goes on behind it.
    game.click(ids["ID_HELP"])
    title = layout.text["TEXT_HELP_ERROR_TITLE"]
    error_box = wait_for("the help error box",
                         lambda: desk.windows().get(title, [None])[0])
    desk.xdotool("windowmove", "--sync", error_box, 0, 0)
    blank = wait_for("the blanking", lambda: (lambda s: s if game.values(s)
                     == [0] * 16 else None)(game.shot()))
    blanked = time.monotonic() - started
    print("blanked %.1f s after the new game" % blanked)
    # Screenshots of a busy machine may come late, never early.
    check(9.0 < blanked < 14.0, "blanked after %.1f s" % blanked)
    check(error_box in desk.windows().get(title, []),
          "the error box went away by itself")
    desk.screenshot().save(os.path.join(args.out, "error-box.ppm"))
    blank.save(os.path.join(args.out, "blank.ppm"))
    close_box(desk, game)

    # Rebuilt from what was seen, a colour 2 with a double click; the win
    # deals round 2 with eight places.
    for k, value in enumerate(board):
        game.click(layout.places[k], times=value)
        time.sleep(0.15)
    round2 = wait_for("round 2", lambda: (lambda s: s if game.values(s)[8:]
                      == [0] * 8 and all(v in (1, 2) for v in
                      game.values(s)[:8]) else None)(game.shot()))
    round2.save(os.path.join(args.out, "round2.ppm"))
    print("round 2 dealt", game.values(round2)[:8])

    # Dragged by the title strip, and not from just right of it.
    left, top, right, bottom = layout.title
    x0, y0 = game.x, game.y
    px, py = x0 + right - 1, y0 + bottom - 1
    desk.xdotool("mousemove", "--sync", px, py, "mousedown", 1)
    for step in range(1, 6):
        dx, dy = -30 * step, 20 * step
        follow(desk, game.wid, (px + dx, py + dy), (x0 + dx, y0 + dy))
    desk.xdotool("mouseup", 1)
    wait_for("the window to stay put", lambda: desk.geometry(game.wid)[:2] ==
             (x0 - 150, y0 + 100))
    game.x, game.y = x0 - 150, y0 + 100
    desk.xdotool("mousemove", "--sync", game.x + right, game.y + 10,
                 "mousedown", 1, "mousemove", "--sync", game.x + right + 40,
                 game.y + 60, "mouseup", 1)
    time.sleep(0.3)
    check(desk.geometry(game.wid)[:2] == (game.x, game.y),
          "a press right of the title strip moved the window")

    game.click(ids["ID_CLOSE"])
    code = game.exit_code()
    check(code == 0, "exit code %d" % code)
    said = open(os.path.join(args.out, "program.log")).read()
    check(said == "", "the program said: " + said)
    return idle


def halved_difference(big, small, rect):
    """The mean difference of each colour value in rect of small and of big
    halved (each 2 x 2 pixels averaged)."""
    half = read_ppm(subprocess.run(["convert", "ppm:-", "-scale", "50%", "ppm:-"],
                                   input=b"P6\n%d %d\n255\n" % (big.w, big.h) + big.rgb,
                                   capture_output=True, check=True).stdout)
    a, b = half.crop(*rect).rgb, small.crop(*rect).rgb
    return sum(abs(x - y) for x, y in zip(a, b)) / len(a)


def scale_session(layout, args, env, idle):
    """QUINTARA_SCALE=2 on a screen of its own: the window twice the size,
    exactly the 2x pictures, like the 1x window once halved; the pressed
    picture, the title strip and a ball placed by a click at 2x."""
    out = os.path.join(args.out, "scale2")
    os.makedirs(out, exist_ok=True)
    desk = Desktop(out, (1600, 1000))
    try:
        program = copy_program(args.program, out, args.source)
        game = Game(desk, layout, args.source, program, out,
                    dict(env, DISPLAY=desk.env["DISPLAY"], QUINTARA_SCALE="2"),
                    "scale2.log", scale=2)
        check((game.w, game.h) == (2 * layout.window_w, 2 * layout.window_h),
              "window %dx%d at 2x" % (game.w, game.h))
        shot = game.shot()
        shot.save(os.path.join(out, "idle.ppm"))
        idle_pixels(game, layout, shot)
        # Halved, nearly the 1x window; a text, drawn anew at its size,
        # differs by less than half its ink (none would by all of it).
        whole = halved_difference(shot, idle, (0, 0, idle.w, idle.h))
        print("2x halved against 1x: mean difference %.2f" % whole)
        check(whole < 2, "the 2x window halved is not the 1x one")
        for cid in (c for c, v in layout.controls.items() if v[0] == "Static"):
            rect = layout.rect(cid)
            ink = sum(255 - v for v in idle.crop(*rect).rgb) / (3 * rect[2] * rect[3])
            check(halved_difference(shot, idle, rect) < ink / 2,
                  "static %d at 2x halved is not its 1x text" % cid)

        count = layout.ids["ID_COLORCOUNT"]
        desk.xdotool("mousemove", "--sync", *game.at(count), "mousedown", 1)
        wait_for("the 2x pressed picture", lambda: game.region(
            game.shot(), count) == game.skin(count, "Pressed"))
        desk.xdotool("mouseup", 1)

        game.click(layout.ids["ID_NEWGAME"])
        wait_for("the blanking", lambda: game.values(game.shot()) == [0] * 16)
        game.click(layout.places[0])
        wait_for("a ball placed", lambda: game.values(game.shot())[0] == 1)

        right, bottom = layout.title[2:]
        x0, y0 = game.x, game.y
        desk.xdotool("mousemove", "--sync", x0 + 2 * right - 1,
                     y0 + 2 * bottom - 1, "mousedown", 1)
        follow(desk, game.wid, (x0 + 2 * right - 41, y0 + 2 * bottom + 29),
               (x0 - 40, y0 + 30))
        desk.xdotool("mouseup", 1)
        wait_for("the window to stay put", lambda: desk.geometry(game.wid)[:2] ==
                 (x0 - 40, y0 + 30))
        game.x, game.y = x0 - 40, y0 + 30
        game.click(layout.ids["ID_QUIT"])
        check(game.exit_code() == 0, "exit code %d" % game.process.returncode)
    finally:
        desk.close()


def close_box(desk, game):
    """Closes the help error box by its button and waits for it and its
    processes to end: a press of Help meanwhile finds it still up."""
    title = game.layout.text["TEXT_HELP_ERROR_TITLE"]
    desk.xdotool("windowactivate", "--sync", desk.windows()[title][0], "key",
                 "Return")
    wait_for("the error box to close", lambda: title not in desk.windows())
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


def opened_page(record, resources):
    """The one file xdg-open was given: an existing .html file, by absolute
    path, that is the help's first page."""
    given = open(record).read().split()
    check(len(given) == 1 and given[0].endswith(".html") and
          os.path.isabs(given[0]) and os.path.isfile(given[0]),
          "xdg-open got %s" % given)
    check(open(given[0], "rb").read() == open(os.path.join(
          resources, "help", "index.html"), "rb").read(),
          given[0] + " is not the first help page")
    return given[0]


def help_session(desk, layout, args, env):
    """The help pages beside the executable go to xdg-open, also from
    another current folder, and the game does not wait for the viewer; a
    viewer that fails, or none, brings the box."""
    ids = layout.ids
    folder = os.path.join(args.out, "helped")
    program = copy_program(args.program, folder, args.source, help_file=True)
    env, record, exit_file, release = stub_viewer(args.out, env)
    elsewhere = os.path.join(args.out, "elsewhere")
    os.makedirs(elsewhere, exist_ok=True)
    game = Game(desk, layout, args.source, program, elsewhere, env,
                "helped.log")

    # No ball pictures in this folder: the stand-in discs.
    shot = game.shot()
    shot.save(os.path.join(args.out, "stand-ins.ppm"))
    for k, value in ((0, 1), (1, 2), (4, 0)):
        check(shows_stand_in(layout, shot, k, value),
              "place %d is no stand-in" % (k + 1))

    # Minimised and brought back, it shows the same again.
    game.click(ids["ID_MINIMISE"])
    state = lambda: desk.run(["xprop", "-id", game.wid, "WM_STATE"])
    wait_for("the window to minimise", lambda: "Iconic" in state())
    desk.xdotool("windowactivate", "--sync", game.wid)
    wait_for("the window to come back", lambda: "Normal" in state())
    wait_for("the window's pictures", lambda: game.shot().rgb == shot.rgb)

    title = layout.text["TEXT_HELP_ERROR_TITLE"]
    count = ids["ID_BALLCOUNT"]
    game.click(ids["ID_HELP"])
    wait_for("xdg-open", lambda: os.path.exists(record))
    game.click(ids["ID_COLORCOUNT"])
    wait_for("a click while the viewer runs", lambda: game.region(
        game.shot(), count) != game.region(shot, count))
    open(release, "w").close()
    wait_for("the viewer to end", lambda: not os.path.exists(release))
    time.sleep(0.5)
    check(opened_page(record, game.resources).startswith(
          os.path.realpath(folder) + os.sep),
          "the help pages beside the program were not opened")
    check(title not in desk.windows(), "an error box after a good viewer")

    open(exit_file, "w").write("3\n")
    open(release, "w").close()
    game.click(ids["ID_HELP"])
    wait_for("the help error box", lambda: title in desk.windows())
    close_box(desk, game)
    game.click(ids["ID_QUIT"])
    check(game.exit_code() == 0, "exit code %d" % game.process.returncode)

    # No viewer at all: three presses bring one box, and Quit ends it with
    # every process the game started.
    game = Game(desk, layout, args.source, program, elsewhere,
                dict(env, PATH=elsewhere), "unhelped.log")
    for _ in range(3):
        game.click(ids["ID_HELP"])
        wait_for("the help error box", lambda: title in desk.windows())
        time.sleep(0.5)
    check(len(desk.windows()[title]) == 1, "more than one box")
    for _ in range(20):  # a box that never showed came once in twenty
        close_box(desk, game)
        game.click(ids["ID_HELP"])
        wait_for("the help error box", lambda: title in desk.windows())
    game.click(ids["ID_QUIT"])
    check(game.exit_code() == 0, "exit code %d" % game.process.returncode)
    wait_for("the box to go", lambda: title not in desk.windows())
    wait_for("no process left", lambda: subprocess.run(
        ["pgrep", "-s", str(game.process.pid)], capture_output=True)
        .returncode == 1)
    for log in ("helped.log", "unhelped.log"):
        said = open(os.path.join(args.out, log)).read()
        check(said == "", "the program said: " + said)


def keys_session(desk, layout, args, env):
    """A round won with keys only, the board read from the screen (no
    picture fits the place under the cursor); a click hides the cursor."""
    folder = os.path.join(args.out, "program")
    program = os.path.join(folder, os.path.basename(args.program))
    game = Game(desk, layout, args.source, program, folder, env, "keys.log")
    desk.xdotool("windowactivate", "--sync", game.wid)
    key = lambda *keys: desk.xdotool("key", "--delay", 60, *keys)
    shown = lambda probe: wait_for("the board", lambda: probe(game.values(
        game.shot())))
    status, idle = layout.ids["ID_STATUS"], game.shot()
    key("F2")  # the status line is written last, once the board is dealt
    wait_for("the study phase", lambda: game.region(game.shot(), status) !=
             game.region(idle, status))
    board = shown(lambda v: v[4:] == [0] * 12 and set(v[:4]) <= {1, 2} and v)
    key("Right")
    shown(lambda v: v == [None] + [0] * 15)
    for k, value in enumerate(board[:4]):
        key(*["space"] * value + ["Right"] * (k < 3))
    shown(lambda v: v[8:] == [0] * 8 and set(v[:3] + v[4:8]) <= {1, 2} and
          v[3] is None)
    game.click(layout.ids["ID_CANCEL"])
    shown(lambda v: None not in v)
    key("ctrl+q")
    check(game.exit_code() == 0, "exit code %d" % game.process.returncode)

def shows_stand_in(layout, shot, k, value):
    x, y, w, h = layout.rect(layout.places[k])
    return (shot.pixel(x + w // 2, y + 8) == layout.body[value] and
            shot.pixel(x, y) == layout.body[0])


def hostile_session(desk, layout, args, env):
    """Each hostile file as ball1.bmp: the window in 5 s with stand-ins on
    places 1 and 3, a game dealt, little memory, and a clean end."""
    ids = layout.ids
    for name, make in hostile_pictures(os.path.join(
            args.source, "resources", "ColorIcons", "ball1.bmp")).items():
        folder = os.path.join(args.out, "hostile", name)
        shutil.rmtree(folder, ignore_errors=True)
        program = copy_program(args.program, folder, args.source)
        os.remove(os.path.join(folder, "ColorIcons", "ball1.bmp"))
        make(os.path.join(folder, "ColorIcons", "ball1.bmp"))
        started = time.monotonic()
        game = Game(desk, layout, args.source, program, folder, env,
                    "hostile-%s.log" % name)
        check(time.monotonic() - started < 5, name + ": slow start")
        shot = game.shot()
        check(shows_stand_in(layout, shot, 0, 1) and
              shows_stand_in(layout, shot, 2, 1), name + ": no stand-ins")
        box = ids["ID_SPORTS"]
        game.click(ids["ID_NEWGAME"])
        wait_for(name + ": a dealt game", lambda: game.region(
            game.shot(), box) != game.region(shot, box))
        peak = int(open("/proc/%d/status" % game.process.pid).read().split(
            "VmHWM:")[1].split()[0]) // 1024
        print("%s: peak memory %d MB" % (name, peak))
        check(args.sanitized or peak < 100, "%s: %d MB" % (name, peak))
        # The last one's window is destroyed by another client instead.
        if name == "loop":
            desk.xdotool("windowclose", game.wid)
        else:
            game.click(ids["ID_QUIT"])
        check(game.exit_code() == 0, name + ": exit code %d" %
              game.process.returncode)
        wait_for("the window to go", lambda: game.wid not in desk.windows().get(
            layout.text["WINDOW_TITLE"], []))


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


def recording(raw):
    """The envelope of what the disk driver wrote (44.1 kHz, 16 bits,
    stereo)."""
    data = open(raw, "rb").read()
    return envelope(struct.unpack("<%dh" % (len(data) // 2), data), 44100, 2)


def sound_envelope(args, sound):
    return wav_envelope(os.path.join(args.source, "resources", "sounds",
                                     sound + ".wav"))


def clock_game(layout, args):
    """A game started on a desktop of its own, recorded by the disk driver,
    left to run its clock out while the other sessions go on:
    (desk, game, recording, the idle check box)."""
    out = os.path.join(args.out, "clock")
    os.makedirs(out, exist_ok=True)
    raw = os.path.join(out, "sounds.raw")
    if os.path.exists(raw):
        os.remove(raw)
    desk = Desktop(out)
    try:
        program = copy_program(args.program, os.path.join(out, "program"),
                               args.source)
        game = Game(desk, layout, args.source, program, out, dict(
            desk.env, SDL_AUDIODRIVER="disk", SDL_DISKAUDIOFILE=raw),
            "clock.log")
        box = game.region(game.shot(), layout.ids["ID_SPORTS"])
        game.click(layout.ids["ID_NEWGAME"])
    except BaseException:
        desk.close()
        raise
    return desk, game, raw, box


def time_up(layout, args, clock):
    """Ten seconds of study and 04:59 of rebuilding after its new game, the
    clock game ends (its check box comes back) with the time-up sound."""
    desk, game, raw, box = clock
    wait_for("the time to run out", lambda: game.region(
        game.shot(), layout.ids["ID_SPORTS"]) == box, timeout=400, step=0.5)
    time.sleep(3)
    game.click(layout.ids["ID_QUIT"])
    check(game.exit_code() == 0, "exit code %d" % game.process.returncode)
    record = recording(raw)
    template = sound_envelope(args, "time-up")
    fit, when = max(found_at(record, template, 290 + 1.2 * i)
                    for i in range(int((len(record) * BLOCK - 290) / 1.2) + 1))
    print("time-up: at %.2f s, fit %.2f" % (when, fit))
    # The recording starts with the window, the new game a moment later.
    check(fit > 0.75 and 295 < when < 320,
          "no time-up sound as the time ran out (best %.2f at %.2f s)"
          % (fit, when))


def sound_session(desk, layout, args, env):
    """What the program plays, recorded by SDL's disk driver: each sound
    starts at its event (each found from the one before, as the recording
    runs a little slower than the clock)."""
    ids = layout.ids
    folder = os.path.join(args.out, "sounds")
    program = copy_program(args.program, folder, args.source)
    raw = os.path.join(args.out, "sounds.raw")
    if os.path.exists(raw):
        os.remove(raw)
    env = dict(env, SDL_AUDIODRIVER="disk", SDL_DISKAUDIOFILE=raw)
    game = Game(desk, layout, args.source, program, folder, env, "sounds.log")
    wait_for("the recording", lambda: os.path.exists(raw))
    begun, events = time.monotonic(), []

    # Each event is timed as the test's click reaches the X server, never
    # when the test sees its effect.
    def event(sound, cid):
        game.click(cid)
        events.append((sound, time.monotonic() - begun))
        time.sleep(1)
    event("alert", ids["ID_CANCEL"])
    event("click", ids["ID_COLORCOUNT"])
    event("minimise", ids["ID_MINIMISE"])
    desk.xdotool("windowactivate", "--sync", game.wid)
    event("new-game", ids["ID_NEWGAME"])
    board = wait_for("the deal", lambda: (lambda v: v if 0 not in v and None
                     not in v else None)(game.values(game.shot())[:4]))
    wait_for("the blanking", lambda: game.values(game.shot()) == [0] * 16)
    # The blanking and its sound come with the tenth tick of the study; the
    # first click, which cuts the sound, waits for its first half second.
    events.append(("hidden", events[-1][1] + 10))
    time.sleep(max(0, begun + events[-1][1] + 0.5 - time.monotonic()))
    clicks = [layout.places[k] for k, value in enumerate(board)
              for _ in range(value)]
    for n, place in enumerate(clicks):
        event("round-won" if n == len(clicks) - 1 else "ball", place)
    time.sleep(1)
    game.click(ids["ID_QUIT"])
    check(game.exit_code() == 0, "exit code %d" % game.process.returncode)

    record = recording(raw)
    shift = 0
    for sound, at in events:
        fit, when = found_at(record, sound_envelope(args, sound), at + shift)
        print("%s: at %.2f s, fit %.2f" % (sound, when, fit))
        check(fit > 0.75, "no %s sound near %.2f s" % (sound, at + shift))
        shift = when - at


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--source", required=True)
    parser.add_argument("--program", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--sanitized", action="store_true")
    parser.add_argument("--suppressions")
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    layout = Layout(args.source)
    desk = Desktop(args.out)
    env = dict(desk.env)
    env.pop("SDL_AUDIODRIVER", None)
    if args.sanitized:
        env["ASAN_OPTIONS"] = "detect_leaks=1"
        env["UBSAN_OPTIONS"] = "print_stacktrace=1"
        env["LSAN_OPTIONS"] = "suppressions=%s:print_suppressions=0" % (
            args.suppressions)
    # The sanitized run leaves the five-minute clock to the plain one.
    clock = None if args.sanitized else clock_game(layout, args)
    try:
        idle = main_session(desk, layout, args, env)
        scale_session(layout, args, env, idle)
        help_session(desk, layout, args, env)
        keys_session(desk, layout, args, env)
        hostile_session(desk, layout, args, env)
        sound_session(desk, layout, args, env)
        if clock:
            time_up(layout, args, clock)
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
