#include "state.h"

#include <string>

#include "layout.h"
#include "texts.h"

int colorset, sportset, gameRunning, roundNumber, scramble, roundWon, inPause,
    ticktock, gametock, mincount, size, cursor, cursorShown;
std::vector<int> board;
int avalue, bvalue, cvalue, dvalue, evalue, fvalue, gvalue, hvalue, ivalue,
    jvalue, kvalue, lvalue, mvalue, nvalue, ovalue, pvalue;
std::string iconpath;
std::string balla, ballb, ballc, balld, balle, ballf, ballg, ballh, balli,
    ballj, ballk, balll, ballm, balln, ballo, ballp;
std::string ConvertMe, getDrivePath, HelpFiler;

namespace {

int *const values[PLACES] = {
    &avalue, &bvalue, &cvalue, &dvalue, &evalue, &fvalue, &gvalue, &hvalue,
    &ivalue, &jvalue, &kvalue, &lvalue, &mvalue, &nvalue, &ovalue, &pvalue};
std::string *const paths[PLACES] = {
    &balla, &ballb, &ballc, &balld, &balle, &ballf, &ballg, &ballh,
    &balli, &ballj, &ballk, &balll, &ballm, &balln, &ballo, &ballp};

// The globals hold their start-up values before main runs.
const bool initialised = (initState(), true);

}  // namespace

int pathValue(const std::string &path) {
  const std::string suffix = ".bmp";
  if (path.size() <= suffix.size() ||
      path.compare(path.size() - suffix.size(), suffix.size(), suffix) != 0)
    return 0;
  const int value = path[path.size() - suffix.size() - 1] - '0';
  return value >= 1 && value <= 7 ? value : 0;
}

Place place(int k) { return {*values[k - 1], *paths[k - 1]}; }

int placeThreshold(int k) {
  static const int thresholds[] = {0, 1, 5, 10};
  return thresholds[(k - 1) / 4];
}

int placesInPlay(int r) {
  int n = 0;
  for (int k = 1; k <= PLACES; k += 4)
    if (r > placeThreshold(k)) n = k + 3;
  return n;
}

void setarray() {
  board[0] = 0;
  for (int k = 1; k <= PLACES; ++k) board[k] = 1;
}

void resetvals() {
  for (int k = 1; k <= PLACES; ++k) place(k).value = 0;
}

// std::to_string rather than a string stream: the streams would pull their
// whole locale machinery into every program.
void IntToString(int value) { ConvertMe = std::to_string(value); }

void setIdlePaths() {
  for (int k = 1; k <= PLACES; ++k)
    place(k).path = iconpath + (k > 4 ? "0" : k % 2 ? "1" : "2") + ".bmp";
}

void initState() {
  colorset = 2;
  sportset = gameRunning = roundNumber = scramble = roundWon = inPause = 0;
  ticktock = gametock = mincount = 0;
  size = PLACES;
  cursor = 1;
  cursorShown = 0;
  resetvals();
  iconpath = COLOR_ICONS;
  setIdlePaths();
  ConvertMe.clear();
  getDrivePath.clear();
  HelpFiler.clear();
  board.assign(size + 1, 0);
}

void setExecutablePath(const std::string &exePath) {
  const auto cut = exePath.find_last_of("\\/");
  getDrivePath = cut == std::string::npos ? "" : exePath.substr(0, cut + 1);
  HelpFiler = getDrivePath + HELP_FILE_NAME;
}
