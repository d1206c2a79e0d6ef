// The language the texts are shown in: chosen from the player's preferred
// languages among those the program has, then put in use for every text of
// texts.h.
#pragma once

#include <string>
#include <vector>

#include "layout.h"

// A shipped language: its catalogue's code ("de", "pt_BR"), its texts in
// the order of Text, its writing system (ISO 15924), whether it reads right
// to left, the language fontconfig finds its fonts by and the face Windows
// shows it in, or nullptr where the faces of English cover it.
struct Language {
  const char *code;
  const char *const *texts;
  const char *script;
  bool rightToLeft;
  const char *fontLanguage;
  const char *windowsFace;
};

// The languages a program carries compiled in (Windows and Linux); the web
// page fetches its one language's texts instead.
extern const Language kLanguages[];
extern const int kLanguageCount;

// Puts a table of TEXT_COUNT texts in the order of Text in use (a missing
// one stays English); nullptr puts English back.
void useTexts(const char *const *table);

// The index in codes (of n) that best suits the preferred languages, most
// wanted first, each as a locale or tag ("pt_PT.UTF-8", "es-MX", "de"), or
// -1 for English. A preference takes its exact catalogue, else the one of its
// language with no region, else any of its language ("pt-PT" takes "pt_BR");
// "en", "C" or "POSIX" stop the search in English.
int chooseLanguage(const std::vector<std::string> &preferred,
                   const char *const *codes, int n);
// The same over kLanguages, and that language (or English) put in use; the
// code of the one chosen, "en" for English.
std::string useLanguage(const std::vector<std::string> &preferred);
// The code of the language useLanguage put in use, "en" before; what the
// programs know of it, nullptr for English.
const std::string &languageInUse();
const Language *languageAbout();
// Whether the language in use reads right to left.
bool rightToLeft();

// A list of preferences as gettext reads one: "ru:uk:en" (LANGUAGE) or a
// single locale ("ru_RU.UTF-8").
std::vector<std::string> splitPreferences(const std::string &list);

// The preferences QUINTARA_LANG names (a list as LANGUAGE's), else none.
std::vector<std::string> overridePreferences();
// The preferences as gettext takes them from the environment: the locale of
// LC_ALL, else LC_MESSAGES, else LANG; "C" or "POSIX" is English and LANGUAGE
// then unread; otherwise LANGUAGE's list, if set, before the locale.
std::vector<std::string> gettextPreferences();

// A text of the catalogue with its conversions filled in: %d the number,
// %s the word, or %1$d and %2$s in an order of the translation's own.
std::string formatText(const char *format, int number, const std::string &word);

// What a control first shows: a static's start-up text in the language in
// use.
const char *startText(const Control &c);
