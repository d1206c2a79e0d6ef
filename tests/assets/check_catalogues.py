"""The translations, as gettext's own tools see them: each shipped
catalogue valid (msgfmt --check) and complete, with nothing fuzzy, and the
templates and catalogues current with the texts, the package's files and
the help pages they are made from (msgmerge would change nothing)."""
import os
import subprocess
import sys
import tempfile

from tools import catalogue


def main():
    failed = []
    templates = {catalogue.PO: ("quintara.pot", catalogue.game_pot()),
                 catalogue.HELP_PO: ("quintara-help.pot", catalogue.help_pot())}
    for folder, (name, made) in templates.items():
        with open(os.path.join(folder, name), encoding="utf-8") as f:
            if f.read() != made:
                failed.append("%s is stale: run python3 -m tools.catalogue" % name)
        for lang in catalogue.languages():
            # Merged with its template first: a message the catalogue lacks
            # then counts as untranslated.
            po = os.path.join(folder, lang + ".po")
            with tempfile.NamedTemporaryFile(suffix=".po") as merged:
                subprocess.run(["msgmerge", "--quiet", "--no-fuzzy-matching", "-o", merged.name,
                                po, os.path.join(folder, name)], check=True)
                stats = subprocess.run(["msgfmt", "--check", "--statistics", "-o", os.devnull,
                                        merged.name], stderr=subprocess.PIPE, text=True)
            print("%s: %s" % (os.path.relpath(po, catalogue.PO), stats.stderr.strip()))
            if stats.returncode or "untranslated" in stats.stderr or "fuzzy" in stats.stderr:
                failed.append("%s is not valid, complete and current" % po)
    for line in failed:
        print("FAILED:", line)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
