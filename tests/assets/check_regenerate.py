"""scripts/assets rebuilds every generated resource byte for byte: the
committed files are exactly what the sources give."""
import filecmp
import os
import shutil
import subprocess
import sys
import tempfile

from tests.assets.files import RESOURCES, ROOT


def listing(top):
    return sorted(os.path.relpath(os.path.join(d, f), top)
                  for d, _, files in os.walk(top) for f in files)


def main():
    missing = [t for t in ("rsvg-convert", "chmcmd", "lame") if not shutil.which(t)]
    if missing:
        print("skipped: %s not installed" % ", ".join(missing))
        return 77
    with tempfile.TemporaryDirectory() as out:
        subprocess.run([os.path.join(ROOT, "scripts", "assets"), out], check=True)
        made = listing(out)
        committed = listing(RESOURCES)
        differ = [f for f in made if not os.path.exists(os.path.join(RESOURCES, f))
                  or not filecmp.cmp(os.path.join(out, f), os.path.join(RESOURCES, f),
                                     shallow=False)]
    stale = sorted(set(committed) - set(made))
    print("%d files regenerated, %d differ, %d committed but not generated"
          % (len(made), len(differ), len(stale)))
    for f in differ:
        print("differs: " + f)
    for f in stale:
        print("not generated: " + f)
    return 1 if differ or stale else 0


if __name__ == "__main__":
    sys.exit(main())
