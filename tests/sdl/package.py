#!/usr/bin/env python3
"""Builds the Debian package, checks it with the distributor's tools
(lintian, appstreamcli, desktop-file-validate), unpacks it into a folder and
checks its layout; then starts the game through the packaged quintara
command from another folder, looks for the balls on the board and has the
installed help pages opened."""

import argparse
import glob
import os
import re
import shutil
import subprocess
import sys

from tests.endtoend import ID, IDLE, Failure, check, wait_for
from tests.sdl.session import Game, opened_page, stub_viewer
from tests.sdl.xdesk import Desktop
from tools.assets import build
from tools.pictures import Picture

PROGRAM = "/usr/libexec/quintara/quintara"
DATA_DIR = "/usr/share/games/quintara"
HELP = "/usr/share/help/C/quintara/index.html"
DESKTOP = "/usr/share/applications/quintara.desktop"
METAINFO = "/usr/share/metainfo/io.github.quintara.Quintara.metainfo.xml"


def tool(argv):
    """Runs a checker; any complaint fails the test."""
    run = subprocess.run(argv, capture_output=True, text=True, timeout=120)
    said = (run.stdout + run.stderr).strip()
    print("$ %s\n%s" % (" ".join(os.path.basename(a) for a in argv), said))
    return run.returncode, said


def layout_of(root):
    for path in ["/usr/games/quintara", PROGRAM, HELP, DESKTOP, METAINFO,
                 "/usr/share/man/man6/quintara.6.gz",
                 "/usr/share/doc/quintara/copyright",
                 "/usr/share/doc/quintara/changelog.Debian.gz",
                 "/usr/share/icons/hicolor/scalable/apps/quintara.svg"]:
        check(os.path.exists(root + path), path + " is not in the package")
    for folder, name in (("ColorIcons", "ball"), ("SportIcons", "sport")):
        for n in range(8):
            path = "%s/%s/%s%d.bmp" % (DATA_DIR, folder, name, n)
            check(os.path.exists(root + path), path + " is not in the package")
    for size in build.ICON_SIZES:
        icon = root + "/usr/share/icons/hicolor/%dx%d/apps/quintara.png" % (
            size, size)
        check(os.path.exists(icon) and Picture.read(icon).image.size == (size, size),
              "no %d pixel icon" % size)
    desktop = open(root + DESKTOP).read()
    entry = dict(re.findall(r"^(\w+)=(.*)$", desktop, re.M))
    check(entry.get("Exec") == "/usr/games/quintara",
          "Exec= " + entry.get("Exec", ""))
    for key in ("Keywords", "GenericName", "Comment"):
        check(entry.get(key), "the launcher has no " + key)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--source")  # the tests read the tree they are in
    parser.add_argument("--build", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    shutil.rmtree(args.out, ignore_errors=True)
    os.makedirs(args.out)
    made = subprocess.run(
        ["cpack", "-G", "DEB", "--config",
         os.path.join(args.build, "CPackConfig.cmake"), "-B", args.out],
        capture_output=True, text=True, timeout=150)
    debs = glob.glob(os.path.join(args.out, "*.deb"))
    if made.returncode != 0 or len(debs) != 1:
        print(made.stdout, made.stderr)
        print("FAILED: cpack made no package")
        return 1
    info = subprocess.run(["dpkg-deb", "--info", debs[0]], capture_output=True,
                          text=True).stdout
    print(info)
    root = os.path.join(args.out, "root")
    subprocess.run(["dpkg", "-x", debs[0], root], check=True)

    desk = None
    try:
        check(re.search(r"Depends:.*libsdl2-2\.0", info), "no SDL dependency")
        # Every tag, info and pedantic ones too, is fixed or overridden.
        code, said = tool(["lintian", "--pedantic", "-I", debs[0]])
        check(code == 0 and not re.search(r"^[EWIPX]:", said, re.M),
              "lintian complains")
        code, said = tool(["appstreamcli", "validate", "--no-net",
                           root + METAINFO])
        check(code == 0, "appstreamcli finds the metainfo invalid")
        code, said = tool(["desktop-file-validate", root + DESKTOP])
        check(code == 0 and said == "", "desktop-file-validate complains")
        layout_of(root)
        desk = Desktop(args.out)
        env, record, _, release = stub_viewer(args.out, desk.env)
        game = Game(desk, root + "/usr/games/quintara", args.out, env,
                    "program.log")
        shot = game.shot("started")
        check(game.values(shot) == IDLE,
              "the launcher's game shows %s" % game.values(shot))
        game.click(ID["ID_HELP"])
        wait_for("xdg-open", lambda: os.path.exists(record) and
                 open(record).read().endswith("\n"))
        check(opened_page(record) ==
              os.path.realpath(root + HELP), "not the installed help pages")
        open(release, "w").close()
        wait_for("the viewer to end", lambda: not os.path.exists(release))
        game.quit(ID["ID_CLOSE"])
    except Failure as failure:
        print("FAILED:", failure)
        return 1
    finally:
        if desk:
            desk.close()
    print("package", os.path.basename(debs[0]), "unpacked and started")
    return 0


if __name__ == "__main__":
    sys.exit(main())
