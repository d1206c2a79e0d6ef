"""Writes what the programs are built from, out of src/game/facts.json: the
core's headers (facts.h, texts.h), the Windows resource script's list
(carried.rc), the Linux program's embedded files (embedded.cpp), the web
page's table (files.inc), the lists CMake copies (carried.cmake), the web
site's font pieces (fonts.cmake), the letters of its languages' own
faces (fonts/<ll>-<weight>.txt) and help pages (site/help/<ll>/), the
installer's languages and help files (installer.nsh) and the help pages as
HTML (help/, and help/<ll>/ in each shipped language).
python3 -m tools.generate <output folder>; a file is rewritten only when it
changes, so an unchanged build stays built."""
import json
import os
import re
import sys
import unicodedata

from tools import catalogue, facts
from tools.assets import help_pages

RESOURCES = os.path.join(facts.ROOT, "resources")
MADE = "// Made by tools/generate.py from src/game/facts.json; do not edit.\n"


def c_string(text):
    return json.dumps(text)  # a C++ literal too: the same escapes


def control_table(name, face):
    rows = ["    {%s, ControlKind::%s, %d, %d, %d, %d, %s}," % (
        c.name, c.kind, c.x, c.y, c.w, c.h, c_string(c.text)) for c in face.controls]
    return ("// clang-format off\ninline constexpr Control %s[] = {\n%s\n};\n"
            "// clang-format on\n" % (name, "\n".join(rows)))


def caption_table(name, face):
    index = {k: n for n, k in enumerate(facts.TRANSLATED)}
    colour = lambda c: "0x%s" % c[1:] if c else "kNoShadow"  # noqa: E731
    rows = ["    {%d, CaptionFont::%s, %g, %s, %s, CaptionAlign::%s, %g, %g, %g, %g, %g, %s}," % (
        index[c.text], c.font.capitalize(), c.size, colour(c.ink), colour(c.shadow),
        c.align.capitalize(), c.x, c.y, c.w, c.h, c.baseline, c.button or "0")
        for c in facts.captions(face)]
    return ("// clang-format off\ninline constexpr Caption %s[] = {\n%s\n};\n"
            "// clang-format on\n" % (name, "\n".join(rows)))


def lookup(signature, key, pairs, fallback="0"):
    cases = "".join("    case %s:\n      return %d;\n" % (k, v) for k, v in pairs)
    return ("constexpr int %s {\n  switch (%s) {\n%s    default:\n      return %s;\n"
            "  }\n}\n" % (signature, key, cases, fallback))


def table(signature, index, values):
    return "constexpr int %s {\n  constexpr int ids[] = {%s};\n  return ids[%s];\n}\n" % (
        signature, ", ".join(map(str, values)), index)


