"""The translations, the gettext way. Two templates are made from the one
source of each text: po/quintara.pot from the game's texts in
src/game/facts.json and the Linux desktop entry and AppStream file, and
po/help/quintara-help.pot from the help pages. A language is po/<ll>.po and
po/help/<ll>.po, listed in po/LINGUAS.
python3 -m tools.catalogue refreshes the templates and merges them into
every language's catalogue (msgmerge); the build reads the catalogues
through translations()."""
import gettext
import json
import io
import os
import subprocess
import tempfile

from tools import facts

PO = os.path.join(facts.ROOT, "po")
HELP_PO = os.path.join(PO, "help")
PACKAGE = os.path.join(facts.ROOT, "src", "shell", "sdl", "package")
DESKTOP = ("quintara.desktop.in", "io.github.quintara.Quintara.metainfo.xml.in")
HELP = os.path.join(facts.ROOT, "tools", "assets", "help")
FLOOR = facts.DATA["captionFit"]["floor"]
# The texts the status line shows.
STATUS_TEXTS = ("TEXT_NO_GAME", "TEXT_STUDY", "TEXT_RESOLVE", "TEXT_CANCELED", "TEXT_EXPIRED")
HEADER = ('msgid ""\nmsgstr ""\n"Project-Id-Version: Quintara %s\\n"\n'
          '"Language: \\n"\n"MIME-Version: 1.0\\n"\n'
          '"Content-Type: text/plain; charset=UTF-8\\n"\n'
          '"Content-Transfer-Encoding: 8bit\\n"\n\n')


with open(os.path.join(PO, "languages.json"), encoding="utf-8") as _f:
    ABOUT = json.load(_f)  # what the programs know of each language, by code


def languages():
    """The shipped languages, by their codes in po/LINGUAS."""
    with open(os.path.join(PO, "LINGUAS"), encoding="utf-8") as f:
        return [w for line in f for w in line.split("#")[0].split()]


def _quote(text):
    return '"%s"' % text.replace("\\", "\\\\").replace('"', '\\"')


def _room(key):
    """What a translator must fit the text into."""
    rooms = []
    for face in facts.FACES:
        for c in facts.captions(face):
            if c.text == key:
                rooms.append("%s %s: %g x %g px, %s %g px" % (
                    face.name, "button" if c.button else "caption", c.w, c.h, c.font, c.size))
    if key in STATUS_TEXTS:
        for face in facts.FACES:
            s = facts.control("ID_STATUS", face)
            rooms.append("%s status line: %d x %d px, 8 pt" % (face.name, s.w, s.h))
    if not rooms:
        return ""
    return ("Room (at 1x): %s. A longer text is narrowed, then made smaller, down to %d px."
            % ("; ".join(rooms), FLOOR))


def game_pot():
    """The game's texts, each in the context of its name."""
    out = [HEADER % facts.VERSION]
    for key in facts.TRANSLATED:
        for note in (facts.DATA["notes"].get(key, ""), _room(key)):
            if note:
                out.append("#. %s\n" % note)
        if "%" in facts.TEXTS[key]:
            out.append("#, c-format\n")
        out.append("msgctxt %s\nmsgid %s\nmsgstr \"\"\n\n" % (_quote(key),
                                                          _quote(facts.TEXTS[key])))
    with tempfile.TemporaryDirectory() as tmp:
        game = os.path.join(tmp, "game.pot")
        with open(game, "w", encoding="utf-8") as f:
            f.write("".join(out))
        package = os.path.join(tmp, "package.pot")
        subprocess.run(["xgettext", "--omit-header", "--add-comments", "-o", package]
                       + list(DESKTOP), cwd=PACKAGE, check=True)
        return subprocess.run(["msgcat", "--use-first", game, package], check=True,
                              stdout=subprocess.PIPE, text=True).stdout


def help_pot():
    with tempfile.TemporaryDirectory() as tmp:
        out = os.path.join(tmp, "help.pot")
        subprocess.run(["html2po", "--pot", "--duplicates=merge", "--multifile=onefile",
                        "--progress=none", "-i", ".", "-o", out], cwd=HELP, check=True)
        with open(out, encoding="utf-8") as f:
            # Without the tool's time and location, so that it changes only
            # with the pages.
            return "".join(line for line in f if not line.startswith(
                ('"POT-Creation-Date', '"X-Generator', "#: ")))


def _write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)


def update():
    """Refresh both templates and merge them into every catalogue."""
    for folder, name, text in ((PO, "quintara.pot", game_pot()),
                               (HELP_PO, "quintara-help.pot", help_pot())):
        template = os.path.join(folder, name)
        _write(template, text)
        for lang in languages():
            po = os.path.join(folder, lang + ".po")
            if os.path.exists(po):
                subprocess.run(["msgmerge", "--quiet", "--update", "--backup=none",
                                "--no-fuzzy-matching", po, template], check=True)


def _compiled(po):
    mo = subprocess.run(["msgfmt", "--check", "-o", "-", po], check=True,
                        stdout=subprocess.PIPE).stdout
    return gettext.GNUTranslations(io.BytesIO(mo))


# A language whose texts are the English in accented letters and 40 %
# longer, which the programs carry, as Windows carries its qps-ploc, to show
# whether a translation would have room; only ever asked for by name.
PSEUDO = "qps-ploc"
_ACCENTED = str.maketrans("aeiouncAEIOUNC", "\u00e0\u00e9\u00ee\u00f6\u00fc\u00f1\u00e7"
                          "\u00c0\u00c9\u00ce\u00d6\u00dc\u00d1\u00c7")


def pseudo(text):
    more = text[:len(text) * 2 // 5].replace("%", "")
    return text.translate(_ACCENTED) + " " + more


def carried():
    """The languages the programs carry: the shipped ones and the pseudo one."""
    return languages() + [PSEUDO]


def translations(lang):
    """{text key: text} of a language's game texts; a text its catalogue
    lacks is the English one."""
    if lang == PSEUDO:
        return {key: pseudo(facts.TEXTS[key]) for key in facts.TRANSLATED}
    t = _compiled(os.path.join(PO, lang + ".po"))
    return {key: t.pgettext(key, facts.TEXTS[key]) for key in facts.TRANSLATED}


if __name__ == "__main__":
    update()
