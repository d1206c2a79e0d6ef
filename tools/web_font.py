"""Cuts a language's face for the web page down to exactly the letters it
draws (tools/generate.py lists them), keeping the layout features by which
Arabic joins and Devanagari forms its clusters, unhinted (the page draws at
the screen's resolution), as WOFF2; then fails where the cut face lacks a
letter beyond ASCII (which the page's DejaVu piece has): the page would
draw a box for it. python3 -m tools.web_font FONT NUMBER LETTERS.txt OUT.woff2"""
import sys

from fontTools import subset
from fontTools.ttLib import TTFont


def main(font, number, letters, out):
    with open(letters, encoding="utf-8") as f:
        letters = sorted(set(f.read()) - set("\n"))
    subset.main([font, "--font-number=" + number, "--text=" + "".join(letters),
                 "--no-hinting", "--desubroutinize", "--drop-tables+=FFTM",
                 "--flavor=woff2", "--output-file=" + out])
    covered = TTFont(out).getBestCmap()
    missing = [c for c in letters if ord(c) > 0x7E and ord(c) not in covered]
    if missing:
        sys.exit("%s lacks %s" % (out, " ".join("U+%04X" % ord(c) for c in missing)))


if __name__ == "__main__":
    main(*sys.argv[1:])
