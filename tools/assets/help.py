"""The help pages from their one source, help/ in this folder, with the
game's texts put in where a page names them ({TEXT_STUDY}), in the form both
the help compiler and the browsers of the other programs take: windows-1252,
as the pages declare, with CRLF line ends."""
import os
import re

from tools import facts

SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "help")
PAGES = sorted(n for n in os.listdir(SOURCE) if n.endswith((".html", ".css")))
PROJECT = ("quintara.hhp", "toc.hhc")  # the help compiler's own files


def write(folder, names=PAGES):
    """Writes the pages (and any of the compiler's files named) to folder."""
    os.makedirs(folder, exist_ok=True)
    for name in names:
        with open(os.path.join(SOURCE, name), encoding="utf-8") as f:
            page = re.sub(r"\{(TEXT_\w+)\}", lambda m: facts.TEXTS[m.group(1)], f.read())
        path = os.path.join(folder, name)
        if os.path.exists(path):
            with open(path, encoding="cp1252", newline="") as f:
                if f.read() == page.replace("\n", "\r\n"):
                    continue
        with open(path, "w", encoding="cp1252", newline="\r\n") as f:
            f.write(page)
