#include "names.h"

#include "language.h"
#include "layout.h"
#include "state.h"
#include "texts.h"

namespace {

// The texts in use are named by the address of their name, which a change
// of language leaves in place.
constexpr const char *const *kColours[] = {
    &NAME_EMPTY,    &NAME_COLOUR_1, &NAME_COLOUR_2, &NAME_COLOUR_3,
    &NAME_COLOUR_4, &NAME_COLOUR_5, &NAME_COLOUR_6, &NAME_COLOUR_7};
constexpr const char *const *kSports[] = {
    &NAME_EMPTY,   &NAME_SPORT_1, &NAME_SPORT_2, &NAME_SPORT_3,
    &NAME_SPORT_4, &NAME_SPORT_5, &NAME_SPORT_6, &NAME_SPORT_7};

struct Named {
  int id;
  const char *const *name;
};
constexpr Named kNames[] = {
    {ID_CLOSE, &NAME_CLOSE},         {ID_MINIMISE, &NAME_MINIMISE},
    {ID_HELP, &NAME_HELP},           {ID_QUIT, &NAME_QUIT},
    {ID_CANCEL, &NAME_CANCEL},       {ID_COLORCOUNT, &NAME_COLORCOUNT},
    {ID_NEWGAME, &NAME_NEWGAME},     {ID_COUNTDOWN, &NAME_COUNTDOWN},
    {ID_ROUNDS, &NAME_ROUNDS},       {ID_GAMECLOCK, &NAME_GAMECLOCK},
    {ID_BALLCOUNT, &NAME_BALLCOUNT}, {ID_STATUS, &NAME_STATUS},
    {ID_SPORTS, &NAME_SPORTS},
};

}  // namespace

std::string controlName(int id) {
  if (const int k = placeOf(id)) {
    // What the place shows is what its image path names.
    const std::string &path = place(k).path;
    const bool sport = path.rfind(SPORT_ICONS, 0) == 0;
    return formatText(NAME_PLACE, k,
                      *(sport ? kSports : kColours)[pathValue(path)]);
  }
  for (const Named &n : kNames)
    if (n.id == id) return *n.name;
  return "";
}
