"""The help pages from their one source, help/ in this folder, in English or
in a shipped language (translated through po/help/<ll>.po), with the game's
texts put in where a page names them ({TEXT_STUDY}) in the same language, in
the form both the help compiler and the browsers of the other programs take:
the language's Windows code page, as each page declares, with CRLF line
ends. Their pictures are made by scripts/assets into resources/help."""
import functools
import io
import locale
import os
import re
import shutil

from translate.convert import po2html
from translate.storage import po

from tools import catalogue, facts

SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "help")
PICTURES = os.path.join(facts.ROOT, "resources", "help")
PAGES = sorted(n for n in os.listdir(SOURCE) if n.endswith((".html", ".css")))
PROJECT = ("quintara.hhp", "toc.hhc")  # the help compiler's own files
SOURCE_CODE_PAGE = ("cp1252", "windows-1252")  # the one the sources declare


def _code_page(lang):
    """Windows's code page of a language's text (po/languages.json); a
    language Windows keeps in Unicode only has its letters as character
    references."""
    return catalogue.ABOUT[lang]["codePage"] if lang != "en" else SOURCE_CODE_PAGE


def code_page(lang):
    """The code page of a language's pages, as Python names it."""
    return _code_page(lang)[0]


def charset(lang):
    """The same as the pages declare it."""
    return _code_page(lang)[1]


def lcid(lang):
    """The Windows language id of a catalogue's code: that of its region,
    else the first of its language."""
    names = locale.windows_locale
    exact = [k for k, v in names.items() if v == lang]
    return min(exact or [k for k, v in names.items() if v.split("_")[0] == lang])


def chm_name(lang="en"):
    """The compiled help's file: quintara-help.chm in English, else
    quintara-help-<ll>.chm."""
    name = facts.TEXTS["HELP_FILE_NAME"]
    return name if lang == "en" else name.replace(".chm", "-%s.chm" % lang)


def chm_languages():
    """English and each shipped language whose code page holds the letters of
    its help's contents: the help viewer shows the titles there character
    references and all (its pages take them), so a language Windows keeps
    in Unicode only (Hindi) is given the English file."""
    with open(os.path.join(SOURCE, "toc.hhc"), encoding="utf-8") as f:
        contents = f.read()

    def held(lang):
        try:
            _translated("toc.hhc", contents, lang).encode(code_page(lang))
        except UnicodeEncodeError:
            return False
        return True
    return ["en"] + [lang for lang in catalogue.languages() if held(lang)]


@functools.lru_cache(maxsize=None)
def _catalogue(lang):
    path = os.path.join(catalogue.HELP_PO, lang + ".po")
    if not os.path.exists(path):
        return None
    with open(path, "rb") as f:
        return po.pofile(f)


@functools.lru_cache(maxsize=None)
def _texts(lang):
    return facts.TEXTS if lang == "en" else dict(facts.TEXTS, **catalogue.translations(lang))


def _translated(name, text, lang):
    """A page, the contents or the project in lang as far as its catalogue
    goes."""
    store = _catalogue(lang)
    if name.endswith(".hhp"):
        return (text.replace("Compiled file=" + chm_name(), "Compiled file=" + chm_name(lang))
                .replace("Language=0x409 English (United States)",
                         "Language=0x%x %s" % (lcid(lang), lang)))
    if not store:
        return text
    if name.endswith(".hhc"):
        # Its titles are the pages' own, so the same messages; its list
        # items are never closed, which the pages' parser does not take.
        titles = {u.source: u.target for u in store.units if u.istranslated()}
        return re.sub(r'(<param name="Name" value=")([^"]*)', lambda m: m.group(1) + titles.get(
            m.group(2), m.group(2)).replace('"', "&quot;"), text)
    if not name.endswith(".html"):
        return text
    return po2html.po2html().mergestore(
        store, io.BytesIO(text.encode(SOURCE_CODE_PAGE[0])), includefuzzy=False)


def page(name, lang="en"):
    """The bytes of a page as the programs show it."""
    with open(os.path.join(SOURCE, name), encoding="utf-8") as f:
        text = f.read()
    texts = _texts(lang)
    if lang != "en":
        text = _translated(name, text, lang).replace(
            "charset=windows-1252", "charset=" + charset(lang))
    text = re.sub(r"\{(TEXT_\w+)\}", lambda m: texts[m.group(1)], text)
    return text.replace("\n", "\r\n").encode(code_page(lang), "xmlcharrefreplace")


def write(folder, names=PAGES, lang="en"):
    """Writes the pages (and any of the compiler's files named) in lang to
    folder, leaving a page that is already so untouched."""
    os.makedirs(folder, exist_ok=True)
    for name in names:
        path = os.path.join(folder, name)
        data = page(name, lang)
        if not os.path.exists(path) or open(path, "rb").read() != data:
            with open(path, "wb") as f:
                f.write(data)


def lay_out(folder, lang="en"):
    """The whole help in lang, pages and pictures, in folder."""
    write(folder, lang=lang)
    shutil.copytree(PICTURES, folder, dirs_exist_ok=True)