def facts_h():
    f, R = facts, facts.RESOURCES
    landscape = [(r, r.ids["landscape", 1]) for r in R]
    out = [MADE, "#pragma once\n\n// Control ids, as the window procedure receives them in"
           " WM_COMMAND.\nenum ControlId : int {\n"]
    out += ["  %s = %d,\n" % (name, id) for name, id in f.IDS.items()]
    out.append("};\n\n")
    out += ["constexpr int %s = %d;\n" % kv for kv in f.DATA["constants"].items()]
    out.append("constexpr int PLACES = %d;\n\n" % f.PLACES)
    # The window's face, and each other one by its name, such as
    # kPortraitControls and portraitPicture.
    others = [(face.name, face.name.capitalize(), face) for face in f.FACES[1:]]
    out.append(control_table("kControls", f.LANDSCAPE) + "\n")
    out += [control_table("k%sControls" % name, face) + "\n" for _, name, face in others]
    fit = f.DATA["captionFit"]
    out.append("// A caption too wide for its room is narrowed down to kCaptionNarrowest of\n"
               "// its width, then made smaller, down to kCaptionFloor pixels at 1x.\n"
               "constexpr double kCaptionFloor = %g;\nconstexpr double kCaptionNarrowest = %g;\n"
               % (fit["floor"], fit["narrowest"]))
    out.append("// The captions of each face, their texts by number in texts.h.\n")
    out.append(caption_table("kCaptions", f.LANDSCAPE) + "\n")
    out += [caption_table("k%sCaptions" % name, face) + "\n" for _, name, face in others]
    out.append("constexpr int WINDOW_W = %d;\nconstexpr int WINDOW_H = %d;\n"
               "constexpr Rect titleRect{%d, %d, %d, %d};\n"
               % (f.WINDOW_W, f.WINDOW_H, *f.TITLE))
    out += ["constexpr int %s_W = %d;\nconstexpr int %s_H = %d;\n"
            "constexpr Rect %sTitleRect{%d, %d, %d, %d};\n"
            % (key.upper(), face.w, key.upper(), face.h, key, *face.title)
            for key, _, face in others]
    out.append("\n")
    dx, dy = f.DATA["window"]["fromCentre"]
    out.append("// Top left corner on a screen of the given size, never clamped.\n"
               "constexpr int windowX(int screenW) { return screenW / 2 + (%d); }\n"
               "constexpr int windowY(int screenH) { return screenH / 2 + (%d); }\n\n"
               % (dx, dy))
    out.append("// Carried pictures and sounds and the version record, as resource"
               " numbers.\n")
    out += ["constexpr int %s = %d;\n" % (r.name, id) for r, id in landscape]
    out.append("constexpr int SOUNDS = %d;\nconstexpr int ARTWORK_SCALES = %d;\n\n"
               % (f.CONSTS["SOUNDS"], max(f.ARTWORK_SCALES)))
    skins = [(r.entry["skin"], id, r.entry["pressed"]) for r, id in landscape if "skin" in r.entry]
    out.append("// A skinned button's picture, up or pressed.\n")
    out.append(lookup("skinNormal(int buttonId)", "buttonId",
                      [(s, id) for s, id, pressed in skins if not pressed]))
    out.append(lookup("skinPressed(int buttonId)", "buttonId",
                      [(s, id) for s, id, pressed in skins if pressed]))
    by = {k: sorted((r.entry[k], id) for r, id in landscape if k in r.entry)
          for k in ("checkBox", "ball", "sound")}
    out.append("// The check box of a front end that draws its own, unticked or ticked,"
               " in\n// look 0 (normal), 1 (held) or 2 (disabled).\n")
    out.append(table("checkBoxPicture(bool ticked, int look)", "3 * ticked + look",
                     [id for _, id in by["checkBox"]]))
    out.append("// The game's own ball pictures, n = 0..7 of the colour or the sport set.\n")
    out.append(table("ballPicture(bool sport, int n)", "8 * sport + n",
                     [id for _, id in by["ball"]]))
    out.append("// Sound k: 1..SOUNDS the game's, SOUNDS + 1 the self-drawn front"
               " ends' beep.\n")
    out.append(table("soundResource(int k)", "k - 1", [id for _, id in by["sound"]]))
    for key, _, face in others:
        out.append("// A picture of the window's face in the %s face.\n" % key)
        out.append(lookup("%sPicture(int id)" % key, "id",
                          [(id, r.ids[key, 1]) for r, id in landscape if (key, 1) in r.ids]))
    out.append("// A captioned picture's twin without its words, for the languages whose\n"
               "// captions are drawn over it; any other picture itself.\n")
    out.append(lookup("bareOf(int id)", "id", [(facts.resource(r.entry["bareOf"]), id)
                                                  for r, id in landscape if "bareOf" in r.entry],
                      "id"))
    twins = [(r.ids[face, 1], number) for r in R for (face, scale), number in r.ids.items()
             if scale == 2]
    out.append("// A picture's twin at scale 2; at scale 1, itself.\n")
    out.append("constexpr int atScale(int id, int scale) {\n  if (scale == 1) return id;\n"
               "  switch (id) {\n%s    default:\n      return 0;\n  }\n}\n"
               % "".join("    case %d:\n      return %d;\n" % t for t in twins))
    return "".join(out)


