#!/usr/bin/env python3
"""The Linux program as an AT-SPI client finds it: its controls at idle, the
wake-ups with the bridge running, then the events of the check box, the
keyboard cursor and a game played through the controls' "click" actions;
in another language (--lang), its names and texts and the help opened."""

import argparse
import os
import sys

from tests.endtoend import (CONTROLS, ID, IDLE, PLACES, READING, TEXT, Failure, check,
                            lay_out, names, place_name, wait_for)
from tests.sdl.session import Game, opened_page, stub_viewer
from tests.sdl.xdesk import Desktop
from tools import catalogue

ROLES = {"Static": "label", "CheckBox": "check box"}
STATE = "object:state-changed:"


class Reader:
    """An AT-SPI client; events as (type, source's name, detail1, text)."""

    def __init__(self, desk):
        os.environ.update({k: desk.env[k] for k in ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS")})
        import gi
        gi.require_version("Atspi", "2.0")
        from gi.repository import Atspi, GLib
        self.atspi, self.context, self.events = Atspi, GLib.MainContext.default(), []
        top = Atspi.get_desktop(0)
        self.app = wait_for("the application on the bus", lambda: next((a for a in map(
            top.get_child_at_index, range(top.get_child_count()))
            if a and a.get_name() == TEXT["WINDOW_TITLE"]), None))

    def listen(self):
        self.listener = self.atspi.EventListener.new(lambda e: self.events.append((
            e.type, e.source.get_name(), e.detail1,
            e.any_data if isinstance(e.any_data, str) else None)))
        list(map(self.listener.register, (STATE, "object:text-changed:insert", "window")))

    def heard(self, what, event):
        """The events (then forgotten) once one is event or (type, detail1)."""
        def look():
            while self.context.iteration(False):
                pass
            return any(e[:1] + e[2:3] == event or e == event for e in self.events)
        wait_for(what, look)
        events, self.events = self.events, []
        return events

    def controls(self):
        # Every answer comes from the program, none from the client's cache.
        self.app.clear_cache()
        self.window = self.app.get_child_at_index(0)
        return list(map(self.window.get_child_at_index, range(self.window.get_child_count())))

    def states(self, c):
        return {s.value_nick for s in c.get_state_set().get_states()}

    def click(self, cid):
        check(self.atspi.Action.do_action(self.controls()[READING.index(cid)], 0), "no click")


def idle(game, most, what):
    """A stray message of the bus or the desktop may wake it once on a busy
    machine; a timer would wake it in every window, so a second is counted
    before failing."""
    for _ in range(2):
        woken = game.wakeups(10)
        print("idle wake-ups in 10 s %s, by thread:" % what, woken)
        if sum(woken.values()) <= most:
            return
    check(False, "idle wake-ups %s" % woken)


def session(desk, args):
    folder = os.path.join(args.out, "program")
    texts = dict(TEXT, **catalogue.translations(args.lang)) if args.lang else TEXT
    NAMES, name = names(texts), lambda k, v: place_name(k, v, texts=texts)
    # A static's start-up text, such as "No game running", in the language.
    start = {c: texts.get(next((k for k, t in TEXT.items() if t == CONTROLS[c].text), ""),
                          CONTROLS[c].text) for c in CONTROLS}
    env, record, _, release = stub_viewer(args.out, dict(
        desk.env, QUINTARA_LANG=args.lang or "en"))
    program = lay_out(folder, args.program, *(("help", "help/" + args.lang) if args.lang else ()))
    game = Game(desk, program, folder, env, "program.log")
    reader = Reader(desk)
    reader.controls()
    wait_for("the window, active", lambda: reader.window.get_role_name() == "frame" and
             "active" in reader.states(reader.window))
    # The bridge wakes as the objects it lent a reader expire, 15 s after.
    idle(game, 1, "with the bridge running")
    # The controls in reading order as at start-up, and where they lie.
    want = NAMES | {p: name(k, v) for k, (p, v) in enumerate(zip(PLACES, IDLE), 1)}
    check(len(reader.controls()) == len(READING), "not one object a control")
    for cid, c in zip(READING, reader.controls()):
        kind, states, box = CONTROLS[cid].kind, reader.states(c), c.get_extents(0)
        check((c.get_name(), c.get_role_name()) == (want[cid], ROLES.get(kind, "push button")) and
              {"enabled", "sensitive", "showing"} <= states and
              not {"focused", "checked"} & states and ("focusable" in states) == (kind != "Static")
              and (kind != "Static" or reader.atspi.Text.get_text(c, 0, -1) == start[cid]),
              "control %d is %r, %s, %s" % (cid, c.get_name(), c.get_role_name(), states))
        check((box.x - game.x, box.y - game.y, box.width, box.height) == tuple(
            getattr(CONTROLS[cid], a) for a in "xywh"), "control %d lies at %s" % (cid, box))

    # Ticked and back: one state change each.
    reader.listen()
    box = ID["ID_SPORTS"]
    for ticked in (1, 0):
        reader.click(box)
        events = reader.heard("the check box", (STATE + "checked", ticked))
        check([e for e in events if e[0] == STATE + "checked"] ==
              [(STATE + "checked", NAMES[box], ticked, None)], events)
    # Registered now, the reader wakes no timer (one would every period).
    idle(game, 4, "with a reader listening")

    # The cursor shown on place 1, then moved to place 2: the focus follows.
    desk.xdotool("windowactivate", "--sync", game.wid)
    for k in (1, 2):
        desk.xdotool("key", "Right")
        reader.heard("place %d focused" % k, (STATE + "focused", name(k, IDLE[k - 1]), 1, None))

    # A game: places 1 to 4 name their dealt colours, the status line tells.
    reader.click(ID["ID_NEWGAME"])
    events = reader.heard("the study phase", (
        "object:text-changed:insert", NAMES[ID["ID_STATUS"]], 0, texts["TEXT_STUDY"]))
    check((STATE + "showing", texts["TEXT_STUDY"], 1, None) in events, "no notice: %s" % events)
    dealt = game.board("the dealt board", lambda v: v[4:] == [0] * 12 and
                       not {0, None} & set(v[:4]))[:4]
    check([c.get_name() for c in reader.controls()[:16]] == [
        name(k, v) for k, v in enumerate(dealt + [0] * 12, 1)], "the dealt names")
    reader.click(ID["ID_CANCEL"])
    reader.heard("the end of the game", (STATE + "enabled", 1))
    check(reader.atspi.Text.get_text(reader.controls()[READING.index(ID["ID_STATUS"])], 0, -1)
          == texts["TEXT_CANCELED"], "the status line after Cancel")
    if args.lang:  # the help in the language, beside the English
        reader.click(ID["ID_HELP"])
        wait_for("xdg-open", lambda: os.path.exists(record))
        open(release, "w").close()
        check(os.path.dirname(opened_page(record, args.lang)).endswith("/help/" + args.lang),
              "the help in %s was not opened" % args.lang)
    reader.click(ID["ID_QUIT"])
    game.ended()
    said = open(os.path.join(args.out, "program.log")).read()
    check(said == "", "the program said: " + said)


def main():
    parser = argparse.ArgumentParser()
    for name in ("--program", "--out"):
        parser.add_argument(name, required=True)
    parser.add_argument("--lang", help="a shipped language to run in, such as ru")
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    desk = Desktop(args.out)
    try:
        session(desk, args)
    except Failure as failure:
        return print("FAILED:", failure) or 1
    finally:
        desk.close()


if __name__ == "__main__":
    sys.exit(main())
