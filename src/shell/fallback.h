// What both front ends draw on a place whose ball picture cannot be read:
// the empty cell and, for a colour, a plain disc of the ball's body colour
// (kBallBody) with its number, so that the board stays playable.
#pragma once

#include <iterator>
#include <string>

#include "ball_colors.h"

// The colour value an image path names: the digit before ".bmp", or 0.
inline int fallbackValue(const std::string &path) {
  const std::string suffix = ".bmp";
  if (path.size() <= suffix.size() ||
      path.compare(path.size() - suffix.size(), suffix.size(), suffix) != 0)
    return 0;
  const int value = path[path.size() - suffix.size() - 1] - '0';
  return value > 0 && value < static_cast<int>(std::size(kBallBody)) ? value
                                                                     : 0;
}

// Whether the number goes in black (on a light disc) rather than white.
inline bool fallbackInkIsBlack(int value) {
  const unsigned char *c = kBallBody[value];
  return 299 * c[0] + 587 * c[1] + 114 * c[2] > 128000;
}
