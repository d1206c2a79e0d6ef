#include "fonts.h"

#include <fontconfig/fontconfig.h>

#include "language.h"
#include "texts.h"

FaceFile matchFace(const std::string &name) {
  FaceFile face;
  FcPattern *pattern =
      FcNameParse(reinterpret_cast<const FcChar8 *>(name.c_str()));
  if (!pattern) return face;
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result;
  FcPattern *found = FcFontMatch(nullptr, pattern, &result);
  FcChar8 *path;
  if (found && FcPatternGetString(found, FC_FILE, 0, &path) == FcResultMatch) {
    face.path = reinterpret_cast<const char *>(path);
    FcPatternGetInteger(found, FC_INDEX, 0, &face.index);
  }
  if (found) FcPatternDestroy(found);
  FcPatternDestroy(pattern);
  return face;
}

namespace {

// Whether the face has every letter of every text in use: a face that
// lacks one would draw a box in its place.
bool covers(const FaceFile &face) {
  int count = 0;
  FcPattern *about =
      FcFreeTypeQuery(reinterpret_cast<const FcChar8 *>(face.path.c_str()),
                      face.index, nullptr, &count);
  FcCharSet *letters = nullptr;
  bool all = about && FcPatternGetCharSet(about, FC_CHARSET, 0, &letters) ==
                          FcResultMatch;
  for (int t = 0; all && t < TEXT_COUNT; ++t)
    for (const char *p = text(Text(t)); all && *p;) {
      FcChar32 letter;
      const int length =
          FcUtf8ToUcs4(reinterpret_cast<const FcChar8 *>(p), &letter, 6);
      if (length <= 0) break;
      all = letter < 0x80 || FcCharSetHasChar(letters, letter);
      p += length;
    }
  if (about) FcPatternDestroy(about);
  return all;
}

}  // namespace

bool findFaces(FaceFile (&faces)[int(FaceRole::Count)]) {
  const Language *about = languageAbout();
  if (!about || !about->fontLanguage) return true;
  const std::string lang =
      std::string("sans-serif:lang=") + about->fontLanguage;
  // Bold where the language's faces have it; neither slanted nor condensed
  // type is usual in these scripts.
  const FaceFile regular = matchFace(lang),
                 bold = matchFace(lang + ":weight=bold");
  faces[int(FaceRole::Regular)] = faces[int(FaceRole::Italic)] = regular;
  faces[int(FaceRole::Bold)] = faces[int(FaceRole::Condensed)] = bold;
  return !regular.path.empty() && !bold.path.empty() && covers(regular) &&
         covers(bold);
}
