#include "language.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

#include "texts.h"

namespace {

// "pt_BR.UTF-8@euro" and "pt-br" alike as {"pt", "BR"}.
struct Tag {
  std::string language, region;
};

Tag tagOf(const std::string &name) {
  Tag tag;
  std::string *part = &tag.language;
  for (const char ch : name) {
    if (ch == '.' || ch == '@') break;
    if (ch == '_' || ch == '-') {
      if (part == &tag.region) break;
      part = &tag.region;
      continue;
    }
    *part += part == &tag.region
                 ? char(std::toupper(static_cast<unsigned char>(ch)))
                 : char(std::tolower(static_cast<unsigned char>(ch)));
  }
  return tag;
}

}  // namespace

int chooseLanguage(const std::vector<std::string> &preferred,
                   const char *const *codes, int n) {
  for (const std::string &name : preferred) {
    const Tag want = tagOf(name);
    if (want.language.empty()) continue;
    if (want.language == "en" || want.language == "c" ||
        want.language == "posix")
      return -1;
    int sameLanguage = -1, plain = -1;
    for (int i = 0; i < n; ++i) {
      const Tag have = tagOf(codes[i]);
      if (have.language != want.language) continue;
      if (have.region == want.region) return i;
      if (have.region.empty()) plain = i;
      if (sameLanguage < 0) sameLanguage = i;
    }
    if (plain >= 0) return plain;
    if (sameLanguage >= 0) return sameLanguage;
  }
  return -1;
}

namespace {
std::string inUse = "en";
const Language *about = nullptr;
}  // namespace

std::string useLanguage(const std::vector<std::string> &preferred) {
  std::vector<const char *> codes;
  for (int i = 0; i < kLanguageCount; ++i) codes.push_back(kLanguages[i].code);
  const int i = chooseLanguage(preferred, codes.data(), kLanguageCount);
  useTexts(i < 0 ? nullptr : kLanguages[i].texts);
  about = i < 0 ? nullptr : &kLanguages[i];
  return inUse = i < 0 ? "en" : kLanguages[i].code;
}

const Language *languageAbout() { return about; }

bool rightToLeft() { return about && about->rightToLeft; }

const std::string &languageInUse() { return inUse; }

std::vector<std::string> splitPreferences(const std::string &list) {
  std::vector<std::string> out;
  std::string one;
  for (const char ch : list + ':') {
    if (ch != ':') {
      one += ch;
    } else if (!one.empty()) {
      out.push_back(one);
      one.clear();
    }
  }
  return out;
}

std::vector<std::string> overridePreferences() {
  const char *named = std::getenv("QUINTARA_LANG");
  return splitPreferences(named ? named : "");
}

std::vector<std::string> gettextPreferences() {
  const char *locale = nullptr;
  for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"})
    if ((locale = std::getenv(name)) && *locale) break;
  if (!locale || !*locale) return {};
  const std::string tag = tagOf(locale).language;
  if (tag == "c" || tag == "posix") return {"C"};
  const char *list = std::getenv("LANGUAGE");
  std::vector<std::string> out = splitPreferences(list ? list : "");
  out.push_back(locale);
  return out;
}

std::string formatText(const char *format, int number,
                       const std::string &word) {
  std::string out;
  for (const char *p = format; *p; ++p) {
    if (*p != '%') {
      out += *p;
      continue;
    }
    // %1$d and %2$s name their argument; a plain %d or %s has one of its
    // kind only.
    int which = 0;
    if ((p[1] == '1' || p[1] == '2') && p[2] == '$') {
      which = p[1] - '0';
      p += 2;
    }
    const char kind = *++p;
    if (!kind) break;
    if (kind == 'd' || kind == 's')
      out += (which ? which == 1 : kind == 'd') ? std::to_string(number) : word;
    else
      out += kind;  // "%%" and anything unknown: the character itself
  }
  return out;
}

const char *startText(const Control &c) {
  for (int i = 0; i < TEXT_COUNT; ++i)
    if (c.text && std::strcmp(c.text, kEnglish[i]) == 0) return text(Text(i));
  return c.text;
}
