"""Writes the resource script's list of what the Windows program carries,
from resources.txt: python3 carried.py <output .rc>."""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "..",
                                "tools", "assets"))
import layout  # noqa: E402

TYPES = {".bmp": "BITMAP", ".ico": "ICON", ".wav": "WAVE"}

lines = ["// Made by carried.py from resources.txt; do not edit."]
for id, file in layout.carried("win32").items():
    lines.append('%d %s "%s"' % (id, TYPES[os.path.splitext(file)[1]], file))
with open(sys.argv[1], "w", encoding="utf-8") as f:
    f.write("\n".join(lines) + "\n")
