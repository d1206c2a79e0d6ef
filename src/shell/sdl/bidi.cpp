#include "bidi.h"

#include <fribidi.h>

#include <algorithm>

std::vector<Run> visualRuns(const std::string &line, bool rtl) {
  std::vector<FriBidiChar> text(line.size() + 1);
  const FriBidiStrIndex n =
      fribidi_charset_to_unicode(FRIBIDI_CHAR_SET_UTF8, line.data(),
                                 FriBidiStrIndex(line.size()), text.data());
  std::vector<FriBidiCharType> types(std::size_t(n) + 1);
  std::vector<FriBidiBracketType> brackets(std::size_t(n) + 1);
  std::vector<FriBidiLevel> levels(std::size_t(n) + 1);
  fribidi_get_bidi_types(text.data(), n, types.data());
  fribidi_get_bracket_types(text.data(), n, types.data(), brackets.data());
  FriBidiParType base = rtl ? FRIBIDI_PAR_RTL : FRIBIDI_PAR_LTR;
  if (n == 0 || !fribidi_get_par_embedding_levels_ex(
                    types.data(), brackets.data(), n, &base, levels.data()))
    return {{line, rtl}};
  // Runs of one level, in logical order, then reversed as the levels ask:
  // from the highest down to the lowest odd one, every sequence at that
  // level or above.
  struct Level {
    FriBidiStrIndex from, to;
    FriBidiLevel level;
  };
  std::vector<Level> runs;
  for (FriBidiStrIndex i = 0; i < n; ++i)
    if (runs.empty() || runs.back().level != levels[i])
      runs.push_back({i, i + 1, levels[i]});
    else
      runs.back().to = i + 1;
  FriBidiLevel top = 0, lowestOdd = 255;
  for (const Level &r : runs) {
    top = std::max(top, r.level);
    if (r.level % 2) lowestOdd = std::min(lowestOdd, r.level);
  }
  for (int level = top; level >= lowestOdd && level > 0; --level)
    for (auto r = runs.begin(); r != runs.end();) {
      if (r->level < level) {
        ++r;
        continue;
      }
      auto end = std::find_if(r, runs.end(),
                              [&](const Level &l) { return l.level < level; });
      std::reverse(r, end);
      r = end;
    }
  std::vector<Run> out;
  for (const Level &r : runs) {
    std::string utf8(std::size_t(r.to - r.from) * 4 + 1, '\0');
    const FriBidiStrIndex bytes =
        fribidi_unicode_to_charset(FRIBIDI_CHAR_SET_UTF8, text.data() + r.from,
                                   r.to - r.from, utf8.data());
    utf8.resize(std::size_t(bytes));
    out.push_back({utf8, r.level % 2 == 1});
  }
  return out;
}