def texts_h():
    keys, fixed = facts.TRANSLATED, [k for k in facts.TEXTS if k not in facts.TRANSLATED]
    return (MADE + "#pragma once\n\n// The texts a translation gives, by number.\n"
            "enum class Text : int {\n%s};\nconstexpr int TEXT_COUNT = %d;\n\n"
            "// In English, in that order.\ninline constexpr const char *kEnglish[] = {\n%s};\n\n"
            "// Each in the language in use: English until useTexts puts another in use.\n%s"
            "const char *text(Text t);\n// Whether no translation is in use.\nbool textsInEnglish();\n\n"
            "// Names and paths, the same in every language.\n%s"
            "constexpr const char *PROGRAM_VERSION = \"%s\";\n"
            % ("".join("  %s,\n" % k for k in keys), len(keys),
               "".join("    %s,\n" % c_string(facts.TEXTS[k]) for k in keys),
               "".join("extern const char *%s;\n" % k for k in keys),
               "".join("constexpr const char *%s = %s;\n" % (k, c_string(facts.TEXTS[k]))
                       for k in fixed), facts.VERSION))


def texts_cpp():
    keys = facts.TRANSLATED
    return (MADE + '#include "texts.h"\n\n#include "language.h"\n\n'
            "namespace {\nconst char *const *inUse;\n}  // namespace\n\n%s\n"
            "bool textsInEnglish() { return !inUse; }\n\n"
            "const char *text(Text t) {\n  const int i = int(t);\n"
            "  return inUse && inUse[i] ? inUse[i] : kEnglish[i];\n}\n\n"
            "void useTexts(const char *const *table) {\n  inUse = table;\n%s}\n"
            % ("".join("const char *%s = kEnglish[int(Text::%s)];\n" % (k, k) for k in keys),
               "".join("  %s = text(Text::%s);\n" % (k, k) for k in keys)))


def catalogue_cpp(texts=True):
    """Every shipped language's texts, for the programs that carry them all;
    without texts, only their codes, for the web page."""
    langs = catalogue.carried()
    out = [MADE, '#include "language.h"\n\n#include "texts.h"\n\nnamespace {\n\n']
    for lang in langs if texts else ():
        table = catalogue.translations(lang)
        out.append("// clang-format off\nconstexpr const char *%s[] = {\n%s};\n"
                   "// clang-format on\n\n" % (symbol(lang), "".join(
                       "    %s,\n" % c_string(table[k]) for k in facts.TRANSLATED)))
    out.append("}  // namespace\n\n// Ends with an empty entry, so that the list is never empty.\n"
               "const Language kLanguages[] = {\n%s    {nullptr, nullptr, nullptr, false, nullptr, nullptr},\n};\n"
               "const int kLanguageCount = %d;\n"
               % ("".join(language_row(lang, texts) for lang in langs), len(langs)))
    return "".join(out)


def symbol(lang):
    return "k_" + lang.replace("-", "_")


def language_row(lang, texts):
    about = catalogue.ABOUT[lang]
    font, face = about.get("fontconfig"), about.get("windowsFace")
    return '    {"%s", %s, "%s", %s, %s, %s},\n' % (
        lang, symbol(lang) if texts else "nullptr", about["script"],
        "true" if about.get("rtl") else "false", c_string(font) if font else "nullptr",
        c_string(face) if face else "nullptr")


def language_json(lang):
    """A language's texts for the web page, in the order of Text."""
    texts = catalogue.translations(lang)
    return json.dumps([texts[k] for k in facts.TRANSLATED], ensure_ascii=False) + "\n"


def carried_rc():
    types = {".bmp": "BITMAP", ".ico": "ICON", ".wav": "WAVE"}
    return MADE + "".join('%d %s "%s"\n' % (id, types[os.path.splitext(file)[1]], file)
                          for id, file in facts.carried("win32").items())


