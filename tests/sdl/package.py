#!/usr/bin/env python3
"""Builds the Debian package, unpacks it into a folder and checks its
layout; then starts the game through the packaged quintara command from
another folder and looks for the balls on the board."""

import argparse
import glob
import os
import re
import shutil
import subprocess
import sys

from session import Game
from xdesk import Desktop, Failure, Layout, check

PROGRAM_DIR = "/usr/lib/quintara"


def png_size(path):
    data = open(path, "rb").read(24)
    return int.from_bytes(data[16:20], "big"), int.from_bytes(data[20:24], "big")


def layout_of(root):
    def has(path):
        return os.path.exists(root + path)
    for path in ["/usr/bin/quintara", PROGRAM_DIR + "/quintara",
                 PROGRAM_DIR + "/quintara-help.chm",
                 "/usr/share/applications/quintara.desktop"]:
        check(has(path), path + " is not in the package")
    for folder, name in (("ColorIcons", "ball"), ("SportIcons", "sport")):
        for n in range(8):
            path = "%s/%s/%s%d.bmp" % (PROGRAM_DIR, folder, name, n)
            check(has(path), path + " is not in the package")
    for size in (32, 256):
        icon = root + "/usr/share/icons/hicolor/%dx%d/apps/quintara.png" % (
            size, size)
        check(os.path.exists(icon) and png_size(icon) == (size, size),
              "no %d pixel icon" % size)
    desktop = open(root + "/usr/share/applications/quintara.desktop").read()
    entry = dict(re.findall(r"^(\w+)=(.*)$", desktop, re.M))
    check(entry.get("Path") == PROGRAM_DIR, "Path= " + entry.get("Path", ""))
    check(entry.get("Exec", "").split()[0] in (PROGRAM_DIR + "/quintara",
          "quintara"), "Exec= " + entry.get("Exec", ""))
    check(entry.get("Icon") == "quintara", "Icon= " + entry.get("Icon", ""))
    check(entry.get("Type") == "Application", "Type= " + entry.get("Type", ""))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--source", required=True)
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

    layout = Layout(args.source)
    desk = None
    try:
        check(re.search(r"Depends:.*libsdl2-2\.0", info), "no SDL dependency")
        layout_of(root)
        desk = Desktop(args.out)
        game = Game(desk, layout, args.source, root + "/usr/bin/quintara",
                    args.out, desk.env, "program.log")
        shot = game.shot()
        shot.save(os.path.join(args.out, "started.ppm"))
        check(game.values(shot) == [1, 2, 1, 2] + [0] * 12,
              "the launcher's game shows %s" % game.values(shot))
        game.click(layout.ids["ID_CLOSE"])
        check(game.exit_code() == 0, "exit code %d" % game.process.returncode)
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
