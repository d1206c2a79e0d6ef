// The font files a language is drawn in. English, and the languages whose
// letters DejaVu has, keep DejaVu's faces; another language takes the faces
// fontconfig prefers for it (Noto CJK, Noto Sans Arabic or Devanagari, or
// whatever the system has), as long as they have every letter of its texts.
#pragma once

#include <string>

// A face's file and its index in a collection (.ttc); an empty path keeps
// DejaVu's own.
struct FaceFile {
  std::string path;
  int index = 0;
};

// The face fontconfig matches to a pattern such as "DejaVu Sans:style=Bold"
// or "sans-serif:lang=ja:weight=bold"; an empty path when none.
FaceFile matchFace(const std::string &pattern);

// The faces' parts: the status line's regular type, the bold of the other
// statics and the captions, the condensed bold and the oblique.
enum class FaceRole { Regular, Bold, Condensed, Italic, Count };

// The faces of the language in use, by FaceRole; false when no installed
// face covers every letter of its texts, which then cannot be shown.
bool findFaces(FaceFile (&faces)[int(FaceRole::Count)]);