def embedded_cpp():
    """The Linux program's files, in the executable; the assembler reads them
    itself, so no copy of their bytes lands in a source or build folder."""
    blobs, decls, cases = [], [], []
    for n, (id, file) in enumerate(facts.carried("sdl").items()):
        sym = "quintara_resource_%d" % n
        path = os.path.join(RESOURCES, file)
        blobs.append('    ".balign 16\\n%s:\\n.incbin \\"%s\\"\\n%s_end:\\n"\n' % (sym, path, sym))
        decls.append('extern "C" const unsigned char %s[], %s_end[];\n' % (sym, sym))
        cases.append("    case %d:\n      return {%s, std::size_t(%s_end - %s)};\n"
                     % (id, sym, sym, sym))
    return (MADE + '#include "resources.h"\n\nasm(".pushsection .rodata\\n"\n%s'
            '    ".popsection");\n%s\nBlob resource(int id) {\n  switch (id) {\n%s'
            "    default:\n      return {nullptr, 0};\n  }\n}\n"
            % ("".join(blobs), "".join(decls), "".join(cases)))


def site_file(file):
    """The web page's name of a carried file: its bitmaps as WebP."""
    return file[:-len(".bmp")] + ".webp" if file.endswith(".bmp") else file


def files_inc():
    """The page's table holds the 1x names: it finds a twin under 2x/."""
    return MADE + "".join('{%d, "%s"},\n' % (id, site_file(file))
                          for id, file in facts.carried("web", scales=(1,)).items())


def carried_cmake():
    out = ["# Made by tools/generate.py from src/game/facts.json; do not edit.\n"]
    for program in facts.PROGRAMS:
        files = sorted(set(facts.carried(program).values()))
        out.append("set(CARRIED_%s\n%s)\n" % (program, "".join("  %s\n" % f for f in files)))
    out.append("# The shipped languages besides English, and the pseudo one.\n"
               "set(LANGUAGES %s)\nset(PSEUDO_LANGUAGE %s)\n"
               % (" ".join(catalogue.languages()), catalogue.PSEUDO))
    out.append("# The compiled help of English and of each shipped language.\nset(HELP_CHMS %s)\n"
               % " ".join(help_chms()))
    return "".join(out)


def font_pieces():
    """The characters the web page draws in DejaVu, by the piece of its fonts
    that carries them, each as a CSS unicode-range: the printable ASCII of
    the English texts and of the numbers ("ascii", which every page loads);
    the rest of ASCII the other languages DejaVu covers use ("basic"; the
    others have faces of their own); and beyond ASCII the letters of each
    script ("latin", "greek", "cyrillic": the first word of their Unicode
    names), and the spaces and punctuation of any ("signs")."""
    english = "".join(facts.TEXTS.values()) + " 0123456789:."
    pieces = {"ascii": {ord(ch) for ch in english if 0x20 <= ord(ch) <= 0x7E}}
    for lang in catalogue.languages():
        if "fontconfig" in catalogue.ABOUT[lang]:
            continue
        for ch in "".join(catalogue.translations(lang).values()):
            if ord(ch) <= 0x7E:
                piece = "ascii" if ord(ch) in pieces["ascii"] else "basic"
            elif unicodedata.category(ch)[0] in "LM":
                piece = unicodedata.name(ch, "").split(" ")[0].lower()
            else:
                piece = "signs"
            pieces.setdefault(piece, set()).add(ord(ch))
    ranges = {}
    for piece, points in sorted(pieces.items()):
        spans = []
        for point in sorted(points):
            if spans and spans[-1][1] == point - 1:
                spans[-1][1] = point
            else:
                spans.append([point, point])
        ranges[piece] = ",".join("U+%X" % a if a == b else "U+%X-%X" % (a, b) for a, b in spans)
    return ranges


def fonts_cmake():
    ranges = font_pieces()
    own = [lang for lang in catalogue.languages() if "webFont" in catalogue.ABOUT[lang]]
    return ("# Made by tools/generate.py from po/; do not edit.\nset(FONT_PIECES %s)\n%s"
            "# The languages with a face of their own, and where it is cut from.\n"
            "set(OWN_FACES %s)\n%s"
            % (" ".join(ranges),
               "".join('set(FONT_RANGE_%s "%s")\n' % kv for kv in ranges.items()),
               " ".join(own),
               "".join("set(OWN_FACE_%s %s %d)\n" % ((lang,) + tuple(catalogue.ABOUT[lang]["webFont"]))
                       for lang in own)))


