"""The seven colour balls stay apart as players see them: the minimum
pairwise CIEDE2000 distance between their body colours, measured as the
mean over a central disc of each committed picture, in normal vision and
under simulated protanopia, deuteranopia and tritanopia."""
import sys

from tests.assets.files import bitmap
from tools.assets import colour

RADIUS = 12
NEEDED = {"normal": 20.0, "protanopia": 10.0, "deuteranopia": 10.0, "tritanopia": 10.0}


def body_colour(n):
    w, h, rows = bitmap("ColorIcons", "ball%d.bmp" % n)
    disc = [rows[y][x] for y in range(h) for x in range(w)
            if (x + 0.5 - w / 2) ** 2 + (y + 0.5 - h / 2) ** 2 <= RADIUS ** 2]
    return tuple(sum(p[i] for p in disc) / len(disc) for i in range(3))


def main():
    bodies = [body_colour(n) for n in range(1, 8)]
    for n, c in enumerate(bodies, 1):
        print("ball%d body colour %s" % (n, " ".join("%.1f" % v for v in c)))
    failed = False
    for vision, needed in NEEDED.items():
        distance, (i, j) = colour.min_distance(bodies, vision)
        ok = distance >= needed
        failed |= not ok
        print("%-12s min CIEDE2000 %5.1f (balls %d and %d), needs %4.1f: %s"
              % (vision, distance, i + 1, j + 1, needed, "ok" if ok else "TOO CLOSE"))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
