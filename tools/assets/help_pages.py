"""The help pages from their one source, help/ in this folder, with the
game's texts put in where a page names them ({TEXT_STUDY}), in the form both
the help compiler and the browsers of the other programs take: windows-1252,
as the pages declare, with CRLF line ends. Their pictures are made by
scripts/assets into resources/help."""
import os
import re
import shutil

from tools import facts

SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "help")
PICTURES = os.path.join(facts.ROOT, "resources", "help")
PAGES = sorted(n for n in os.listdir(SOURCE) if n.endswith((".html", ".css")))
PROJECT = ("quintara.hhp", "toc.hhc")  # the help compiler's own files


def page(name):
    """The bytes of a page as the programs show it."""
    with open(os.path.join(SOURCE, name), encoding="utf-8") as f:
        text = re.sub(r"\{(TEXT_\w+)\}", lambda m: facts.TEXTS[m.group(1)], f.read())
    return text.replace("\n", "\r\n").encode("cp1252")


def write(folder, names=PAGES):
    """Writes the pages (and any of the compiler's files named) to folder,
    leaving a page that is already so untouched."""
    os.makedirs(folder, exist_ok=True)
    for name in names:
        path = os.path.join(folder, name)
        data = page(name)
        if not os.path.exists(path) or open(path, "rb").read() != data:
            with open(path, "wb") as f:
                f.write(data)


def lay_out(folder):
    """The whole help, pages and pictures, in folder."""
    write(folder)
    shutil.copytree(PICTURES, folder, dirs_exist_ok=True)