def own_face_texts(lang):
    """What a language's own web face draws, by weight: the bold captions in
    Bold, every other text shown on the page but the numbers (the status
    line, the slanted captions, the help error box and the closing words)
    in Regular."""
    texts = dict(facts.TEXTS, **catalogue.translations(lang))
    captions = [c for face in facts.FACES for c in facts.captions(face)]
    bold = {c.text for c in captions if c.font != "italic"}
    regular = {k for k in texts if k.startswith("TEXT_")} | {
        c.text for c in captions if c.font == "italic"}
    return {weight: "".join(texts[k] for k in sorted(keys)).replace("%s", "").replace(
        "%d", "") for weight, keys in (("Regular", regular), ("Bold", bold))}


def site_help_page(name, lang):
    """A help page in a shipped language as the web site serves it: in UTF-8
    (which a host may declare whatever the page says) with plain line ends,
    its language and direction said, its pictures those of the English
    pages in the folder above."""
    text = help_pages.page(name, lang).decode(help_pages.code_page(lang)).replace("\r\n", "\n")
    if not name.endswith(".html"):
        return text
    text = text.replace("charset=" + help_pages.charset(lang), "charset=utf-8")
    said = 'lang="%s"%s' % (lang.replace("_", "-"),
                            ' dir="rtl"' if catalogue.ABOUT[lang].get("rtl") else "")
    text = re.sub(r"<html(?=[\s>])", "<html " + said, text, count=1)
    return text.replace('src="', 'src="../')


def help_chms():
    return [help_pages.chm_name(lang) for lang in help_pages.chm_languages()]


def installer_nsh():
    """The installer's pages in English (the first, which a player of any
    other language gets) and each shipped language, and its help files."""
    files = r"Contrib\Language files\%s.nlf"
    return ("; Made by tools/generate.py from po/LINGUAS and po/languages.json; do not edit.\n%s"
            "!macro INSTALL_HELP\n%s!macroend\n!macro REMOVE_HELP\n%s!macroend\n"
            % ("".join('LoadLanguageFile "${NSISDIR}\\%s"\n' % (files % name) for name in
                       ["English"] + [catalogue.ABOUT[lang]["nsis"]
                                      for lang in catalogue.languages()]),
               "".join('  File "${SOURCE}/resources/%s"\n' % chm for chm in help_chms()),
               "".join('  Delete "$INSTDIR\\%s"\n' % chm for chm in help_chms())))


def main(folder):
    os.makedirs(folder, exist_ok=True)
    made = [("facts.h", facts_h()), ("texts.h", texts_h()), ("texts.cpp", texts_cpp()),
            ("catalogue.cpp", catalogue_cpp()), ("codes.cpp", catalogue_cpp(False)),
            ("carried.rc", carried_rc()),
            ("embedded.cpp", embedded_cpp()), ("files.inc", files_inc()),
            ("carried.cmake", carried_cmake()), ("fonts.cmake", fonts_cmake()),
            ("installer.nsh", installer_nsh())]
    made.append(("lang/%s.json" % catalogue.PSEUDO, language_json(catalogue.PSEUDO)))
    for lang in catalogue.languages():
        made.append(("lang/%s.json" % lang, language_json(lang)))
        if "webFont" in catalogue.ABOUT[lang]:
            made += [("fonts/%s-%s.txt" % (lang, weight), text)
                     for weight, text in own_face_texts(lang).items()]
        made += [("site/help/%s/%s" % (lang, name), site_help_page(name, lang))
                 for name in help_pages.PAGES]
    for name, text in made:
        path = os.path.join(folder, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        if os.path.exists(path):
            with open(path, encoding="utf-8") as f:
                if f.read() == text:
                    continue
        with open(path, "w", encoding="utf-8") as f:
            f.write(text)
    help_pages.write(os.path.join(folder, "help"))
    for lang in catalogue.languages():
        help_pages.write(os.path.join(folder, "help", lang), lang=lang)


if __name__ == "__main__":
    main(sys.argv[1])
